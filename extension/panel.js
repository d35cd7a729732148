// The side panel: the field (results follow the typing, completions under
// it), back and forward through the words looked up, the results view, the
// saved words, and the hover switch for the current site. Lookups come from
// the field and from a rest of the mouse on a word of a page in this window.
import { Engine } from './engine.js';
import { ResultView, arrange, entryText } from './results_view.js';
import { forgetAll, forgetWord, saveWord, savedWords, sentenceAround, toAnki, toCsv } from './saved_words.js';

const CANNOT_OPEN_MESSAGE = 'Nelze otevřít soubor se slovníkem.';
const TYPING_PAUSE_MS = 150;
const COMPLETIONS = 8;
const TOAST_MS = 1800;

const $ = (id) => document.getElementById(id);
const query = $('query');
const help = $('help');
const resultsBox = $('results');
const savedPane = $('saved');
const completions = $('completions');
const note = $('note');

// The engine and the dictionary load once, when the panel opens; the field
// is usable before, and what is typed meanwhile is answered when they are.
const engineReady = (async () => {
  const [wasm, dictionary, czechIndexBytes] = await Promise.all(
    ['vordo.wasm', 'dic.bin', 'dic-cs.bin'].map(async (name) => (await fetch(name)).arrayBuffer()));
  return Engine.load(wasm, dictionary, { czechIndexBytes });
})();

// What the tests and the figures read: when the engine was ready, the last
// lookup shown, and how long its first paint took.
const status = { readyAt: 0, lastShownAt: 0, lookups: 0, firstPaintMs: 0 };
// What is shown: the word, and the results in the engine's order.
const shown = { word: '', results: [] };
engineReady.then(() => { status.readyAt = performance.now(); }, () => {});

// What the field asked last, and, for a rest of the mouse, where.
const lastLookup = { word: '', phrase: '', byRest: false, typed: false, sentence: '', address: '' };
let savedHeads = new Set();

function toast(text) {
  $('toast').textContent = text;
  clearTimeout(toast.timer);
  toast.timer = setTimeout(() => { $('toast').textContent = ''; }, TOAST_MS);
}

// --- The words looked up, to go back and forward through. A run of typed
// lookups is one entry: the word the typing stopped at.
const history = {
  words: [],
  at: -1,
  typing: false,
  // `how`: 'typed' (the typing goes on), 'entered' (the field's text or a
  // completion taken: the run of typing ends there), or 'final'.
  record(word, how) {
    if (word === '') return;
    if (this.typing && how !== 'final' && this.at === this.words.length - 1) {
      this.words[this.at] = word;
    } else if (this.words[this.at] !== word) {
      this.words.splice(this.at + 1);
      this.words.push(word);
      this.at = this.words.length - 1;
    }
    this.typing = how === 'typed';
    this.paint();
  },
  step(direction) {
    const to = this.at + direction;
    if (to < 0 || to >= this.words.length) return null;
    this.at = to;
    this.typing = false;
    this.paint();
    return this.words[to];
  },
  paint() {
    $('back').disabled = this.at <= 0;
    $('forward').disabled = this.at >= this.words.length - 1;
  },
};

// --- Showing results.
const view = new ResultView(resultsBox, {
  onLeave: () => query.focus(),
  onFollow: (word) => lookUp(word, { record: 'final', focusResults: true }),
  onCopy: copyEntry,
  onStar: toggleSaved,
  onSpeak: speak,
  isSaved: (head) => savedHeads.has(head),
});
window.vordoPanel = { status, view, engineReady, shown, history };

function showResults(answer, { word, phrase = '', setFocus }) {
  const startedAt = performance.now();
  showNote(word, answer);
  Object.assign(shown, { word, results: answer.results });
  help.hidden = true;
  showPane('results');
  view.show(arrange(answer.results, { word: answer.base || word, phrase, flat: answer.czech !== '' }));
  if (setFocus) view.focus();
  status.lookups += 1;
  status.lastShownAt = performance.timeOrigin + performance.now();
  // The frame after the next animation frame is on the screen.
  requestAnimationFrame(() => setTimeout(() => { status.firstPaintMs = performance.now() - startedAt; }));
}

