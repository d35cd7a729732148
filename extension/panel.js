// The side panel: the input field with its history, the help text until the
// first lookup, and the results view. Lookups come from Enter in the field
// and from a rest of the mouse on a word of a page in this window.
import { Engine } from './engine.js';
import { ResultView } from './results_view.js';

const CANNOT_OPEN_MESSAGE = 'Nelze otevřít soubor se slovníkem.';

const query = document.getElementById('query');
const history = document.getElementById('history');
const help = document.getElementById('help');
const resultsBox = document.getElementById('results');
const error = document.getElementById('error');
const note = document.getElementById('note');
const view = new ResultView(resultsBox, { onLeave: () => query.focus() });

// The engine and the dictionary load once, when the panel opens.
const engineReady = (async () => {
  const [wasm, dictionary, czechIndexBytes] = await Promise.all(
    ['vordo.wasm', 'dic.bin', 'dic-cs.bin'].map(async (name) => (await fetch(name)).arrayBuffer()));
  return Engine.load(wasm, dictionary, { czechIndexBytes });
})();

// What the tests and the figures read: when the engine was ready, and the
// time of the last lookup shown.
const status = { readyAt: 0, lastShownAt: 0, lookups: 0 };
window.vordoPanel = { status, view, engineReady };
engineReady.then(() => { status.readyAt = performance.now(); }, () => {});

// What the field asked last, and whether a rest of the mouse asked it.
const lastLookup = { word: '', phrase: '', byRest: false };

// Shows results: one line per head (with a leading space, which marks it
// as a head) and one per translation.
function show(results, { setFocus }) {
  const lines = [];
  for (const result of results) lines.push(` ${result.head}`, ...result.translations);
  help.hidden = true;
  resultsBox.hidden = false;
  view.show(lines);
  if (setFocus) resultsBox.focus();
  status.lookups += 1;
  status.lastShownAt = performance.timeOrigin + performance.now();
}

// The engine, or null after showing why it could not be loaded.
async function engineOrNull() {
  try {
    return await engineReady;
  } catch (failure) {
    console.error(failure);
    error.textContent = CANNOT_OPEN_MESSAGE;
    error.hidden = false;
    return null;
  }
}

// Says what was shown when the query itself found nothing: the word looked
// up instead, or words spelt like it to choose from; the panel never stays
// blank without a word.
function showNote(asked, { results, base, czech = '', suggestions }) {
  note.replaceChildren();
  note.hidden = asked === '' || (results.length > 0 && base === '' && czech === '');
  if (note.hidden) return;
  if (czech !== '') {
    note.append(`Česky \u201E${czech}\u201C, anglicky:`);
  } else if (base !== '') {
    note.append(`\u201E${asked}\u201C ve slovníku není, zobrazeno je \u201E${base}\u201C.`);
  } else if (suggestions.length > 0) {
    note.append('Nenalezeno. Měli jste na mysli: ');
    suggestions.forEach((word, i) => {
      if (i > 0) note.append(', ');
      const button = document.createElement('button');
      button.type = 'button';
      button.className = 'suggestion';
      button.textContent = word;
      button.addEventListener('click', () => {
        query.value = word;
        translate(word, { setFocus: true });
      });
      note.append(button);
    });
    note.append('?');
  } else {
    note.append('Nenalezeno.');
  }
}

async function translate(text, { setFocus }) {
  const engine = await engineOrNull();
  if (!engine) return;
  Object.assign(lastLookup, { word: text, phrase: '', byRest: false });
  const answer = engine.answer(text);
  showNote(text.trim(), answer);
  show(answer.results, { setFocus });
}

// A rest of the mouse on code unit `at` of a page's text: the word there
// goes into the field and its results (its phrase's first) are shown. The
// focus stays where it is.
async function translateRest(text, at) {
  // What the reader is typing in the field is not replaced.
  if (document.hasFocus() && document.activeElement === query && query.value !== lastLookup.word) return;
  const engine = await engineOrNull();
  if (!engine) return;
  const answer = engine.lookupAt(text, at);
  const { word, phrase } = answer;
  if (word === '') return;
  // The mouse moved a few pixels on the same word: the list stays as it is.
  if (lastLookup.byRest && lastLookup.word === word && lastLookup.phrase === phrase) return;
  Object.assign(lastLookup, { word, phrase, byRest: true });
  query.value = word;
  showNote(word, answer);
  show(answer.results, { setFocus: false });
}

query.addEventListener('keydown', (event) => {
  if (event.key === 'Enter') {
    event.preventDefault();
    const option = document.createElement('option');
    option.value = query.value;
    // An empty query is no word to come back to.
    if (query.value.trim() !== '') history.append(option);
    translate(query.value, { setFocus: true });
  } else if (event.key === 'Escape' || event.key === 'Tab') {
    event.preventDefault();
    resultsBox.focus();
  }
});

// Hover lookups: the content scripts send the text around a resting mouse
// to every page of the extension; this panel takes those of its own window.
// A content script runs beside any page: what it sends is checked first.
const MAX_REST_TEXT = 1024;
const windowReady = chrome.windows.getCurrent();
chrome.runtime.onMessage.addListener((message, sender) => {
  if (message?.type !== 'hover' || !sender.tab) return;
  const { text, at } = message;
  if (typeof text !== 'string' || text.length > MAX_REST_TEXT || !Number.isInteger(at) || at < 0 ||
      at >= text.length) {
    return;
  }
  windowReady.then((current) => {
    if (sender.tab.windowId === current.id) translateRest(text, at);
  });
});

// The service worker counts this panel open by this connection; it is made
// again when the worker was stopped.
function announce(windowId) {
  const port = chrome.runtime.connect({ name: 'panel' });
  port.postMessage({ windowId });
  port.onDisconnect.addListener(() => announce(windowId));
}
windowReady.then((current) => announce(current.id));
