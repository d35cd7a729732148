// The WebAssembly engine must answer exactly as the native one. Runs
// vordo.wasm in Node's WASI through the extension's own engine.js and
// compares its answers with `vordo lookup --raw` for a few thousand queries:
// every distinct word and word pair of a long English text, and queries that
// exercise the input's edges.
// Usage: node wasm_engine_check.mjs VORDO_TOOL VORDO_WASM DIC_BIN
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { WASI } from 'node:wasi';
import { Engine } from '../../extension/engine.js';

const [tool, wasmPath, dictionaryPath] = process.argv.slice(2);
const failures = [];
const check = (ok, what) => { if (!ok) failures.push(what); };

const wasm = readFileSync(wasmPath);
// The browser gives the module no WASI: it must import nothing.
check(WebAssembly.Module.imports(new WebAssembly.Module(wasm)).length === 0,
  'vordo.wasm has imports');

const wasi = new WASI({ version: 'preview1', returnOnExit: true });
const engine = await Engine.load(wasm, readFileSync(dictionaryPath), { wasi });

// Queries: the text's words and pairs as they stand (with punctuation and
// capitals), and edge cases.
const text = readFileSync('/usr/share/common-licenses/GPL-3', 'latin1');
const words = text.split(/\s+/).filter(Boolean);
const queries = new Set(words);
for (let i = 0; i + 1 < words.length && queries.size < 4000; i++) queries.add(`${words[i]} ${words[i + 1]}`);
for (const edge of ['', ' ', ':look', '  :hot dog (noun) ', '(look', 'LOOK', 'Look', 'hot  dog',
  'a'.repeat(300), `${'x '.repeat(127)}look up`, 'příliš žluťoučký kůň', 'naïve café',
  'Привет', 'emoji 😀 look', '\t look\t', 'the']) {
  queries.add(edge);
}
const list = [...queries];

// Queries that Windows-1250 can write go to both as its bytes; the others
// are compared through the UTF-16 path below.
const windows1250 = new TextDecoder('windows-1250');
const byteOf = new Map();
for (let byte = 1; byte < 256; byte++) byteOf.set(windows1250.decode(Uint8Array.of(byte)), byte);
byteOf.delete('\n');
const encoder = (query) => Buffer.from([...query].map((c) => byteOf.get(c)));
const narrowQueries = list.filter((q) => [...q].every((c) => byteOf.has(c)));

// The native answers, one batch: "#\tQUERY" then the result lines.
const input = Buffer.concat(narrowQueries.map((q) => Buffer.concat([encoder(q), Buffer.from('\n')])));
const output = execFileSync(tool, ['lookup', '--raw', '--dict', dictionaryPath], {
  input, maxBuffer: 1 << 30,
});
const native = new Map();
let current = null;
let lines = [];
for (const line of output.toString('latin1').split('\n')) {
  if (line.startsWith('#\t')) {
    if (current !== null) native.set(current, lines.join(''));
    current = line.slice(2);
    lines = [];
  } else if (line !== '') {
    lines.push(`${line}\n`);
  }
}
if (current !== null) native.set(current, lines.join(''));

// Byte for byte through the Windows-1250 export, and through engine.js's
// UTF-16 path as the panel calls it.
const { vordo_alloc, vordo_free, vordo_lookup, vordo_answer, memory } = engine.exports;
let compared = 0;
for (const query of narrowQueries) {
  const bytes = encoder(query);
  const expected = native.get(bytes.subarray(0, 255).toString('latin1'));
  if (expected === undefined) { failures.push(`no native answer for ${JSON.stringify(query)}`); continue; }
  const address = vordo_alloc(Math.max(bytes.length, 1));
  new Uint8Array(memory.buffer, address, bytes.length).set(bytes);
  const length = vordo_lookup(0, address, bytes.length);
  vordo_free(address);
  const answer = Buffer.from(new Uint8Array(memory.buffer, vordo_answer(), length)).toString('latin1');
  check(answer === expected, `Windows-1250 answer differs for ${JSON.stringify(query)}`);
  check(engine.lookupText(query) === windows1250.decode(Buffer.from(expected, 'latin1')),
    `UTF-16 answer differs for ${JSON.stringify(query)}`);
  compared++;
}

// Text beyond ASCII: the native tool takes it as UTF-8, the panel as UTF-16.
for (const query of list.filter((q) => !narrowQueries.includes(q))) {
  const expected = execFileSync(tool, ['lookup', '--raw', '--dict', dictionaryPath, '--', query]);
  check(engine.lookupText(query) === windows1250.decode(expected),
    `UTF-16 answer differs for ${JSON.stringify(query)}`);
  compared++;
}
check(engine.lookup('look').length > 0, 'nothing found for "look"');

// A damaged dictionary is refused with a reason, and a module that has no
// dictionary finds nothing.
const good = readFileSync(dictionaryPath);
const damaged = [good.subarray(0, 0), good.subarray(0, 16), good.subarray(0, good.length >> 1),
  Buffer.from(good).fill(0xFF, 0, 64), Buffer.alloc(4096, 0x5A)];
for (const [i, bytes] of damaged.entries()) {
  const refused = await Engine.load(wasm, bytes).then(() => null, (error) => error.message);
  check(refused !== null && refused.length > 0, `damaged dictionary ${i} is opened`);
}
const { instance } = await WebAssembly.instantiate(wasm, {});
instance.exports._initialize();
check(new Engine(instance.exports).lookup('look').length === 0, 'a lookup without a dictionary finds something');

console.log(`wasm engine: ${compared} queries compared with the native engine, ${failures.length} differences`);
for (const failure of failures.slice(0, 20)) console.log(`  ${failure}`);
process.exit(failures.length === 0 ? 0 : 1);
