// Words the reader keeps for later, in chrome.storage.local only: the
// English head, the Czech chosen, and for a hover lookup the sentence it
// stood in and the page's address, with the date. Exported as CSV and as a
// tab-separated file that Anki's importer reads.
const KEY = 'savedWords';
const MAX_SAVED = 5000;

export async function savedWords() {
  const { [KEY]: words } = await chrome.storage.local.get(KEY);
  return Array.isArray(words) ? words.filter((w) => typeof w?.head === 'string') : [];
}

async function store(words) {
  await chrome.storage.local.set({ [KEY]: words.slice(-MAX_SAVED) });
}

// Keeps `word` ({ head, czech, sentence, address }); one head is kept once,
// its latest Czech and sentence win.
export async function saveWord({ head, czech, sentence = '', address = '' }) {
  const words = (await savedWords()).filter((w) => w.head !== head);
  words.push({ head, czech, sentence, address, date: new Date().toISOString() });
  await store(words);
}

export async function forgetWord(head) {
  await store((await savedWords()).filter((w) => w.head !== head));
}

export async function forgetAll() {
  await chrome.storage.local.remove(KEY);
}

// The sentence of `text` that holds code unit `at`: from after the last
// sentence end before it to its own end, blanks folded.
export function sentenceAround(text, at) {
  const ends = /[.!?…]+["'\u201D\u2019)]*\s+/g;
  let start = 0;
  let end = text.length;
  for (let match = ends.exec(text); match; match = ends.exec(text)) {
    const after = match.index + match[0].length;
    if (after <= at) start = after;
    else {
      end = match.index + match[0].trimEnd().length;
      break;
    }
  }
  return text.slice(start, end).replace(/\s+/g, ' ').trim();
}

// A spreadsheet runs a cell that starts with one of these as a formula:
// text from a page must stay text.
function inertCell(text) {
  return /^[=+\-@\t\r]/.test(text) ? `'${text}` : text;
}

export function toCsv(words) {
  const cell = (text) => `"${inertCell(String(text)).replaceAll('"', '""')}"`;
  const rows = [['anglicky', 'česky', 'věta', 'adresa', 'datum'],
    ...words.map((w) => [w.head, w.czech, w.sentence, w.address, w.date])];
  // The byte order mark tells spreadsheets that the file is UTF-8.
  return `\uFEFF${rows.map((row) => row.map(cell).join(',')).join('\r\n')}\r\n`;
}

function html(text) {
  return String(text).replaceAll('&', '&amp;').replaceAll('<', '&lt;').replaceAll('>', '&gt;')
    .replace(/[\t\r\n]+/g, ' ');
}

function escapeRegExp(text) {
  return text.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');
}

// The front of a card: the word in bold, and under it the sentence with
// the word in bold where it stands.
function cardFront({ head, sentence }) {
  const word = `<b>${html(head)}</b>`;
  if (!sentence) return word;
  const pattern = new RegExp(`(?<![\\p{L}\\p{N}])${escapeRegExp(html(head))}(?![\\p{L}\\p{N}])`, 'giu');
  return `${word}<br>${html(sentence).replace(pattern, (found) => `<b>${found}</b>`)}`;
}

// Anki's text import: a header naming the separator and HTML fields, then
// one note a line, front and back.
export function toAnki(words) {
  const lines = ['#separator:tab', '#html:true', '#columns:Front\tBack',
    ...words.map((w) => `${cardFront(w)}\t${html(w.czech)}`)];
  return `${lines.join('\n')}\n`;
}
