// Times the WebAssembly engine in Node.js against the native tool on the
// same queries: opening the module and the dictionary, every word of a long
// English text looked up in turn (as running text repeats its words), the
// commonest word, and the module's memory afterwards.
// Usage: node wasm_lookup_bench.mjs VORDO_TOOL VORDO_WASM DIC_BIN [RUNS]
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { performance } from 'node:perf_hooks';
import { Engine } from '../../extension/engine.js';

const [tool, wasmPath, dictionaryPath, runsText = '5'] = process.argv.slice(2);
const runs = Number(runsText);
const wasm = readFileSync(wasmPath);
const dictionary = readFileSync(dictionaryPath);
const words = readFileSync('/usr/share/common-licenses/GPL-3', 'latin1').split(/\s+/).filter(Boolean);

const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];
const time = (work) => {
  const start = performance.now();
  work();
  return performance.now() - start;
};

const opens = [];
let engine;
for (let i = 0; i < runs; i++) {
  const start = performance.now();
  engine = await Engine.load(wasm, dictionary);
  opens.push(performance.now() - start);
}
const first = time(() => engine.lookup('look'));
const text = [];
for (let i = 0; i < runs; i++) text.push(time(() => { for (const word of words) engine.lookup(word); }));
const commonest = [];
for (let i = 0; i < runs; i++) commonest.push(time(() => engine.lookup('the')));

const input = `${words.join('\n')}\n`;
const native = [];
for (let i = 0; i < runs; i++) {
  native.push(time(() => execFileSync(tool, ['lookup', '--raw', '--dict', dictionaryPath], { input, maxBuffer: 1 << 30 })));
}

const perQuery = (ms) => `${(ms * 1000 / words.length).toFixed(1)} µs`;
console.log(`runs: ${runs}, medians`);
console.log(`open module and dictionary: ${median(opens).toFixed(1)} ms`);
console.log(`first lookup ("look"): ${first.toFixed(2)} ms`);
console.log(`${words.length} words of GPL-3: wasm ${median(text).toFixed(0)} ms (${perQuery(median(text))} a query), ` +
  `native batch process ${median(native).toFixed(0)} ms (${perQuery(median(native))})`);
console.log(`"the" (${engine.lookup('the').length} results): ${median(commonest).toFixed(1)} ms`);
console.log(`module memory: ${(engine.memoryBytes() / 1048576).toFixed(1)} MB`);