// The engine, or null after showing why it could not be loaded.
async function engineOrNull() {
  try {
    return await engineReady;
  } catch (failure) {
    console.error(failure);
    $('error').textContent = CANNOT_OPEN_MESSAGE;
    $('error').hidden = false;
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
      button.addEventListener('click', () => lookUp(word, { record: 'final', focusResults: true }));
      note.append(button);
    });
    note.append('?');
  } else {
    note.append('Nenalezeno.');
  }
}

// Looks `text` up and shows it in the field and the results. `record` says
// how the history takes it (as history.record does), or null (back and
// forward). Only the latest of lookups that wait for the engine
// is shown.
let lookupSequence = 0;
async function lookUp(text, { record, focusResults = false }) {
  const sequence = ++lookupSequence;
  const engine = await engineOrNull();
  if (!engine || sequence !== lookupSequence) return;
  if (record !== 'typed') {
    query.value = text;
    hideCompletions();
  }
  Object.assign(lastLookup, { word: text, phrase: '', byRest: false, typed: record === 'typed', sentence: '',
    address: '' });
  const word = text.trim();
  if (record && word !== '') history.record(word, record);
  showResults(engine.answer(text), { word, setFocus: focusResults });
}

// A rest of the mouse on code unit `at` of a page's text: the word there
// goes into the field and its results (its phrase's first) are shown. The
// focus stays where it is. Where the word stands in the text, when shown.
async function lookUpRest(text, at, address) {
  // What the reader is typing in the field is not replaced.
  if (document.hasFocus() && document.activeElement === query &&
      (query.value !== lastLookup.word || lastLookup.typed)) {
    return null;
  }
  const engine = await engineOrNull();
  if (!engine) return null;
  const answer = engine.lookupAt(text, at);
  const { word, phrase, begin, end } = answer;
  if (word === '') return null;
  const place = { begin, end };
  // The mouse moved a few pixels on the same word: the list stays as it is.
  if (lastLookup.byRest && lastLookup.word === word && lastLookup.phrase === phrase) return place;
  lookupSequence++;
  Object.assign(lastLookup, { word, phrase, byRest: true, typed: false, sentence: sentenceAround(text, at),
    address });
  query.value = word;
  hideCompletions();
  history.record(word, 'final');
  showResults(answer, { word, phrase, setFocus: false });
  return place;
}

// --- The field: results follow the typing, completions under it.
let typingTimer = 0;
let activeCompletion = -1;

function hideCompletions() {
  clearTimeout(typingTimer);
  showCompletions([]);
}

function showCompletions(words) {
  activeCompletion = -1;
  query.removeAttribute('aria-activedescendant');
  completions.replaceChildren(...words.map((word, i) => {
    const option = document.createElement('div');
    option.className = 'completion';
    option.id = `completion-${i}`;
    option.setAttribute('role', 'option');
    option.setAttribute('aria-selected', 'false');
    option.textContent = word;
    return option;
  }));
  completions.hidden = words.length === 0;
  query.setAttribute('aria-expanded', String(!completions.hidden));
}

function markCompletion(index) {
  const options = [...completions.children];
  if (options.length === 0) return;
  activeCompletion = (index + options.length) % options.length;
  options.forEach((option, i) => option.setAttribute('aria-selected', String(i === activeCompletion)));
  query.setAttribute('aria-activedescendant', options[activeCompletion].id);
}

async function onTypingPause() {
  const text = query.value;
  if (text.trim() === '') {
    showCompletions([]);
    return;
  }
  lookUp(text, { record: 'typed' });
  const engine = await engineOrNull();
  if (!engine || query.value !== text) return;
  const words = engine.complete(text, COMPLETIONS);
  const typed = text.trim().toLowerCase();
  showCompletions(words.length === 1 && words[0].toLowerCase() === typed ? [] : words);
}

query.addEventListener('input', () => {
  clearTimeout(typingTimer);
  typingTimer = setTimeout(onTypingPause, TYPING_PAUSE_MS);
});

query.addEventListener('keydown', (event) => {
  if (event.altKey || event.ctrlKey || event.metaKey) return;
  const open = !completions.hidden;
  switch (event.key) {
    case 'Enter': {
      const chosen = open && activeCompletion >= 0 ? completions.children[activeCompletion].textContent
        : query.value;
      lookUp(chosen, { record: 'entered', focusResults: chosen.trim() !== '' });
      break;
    }
    case 'ArrowDown':
      if (open) markCompletion(activeCompletion + 1);
      else view.focus();
      break;
    case 'ArrowUp':
      if (!open) return;
      markCompletion(activeCompletion - 1);
      break;
    case 'Escape':
      if (open) hideCompletions();
      else view.focus();
      break;
    default:
      return;
  }
  event.preventDefault();
});

