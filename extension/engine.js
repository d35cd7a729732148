// The dictionary engine, compiled to WebAssembly (vordo.wasm), for the side
// panel and for the tests that run it in Node.js.

const UTF16 = 2;

export class Engine {
  // Instantiates the module from its bytes and opens the dictionary from
  // its bytes. The module needs no imports; a host that runs it under WASI
  // (Node's `wasi`) passes that object, which then initialises it.
  static async load(wasmBytes, dictionaryBytes, { wasi } = {}) {
    const imports = wasi ? { wasi_snapshot_preview1: wasi.wasiImport } : {};
    const { instance } = await WebAssembly.instantiate(wasmBytes, imports);
    if (wasi) wasi.initialize(instance);
    else instance.exports._initialize();
    const engine = new Engine(instance.exports);
    engine.open(new Uint8Array(dictionaryBytes));
    return engine;
  }

  constructor(exports) {
    this.exports = exports;
  }

  // Copies the dictionary into the module's memory, where it stays.
  open(bytes) {
    const { vordo_alloc, vordo_open, vordo_open_error } = this.exports;
    const address = vordo_alloc(bytes.length);
    if (address === 0) throw new Error('no memory for the dictionary');
    new Uint8Array(this.exports.memory.buffer, address, bytes.length).set(bytes);
    if (vordo_open(address, bytes.length) !== 1) {
      const reason = new Uint8Array(this.exports.memory.buffer, vordo_open_error());
      throw new Error(new TextDecoder().decode(reason.subarray(0, reason.indexOf(0))));
    }
  }

  // The answer to a query as the engine writes it: a line per result, the
  // score, the head and the translations separated by TABs.
  lookupText(query) {
    const { vordo_alloc, vordo_free, vordo_lookup, vordo_answer, memory } = this.exports;
    const address = vordo_alloc(Math.max(query.length, 1) * 2);
    if (address === 0) return '';
    const units = new Uint16Array(memory.buffer, address, query.length);
    for (let i = 0; i < query.length; i++) units[i] = query.charCodeAt(i);
    const length = vordo_lookup(UTF16, address, query.length);
    vordo_free(address);
    // The lookup may have grown the memory: views are taken afresh.
    const answer = new Uint16Array(memory.buffer, vordo_answer(), length);
    return new TextDecoder('utf-16le').decode(answer);
  }

  // The results of a query, best first: { score, head, translations }.
  lookup(query) {
    return parseAnswer(this.lookupText(query));
  }

  // Bytes of the module's memory (the dictionary, its inflated blocks, and
  // the answers).
  memoryBytes() {
    return this.exports.memory.buffer.byteLength;
  }
}

export function parseAnswer(text) {
  const results = [];
  for (const line of text.split('\n')) {
    if (line === '') continue;
    const [score, head = '', ...translations] = line.split('\t');
    results.push({ score: Number(score), head, translations });
  }
  return results;
}
