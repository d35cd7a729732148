// The WebAssembly engine must answer exactly as the native one. Runs
// vordo.wasm in Node's WASI through the extension's own engine.js and
// compares its answers with `vordo lookup --raw` for a few thousand queries:
// every distinct word and word pair of a long English text, and queries that
// exercise the input's edges.
// Usage: node wasm_engine_check.mjs VORDO_TOOL VORDO_WASM DIC_BIN
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { WASI } from 'node:wasi';
import { Engine, parseQueryAnswer } from '../../extension/engine.js';

const [tool, wasmPath, dictionaryPath] = process.argv.slice(2);
const failures = [];
const check = (ok, what) => { if (!ok) failures.push(what); };

const wasm = readFileSync(wasmPath);
// The browser gives the module no WASI: it must import nothing.
check(WebAssembly.Module.imports(new WebAssembly.Module(wasm)).length === 0,
  'vordo.wasm has imports');

const wasi = new WASI({ version: 'preview1', returnOnExit: true });
const czechIndexBytes = readFileSync(dictionaryPath.replace(/\.bin$/, '-cs.bin'));
const engine = await Engine.load(wasm, readFileSync(dictionaryPath), { wasi, czechIndexBytes });

// Queries: the text's words and pairs as they stand (with punctuation and
// capitals), and edge cases.
const text = readFileSync('/usr/share/common-licenses/GPL-3', 'latin1');
const words = text.split(/\s+/).filter(Boolean);
const queries = new Set(words);
for (let i = 0; i + 1 < words.length && queries.size < 4000; i++) queries.add(`${words[i]} ${words[i + 1]}`);
for (const edge of ['', ' ', ':look', '  :hot dog (noun) ', '(look', 'LOOK', 'Look', 'hot  dog',
  'a'.repeat(300), `${'x '.repeat(127)}look up`, 'příliš žluťoučký kůň', 'naïve café',
  'Привет', 'emoji 😀 look', '\t look\t', 'the', 'pes', 'prilis', 'kůň', 'hezký pes']) {
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

// The native answers, one batch: "#\tQUERY" then the answer's lines, a line
// on what was shown instead of nothing ("~" or "?") among them.
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

// A lookup's own results: none when the answer starts with a note, as the
// note says that the query itself found nothing.
const resultLines = (answer) =>
  (answer.startsWith('~\t') || answer.startsWith('=\t') || answer.startsWith('?') ? '' : answer);

// Byte for byte through the Windows-1250 export, and through engine.js's
// UTF-16 paths as the panel calls them: the lookup, and the answer with its
// note.
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
  check(answer === resultLines(expected), `Windows-1250 answer differs for ${JSON.stringify(query)}`);
  check(engine.lookupText(query) === windows1250.decode(Buffer.from(resultLines(expected), 'latin1')),
    `UTF-16 lookup differs for ${JSON.stringify(query)}`);
  check(engine.answerText(query) === windows1250.decode(Buffer.from(expected, 'latin1')),
    `UTF-16 answer differs for ${JSON.stringify(query)}`);
  compared++;
}

// Text beyond ASCII: the native tool takes it as UTF-8, the panel as UTF-16.
for (const query of list.filter((q) => !narrowQueries.includes(q))) {
  const expected = execFileSync(tool, ['lookup', '--raw', '--dict', dictionaryPath, '--', query]);
  check(engine.lookupText(query) === resultLines(windows1250.decode(expected)),
    `UTF-16 answer differs for ${JSON.stringify(query)}`);
  compared++;
}
check(engine.lookup('look').length > 0, 'nothing found for "look"');

// Rests of the mouse: every word start of the text's first paragraphs, as
// `vordo lookup --raw --at` reads them (the text is ASCII: a character is a
// code unit and a byte).
const paragraphs = text.split(/\n\s*\n/).slice(0, 12).map((p) => p.replace(/\s+/g, ' ').trim());
let rests = 0;
for (const paragraph of paragraphs) {
  for (const match of paragraph.matchAll(/[A-Za-z]+/g)) {
    const at = match.index + (match[0].length >> 1);
    const native = windows1250.decode(execFileSync(tool,
      ['lookup', '--raw', '--dict', dictionaryPath, '--at', String(at), '--', paragraph]));
    const firstLine = native.indexOf('\n');
    const [, word = '', phrase = ''] = native.slice(0, firstLine).split('\t');
    const rest = engine.lookupAt(paragraph, at);
    const answer = parseQueryAnswer(native.slice(firstLine + 1));
    check(rest.word === word && rest.phrase === phrase &&
      JSON.stringify([rest.results, rest.base, rest.suggestions]) ===
        JSON.stringify([answer.results, answer.base, answer.suggestions]),
      `rest differs at ${at} of ${JSON.stringify(paragraph.slice(0, 40))}`);
    rests++;
  }
}
// Beyond Windows-1250: the word is folded and the rest counts code units.
const naive = engine.lookupAt('a na\u00EFve \u{1D41F}\u{1D422}\u{1D427}\u{1D41D} look', 4);
check(naive.word === 'naive' && naive.results.length > 0, 'a rest on "naïve" finds no "naive"');
check(engine.lookupAt('a na\u00EFve \u{1D41F}\u{1D422}\u{1D427}\u{1D41D} look', 12).word === 'find',
  'a rest on mathematical letters finds no "find"');
for (const [restText, at] of [['', 0], ['dog', 3], ['dog', -1], ['dog', 2 ** 31], ['3\u00D74', 1]]) {
  check(engine.lookupAt(restText, at).word === '', `a rest at ${at} of "${restText}" finds a word`);
}

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

console.log(`wasm engine: ${compared} queries and ${rests} rests compared with the native engine, ${failures.length} differences`);
for (const failure of failures.slice(0, 20)) console.log(`  ${failure}`);
process.exit(failures.length === 0 ? 0 : 1);