// A completion is taken by a click; the field keeps the focus.
completions.addEventListener('mousedown', (event) => event.preventDefault());
completions.addEventListener('click', (event) => {
  const option = event.target.closest('.completion');
  if (option) lookUp(option.textContent, { record: 'entered' });
});

// --- Back and forward.
function goThroughHistory(direction) {
  const word = history.step(direction);
  if (word !== null) lookUp(word, { record: null });
}
$('back').addEventListener('click', () => goThroughHistory(-1));
$('forward').addEventListener('click', () => goThroughHistory(+1));
document.addEventListener('keydown', (event) => {
  if (!event.altKey || event.ctrlKey || event.metaKey) return;
  if (event.key === 'ArrowLeft') goThroughHistory(-1);
  else if (event.key === 'ArrowRight') goThroughHistory(+1);
  else return;
  event.preventDefault();
});

// --- An entry's actions: copy, pronounce, keep.
async function copyEntry(entry) {
  try {
    await navigator.clipboard.writeText(entryText(entry));
    toast('Zkopírováno');
  } catch (failure) {
    console.error(failure);
    toast('Kopírování se nepodařilo');
  }
}

// English voices of the system itself: a word is never sent anywhere to be
// spoken.
function englishVoice() {
  const voices = speechSynthesis.getVoices().filter((v) => v.localService && /^en\b/i.test(v.lang));
  return voices.find((v) => /^en[-_]GB/i.test(v.lang)) ?? voices[0] ?? null;
}

function speak(text) {
  const voice = englishVoice();
  if (!voice) {
    toast('Systém nemá anglický hlas');
    return;
  }
  const utterance = new SpeechSynthesisUtterance(text);
  utterance.voice = voice;
  utterance.lang = voice.lang;
  speechSynthesis.cancel();
  speechSynthesis.speak(utterance);
}
speechSynthesis.getVoices();  // the voices load on first asking

// The Czech chosen for an entry: the text selected in it, or its first
// part of speech's translations.
function chosenCzech(entry) {
  const selection = document.getSelection();
  const item = resultsBox.querySelector('.entry.selected');
  const selected = selection.toString().trim();
  if (selected !== '' && item?.contains(selection.anchorNode) && item.contains(selection.focusNode)) {
    return selected;
  }
  return entry.senses[0]?.translations.join(', ') ?? '';
}

async function toggleSaved(entry) {
  if (savedHeads.has(entry.head)) {
    await forgetWord(entry.head);
    toast('Odebráno z uložených');
  } else {
    const fromRest = lastLookup.byRest;
    await saveWord({ head: entry.head, czech: chosenCzech(entry), sentence: fromRest ? lastLookup.sentence : '',
      address: fromRest ? lastLookup.address : '' });
    toast('Uloženo');
  }
}

// --- Saved words.
function showPane(name) {
  resultsBox.hidden = name !== 'results';
  savedPane.hidden = name !== 'saved';
  if (name !== 'help') help.hidden = true;
  $('saved-toggle').setAttribute('aria-pressed', String(name === 'saved'));
}

async function paintSaved() {
  const words = await savedWords();
  const previous = savedHeads;
  savedHeads = new Set(words.map((w) => w.head));
  for (const head of new Set([...previous, ...savedHeads])) view.markSaved(head, savedHeads.has(head));
  $('saved-empty').hidden = words.length > 0;
  $('saved-actions').hidden = words.length === 0;
  $('saved-list').replaceChildren(...words.slice().reverse().map((word) => {
    const item = document.createElement('li');
    const text = document.createElement('div');
    text.className = 'saved-text';
    const head = document.createElement('span');
    head.className = 'saved-head';
    head.textContent = word.head;
    text.append(head, ` \u2013 ${word.czech}`);
    if (word.sentence) {
      const sentence = document.createElement('div');
      sentence.className = 'saved-sentence';
      sentence.textContent = word.sentence;
      text.append(sentence);
    }
    const forget = document.createElement('button');
    forget.type = 'button';
    forget.className = 'forget';
    forget.textContent = '\u00D7';
    forget.title = `Odebrat \u201E${word.head}\u201C`;
    forget.setAttribute('aria-label', forget.title);
    forget.addEventListener('click', () => forgetWord(word.head));
    item.append(text, forget);
    return item;
  }));
}
chrome.storage.local.onChanged.addListener((changes) => {
  if (changes.savedWords) paintSaved();
});
paintSaved();

