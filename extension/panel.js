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
const view = new ResultView(resultsBox, { onLeave: () => query.focus() });

// The engine and the dictionary load once, when the panel opens.
const engineReady = (async () => {
  const [wasm, dictionary] = await Promise.all(
    ['vordo.wasm', 'dic.bin'].map(async (name) => (await fetch(name)).arrayBuffer()));
  return Engine.load(wasm, dictionary);
})();

// What the tests and the figures read: when the engine was ready, and the
// time of the last lookup shown.
const status = { readyAt: 0, lastShownAt: 0, lookups: 0 };
window.vordoPanel = { status, view, engineReady };
engineReady.then(() => { status.readyAt = performance.now(); }, () => {});

// Looks the text up and shows the results: one line per head (with a
// leading space, which marks it as a head) and one per translation.
async function translate(text, { setFocus }) {
  let engine;
  try {
    engine = await engineReady;
  } catch (failure) {
    console.error(failure);
    error.textContent = CANNOT_OPEN_MESSAGE;
    error.hidden = false;
    return;
  }
  const lines = [];
  for (const result of engine.lookup(text)) lines.push(` ${result.head}`, ...result.translations);
  help.hidden = true;
  resultsBox.hidden = false;
  view.show(lines);
  if (setFocus) resultsBox.focus();
  status.lookups += 1;
  status.lastShownAt = performance.timeOrigin + performance.now();
}

query.addEventListener('keydown', (event) => {
  if (event.key === 'Enter') {
    event.preventDefault();
    const option = document.createElement('option');
    option.value = query.value;
    history.append(option);
    translate(query.value, { setFocus: true });
  } else if (event.key === 'Escape' || event.key === 'Tab') {
    event.preventDefault();
    resultsBox.focus();
  }
});

// Hover lookups: the content scripts send the word under a resting mouse to
// every page of the extension; this panel takes those of its own window. It
// shows the word and its translations and leaves the focus where it is.
const windowReady = chrome.windows.getCurrent();
chrome.runtime.onMessage.addListener((message, sender) => {
  if (message?.type !== 'hover' || typeof message.word !== 'string' || !sender.tab) return;
  windowReady.then((current) => {
    if (sender.tab.windowId !== current.id) return;
    query.value = message.word.slice(0, query.maxLength);
    translate(query.value, { setFocus: false });
  });
});

// The service worker tells the pages of this window whether a panel is open
// by this connection; it is made again when the worker was stopped.
function announce(windowId) {
  const port = chrome.runtime.connect({ name: 'panel' });
  port.postMessage({ windowId });
  port.onDisconnect.addListener(() => announce(windowId));
}
windowReady.then((current) => announce(current.id));
