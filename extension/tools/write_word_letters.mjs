// Writes word_letters.js, the content script's list of the characters that
// make up words, from the engine's own table in vordo.wasm.
// Usage: node write_word_letters.mjs VORDO_WASM OUTPUT
import { readFileSync, writeFileSync } from 'node:fs';

const [wasmPath, outputPath] = process.argv.slice(2);
const { instance } = await WebAssembly.instantiate(readFileSync(wasmPath), {});
instance.exports._initialize();
const table = new Uint16Array(instance.exports.memory.buffer, instance.exports.vordo_word_letters(), 256);
const letters = String.fromCharCode(...table.filter((unit) => unit !== 0));
writeFileSync(outputPath,
  '// Written by the build from the engine\'s table: the characters of words.\n' +
  `const vordoWordLetters = new Set(${JSON.stringify(letters)});\n`);