$('saved-toggle').addEventListener('click', () => {
  const open = savedPane.hidden;
  if (open) showPane('saved');
  else if (shown.results.length > 0 || shown.word !== '') showPane('results');
  else {
    showPane('help');
    help.hidden = false;
  }
});

function download(name, text, type) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([text], { type }));
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}
$('export-csv').addEventListener('click', async () => {
  download('vordo-slova.csv', toCsv(await savedWords()), 'text/csv;charset=utf-8');
});
$('export-anki').addEventListener('click', async () => {
  download('vordo-anki.txt', toAnki(await savedWords()), 'text/tab-separated-values;charset=utf-8');
});
// Clearing asks once more on the same button.
$('clear-saved').addEventListener('click', async (event) => {
  const button = event.currentTarget;
  if (button.dataset.confirm !== 'yes') {
    button.dataset.confirm = 'yes';
    button.textContent = 'Opravdu smazat vše?';
    return;
  }
  delete button.dataset.confirm;
  button.textContent = 'Smazat vše';
  await forgetAll();
});

// --- Settings: the text size here, hover for the current site.
let settings = VordoSettings.DEFAULTS;
let currentSite = '';

function applySettings(next) {
  settings = next;
  document.documentElement.style.setProperty('--text-size', `${settings.textSize}px`);
  paintSite();
}
VordoSettings.read().then(applySettings, console.error);
VordoSettings.follow(applySettings);
$('options').addEventListener('click', () => chrome.runtime.openOptionsPage());

function paintSite() {
  $('site').hidden = currentSite === '';
  $('site-name').textContent = currentSite;
  $('site-hover').checked = settings.hover && !settings.offSites.includes(currentSite);
  $('site-hover').disabled = !settings.hover;
  $('site').title = settings.hover ? '' : 'Vyhledávání myší je vypnuto v nastavení';
}

// The site of this window's active tab, as its page's content script names
// it (no permission to read the tab's address is needed).
async function readCurrentSite() {
  let site = '';
  try {
    const [tab] = await chrome.tabs.query({ active: true, currentWindow: true });
    if (tab) site = (await chrome.tabs.sendMessage(tab.id, { type: 'site' }, { frameId: 0 }))?.site ?? '';
  } catch {
    // No content script there: a browser page, or one still loading.
  }
  currentSite = typeof site === 'string' ? site : '';
  paintSite();
}
readCurrentSite();
chrome.tabs.onActivated.addListener(readCurrentSite);
chrome.tabs.onUpdated.addListener((tabId, change) => {
  if (change.status === 'complete') readCurrentSite();
});
window.addEventListener('focus', readCurrentSite);
$('site-hover').addEventListener('change', (event) => {
  if (currentSite !== '') VordoSettings.setSiteOff(currentSite, !event.target.checked);
});

// --- Hover lookups: the content scripts send the text around a resting
// mouse to every page of the extension; this panel takes those of its own
// window and answers with where the word stands, for the page to show it.
// A content script runs beside any page: what it sends is checked first.
const MAX_REST_TEXT = 1024;
let windowId;
const windowReady = chrome.windows.getCurrent().then((current) => { windowId = current.id; return current.id; });
chrome.runtime.onMessage.addListener((message, sender, sendResponse) => {
  if (message?.type !== 'hover' || !sender.tab) return false;
  const { text, at } = message;
  if (typeof text !== 'string' || text.length > MAX_REST_TEXT || !Number.isInteger(at) || at < 0 ||
      at >= text.length) {
    return false;
  }
  // Another window's panel leaves the answer to that window's.
  if (windowId !== undefined && sender.tab.windowId !== windowId) return false;
  windowReady.then(async (id) => {
    if (sender.tab.windowId === id) sendResponse(await lookUpRest(text, at, sender.url ?? ''));
  });
  return true;
});

// The service worker counts this panel open by this connection; it is made
// again when the worker was stopped.
function announce(id) {
  const port = chrome.runtime.connect({ name: 'panel' });
  port.postMessage({ windowId: id });
  port.onDisconnect.addListener(() => announce(id));
}
windowReady.then(announce);
query.focus();
