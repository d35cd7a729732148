// The dictionary engine, compiled to WebAssembly (vordo.wasm), for the side
// panel and for the tests that run it in Node.js.

const UTF16 = 2;

export class Engine {
  // Instantiates the module from its bytes and opens the dictionary from
  // its bytes. The module needs no imports; a host that runs it under WASI
  // (Node's `wasi`) passes that object, which then initialises it.
  // The Czech index (dic-cs.bin), when given, lets Czech queries find
  // their English heads.
  static async load(wasmBytes, dictionaryBytes, { wasi, czechIndexBytes } = {}) {
    const imports = wasi ? { wasi_snapshot_preview1: wasi.wasiImport } : {};
    const { instance } = await WebAssembly.instantiate(wasmBytes, imports);
    if (wasi) wasi.initialize(instance);
    else instance.exports._initialize();
    const engine = new Engine(instance.exports);
    engine.open(new Uint8Array(dictionaryBytes));
    if (czechIndexBytes) engine.openCzech(new Uint8Array(czechIndexBytes));
    return engine;
  }

  // Copies `bytes` into the module's memory, where they stay; the address.
  place(bytes) {
    const address = this.exports.vordo_alloc(bytes.length);
    if (address === 0) throw new Error('no memory for a file of the dictionary');
    new Uint8Array(this.exports.memory.buffer, address, bytes.length).set(bytes);
    return address;
  }

  openCzech(bytes) {
    if (this.exports.vordo_open_czech(this.place(bytes), bytes.length) !== 1) {
      throw new Error('the Czech index cannot be read');
    }
  }

  constructor(exports) {
    this.exports = exports;
  }

  // Copies the dictionary into the module's memory, where it stays.
  open(bytes) {
    const { vordo_open, vordo_open_error } = this.exports;
    const address = this.place(bytes);
    if (vordo_open(address, bytes.length) !== 1) {
      const reason = new Uint8Array(this.exports.memory.buffer, vordo_open_error());
      throw new Error(new TextDecoder().decode(reason.subarray(0, reason.indexOf(0))));
    }
  }

  // Copies `text` into the module's memory as UTF-16, calls `look` with its
  // address and length, and returns the answer that the call left.
  answerFor(text, look) {
    const { vordo_alloc, vordo_free, vordo_answer, memory } = this.exports;
    const address = vordo_alloc(Math.max(text.length, 1) * 2);
    if (address === 0) return '';
    const units = new Uint16Array(memory.buffer, address, text.length);
    for (let i = 0; i < text.length; i++) units[i] = text.charCodeAt(i);
    const length = look(address, text.length);
    vordo_free(address);
    // The lookup may have grown the memory: views are taken afresh.
    const answer = new Uint16Array(memory.buffer, vordo_answer(), length);
    return new TextDecoder('utf-16le').decode(answer);
  }

  // The answer to a query as the engine writes it: a line per result, the
  // score, the head and the translations separated by TABs.
  lookupText(query) {
    return this.answerFor(query, (address, length) => this.exports.vordo_lookup(UTF16, address, length));
  }

  // The results of a query, best first: { score, head, translations }.
  lookup(query) {
    return parseAnswer(this.lookupText(query));
  }

  // What the panel shows for a typed query: { results, base, czech,
  // suggestions }. When the query itself finds nothing, `base` is what was
  // looked up instead (a word it is derived from), or `czech` the query
  // read as Czech (the results' heads are then its Czech translations,
  // their translations the English heads), or `suggestions` are head words
  // spelt like it; otherwise they are '', '' and [].
  answer(query) {
    return parseQueryAnswer(this.answerText(query));
  }

  // The same as the engine writes it, as `vordo lookup --raw` prints it.
  answerText(query) {
    return this.answerFor(query, (address, length) => this.exports.vordo_answer_query(UTF16, address, length));
  }

  // A rest of the mouse on code unit `at` of a page's text: the word looked
  // up ('' when there is none), the phrase around it whose entries come
  // first ('' when none), where the word under the mouse stands in the text
  // (code units [begin, end)), and its answer as answer() gives it.
  lookupAt(text, at) {
    const answer = this.answerFor(text, (address, length) => this.exports.vordo_lookup_at(address, length, at));
    const firstLine = answer.indexOf('\n');
    const [word = '', phrase = '', begin = '0', end = '0'] = answer.slice(0, Math.max(firstLine, 0)).split('\t');
    return { word, phrase, begin: Number(begin), end: Number(end), ...parseQueryAnswer(answer.slice(firstLine + 1)) };
  }

  // Up to `limit` dictionary heads that start with `prefix`, for the field
  // to offer while the reader types.
  complete(prefix, limit) {
    const text = this.answerFor(prefix, (address, length) => this.exports.vordo_complete(UTF16, address, length, limit));
    return text.split('\n').filter(Boolean);
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

// An answer with its first line on what was done instead: "~" and the word
// looked up, "=" and the query read as Czech, or "?" and the words spelt
// like the query, TAB-separated.
export function parseQueryAnswer(text) {
  const firstLine = text.slice(0, text.indexOf('\n') + 1 || text.length);
  let base = '';
  let czech = '';
  let suggestions = [];
  let rest = text;
  if (firstLine.startsWith('~\t')) {
    base = firstLine.slice(2).trimEnd();
    rest = text.slice(firstLine.length);
  } else if (firstLine.startsWith('=\t')) {
    czech = firstLine.slice(2).trimEnd();
    rest = text.slice(firstLine.length);
  } else if (firstLine.startsWith('?')) {
    suggestions = firstLine.trimEnd().split('\t').slice(1);
    rest = text.slice(firstLine.length);
  }
  return { results: parseAnswer(rest), base, czech, suggestions };
}
