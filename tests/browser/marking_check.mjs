// Judges word marking with a real browser. For each page, Debian's Chromium
// (headless, one page served from 127.0.0.1, page scripts blocked) parses
// the page as written and the page marked by `vordo mark`, each written
// into its document by document.write, which runs the parser of a load. The two document
// trees must be identical once the inserted SPANs are unwrapped (the same
// elements, attributes and text), and every word of every text node outside
// raw-text elements and svg or math must stand alone in a leaf SPAN.
//
// Usage: node marking_check.mjs VORDO [PAGE.html ...]
// Without pages: every distinct HTML document under /usr/share/doc, and the
// pages beside this script.
import { spawn } from 'node:child_process';
import { createHash } from 'node:crypto';
import { readFileSync, readdirSync, statSync } from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const [vordo, ...given] = process.argv.slice(2);
if (!vordo) {
  console.error('usage: node marking_check.mjs VORDO [PAGE.html ...]');
  process.exit(2);
}

function htmlFilesUnder(dir) {
  const found = [];
  let entries = [];
  try { entries = readdirSync(dir, { withFileTypes: true }); } catch { return found; }
  for (const entry of entries) {
    const full = path.join(dir, entry.name);
    if (entry.isDirectory()) found.push(...htmlFilesUnder(full));
    else if (/\.html?$/i.test(entry.name) && entry.isFile()) found.push(full);
  }
  return found;
}

function corpus() {
  if (given.length > 0) return given;
  const own = path.join(path.dirname(new URL(import.meta.url).pathname), 'pages');
  const seen = new Set();
  const pages = [];
  for (const file of [...htmlFilesUnder(own), ...htmlFilesUnder('/usr/share/doc').sort()]) {
    const hash = createHash('sha1').update(readFileSync(file)).digest('hex');
    if (statSync(file).size > 0 && !seen.has(hash)) {
      seen.add(hash);
      pages.push(file);
    }
  }
  return pages;
}

// The page's character set as it declares it; pages that declare none are
// read as UTF-8 when they are valid UTF-8 and as Windows-1252 otherwise.
function charsetOf(bytes) {
  const head = bytes.subarray(0, 4096).toString('latin1');
  const declared = /<meta[^>]+charset\s*=\s*["']?\s*([\w-]+)/i.exec(head);
  if (declared) {
    try { new TextDecoder(declared[1]); return declared[1].toLowerCase(); } catch { /* unknown */ }
  }
  try { new TextDecoder('utf-8', { fatal: true }).decode(bytes); return 'utf-8'; } catch { return 'windows-1252'; }
}

function mark(args, input) {
  return new Promise((resolve, reject) => {
    const child = spawn(vordo, ['mark', ...args], { stdio: ['pipe', 'pipe', 'inherit'] });
    const output = [];
    child.stdout.on('data', (chunk) => output.push(chunk));
    child.on('error', reject);
    child.on('close', (status) => (status === 0 ? resolve(Buffer.concat(output)) : reject(new Error(`vordo mark: exit ${status}`))));
    child.stdin.end(input);
  });
}

// Windows-1250 pages are marked as bytes; every other page is made UTF-8
// (served as such) and marked as UTF-8.
async function prepare(file) {
  const bytes = readFileSync(file);
  const charset = charsetOf(bytes);
  if (charset === 'windows-1250') return { charset, original: bytes, marked: await mark(['--raw'], bytes) };
  const original = Buffer.from(new TextDecoder(charset).decode(bytes), 'utf8');
  return { charset: 'utf-8', original, marked: await mark([], original) };
}

// Runs in the page: the document as a string, after unwrapping the leaf
// SPANs that marking inserts when `marked`, and the words that do not stand
// alone in a leaf SPAN.
function inspect(marked) {
  // The letters of Windows-1250; the signs among them (‹ › ˝ × ÷) end a word.
  const signs = [0x8b, 0x9b, 0xbd, 0xd7, 0xf7];
  const wordBytes = [];
  for (let b = 0; b < 256; ++b) {
    if (((b >= 0x41 && b <= 0x5a) || (b >= 0x61 && b <= 0x7a) || (b >= 0x8a && b <= 0x8f) ||
         (b >= 0x9a && b <= 0x9f) || (b >= 0xbc && b <= 0xfd)) && !signs.includes(b)) wordBytes.push(b);
  }
  const wordChars = new Set(new TextDecoder('windows-1250').decode(new Uint8Array(wordBytes)));
  const isWord = (text) => text.length > 0 && [...text].every((c) => wordChars.has(c));
  const hasWordChar = (text) => [...text].some((c) => wordChars.has(c));
  const XHTML = 'http://www.w3.org/1999/xhtml';
  const raw = new Set(['script', 'style', 'textarea', 'title', 'xmp', 'iframe', 'noembed', 'noframes',
                       'noscript', 'plaintext']);
  const isLeafSpan = (node) => node && node.nodeType === 1 && node.namespaceURI === XHTML &&
      node.localName === 'span' && node.attributes.length === 0 && node.childNodes.length === 1;
  const excluded = (node) => {
    for (let e = node.parentElement; e; e = e.parentElement) {
      if (e.namespaceURI !== XHTML || raw.has(e.localName)) return true;
    }
    return false;
  };
  const problems = [];
  if (marked) {
    const unwrap = [];
    // Template contents are documents of their own, which the walk of the
    // page does not enter.
    const roots = [document.documentElement];
    for (let i = 0; i < roots.length; ++i) {
      const walker = document.createTreeWalker(roots[i], NodeFilter.SHOW_TEXT | NodeFilter.SHOW_ELEMENT);
      for (let node = walker.nextNode(); node; node = walker.nextNode()) {
        if (node.nodeType === 1) {
          if (node.localName === 'template' && node.namespaceURI === XHTML) roots.push(node.content);
          continue;
        }
        if (excluded(node)) continue;
        // A leaf SPAN around a word may be inserted; one around anything
        // else is the page's own.
        if (isLeafSpan(node.parentNode) && isWord(node.data)) {
          unwrap.push(node.parentNode);
        } else if (hasWordChar(node.data)) {
          const where = node.parentElement ? node.parentElement.localName : '?';
          problems.push('a word outside a SPAN in <' + where + '>: ' + JSON.stringify(node.data.slice(0, 60)));
        }
      }
    }
    for (const span of unwrap) span.replaceWith(...span.childNodes);
  }
  for (const template of document.querySelectorAll('template')) template.content.normalize();
  document.normalize();
  return { tree: document.documentElement.outerHTML, problems: problems.slice(0, 5), problemCount: problems.length };
}

function firstDifference(a, b) {
  let i = 0;
  while (i < a.length && a[i] === b[i]) ++i;
  return `at ${i}: ${JSON.stringify(a.slice(Math.max(0, i - 40), i + 40))} became ${JSON.stringify(b.slice(Math.max(0, i - 40), i + 40))}`;
}

// One empty page, whose document each page is written into: its scripts
// would change what is compared, and blocked they still count as enabled,
// so that noscript is raw text as for a reader.
const server = http.createServer((request, response) => {
  response.writeHead(200, {
    'Content-Type': 'text/html; charset=utf-8',
    'Content-Security-Policy': "default-src 'self'; script-src 'none'",
  });
  response.end('<!DOCTYPE html><title>check</title>');
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const base = `http://127.0.0.1:${server.address().port}`;

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync', '--disable-extensions'],
});
let failed = 0;
const pages = corpus();
const started = Date.now();

// Parses markup as the page's document, as a load would, and inspects it.
async function parseAndInspect(tab, markup, marked) {
  await tab.evaluate((text) => {
    document.open();
    document.write(text);
    document.close();
  }, markup);
  // The parser waits at each external script (which the policy then
  // refuses) and goes on later: inspect only the whole document.
  await tab.waitForFunction(() => document.readyState === 'complete', { polling: 10, timeout: 20000 });
  return tab.evaluate(inspect, marked);
}

async function check(tab, file) {
  try {
    const { charset, original, marked } = await prepare(file);
    const decoder = new TextDecoder(charset);
    const before = await parseAndInspect(tab, decoder.decode(original), false);
    const after = await parseAndInspect(tab, decoder.decode(marked), true);
    const faults = [];
    if (!before.tree.includes('<body')) faults.push('the page was not parsed');
    if (before.tree !== after.tree) faults.push('the document changed ' + firstDifference(before.tree, after.tree));
    if (after.problemCount > 0) faults.push(`${after.problemCount} unmarked or mixed text nodes, e.g. ${after.problems.join('; ')}`);
    return faults.length === 0 ? null : faults.join('\n    ');
  } catch (error) {
    return `could not be checked: ${error.message}`;
  }
}

// Two tabs take turns with the pages, one per core.
let next = 0;
async function worker() {
  const tab = await browser.newPage();
  await tab.goto(`${base}/blank.html`);
  while (next < pages.length) {
    const index = next++;
    const verdict = await check(tab, pages[index]);
    if (verdict) {
      ++failed;
      console.log(`FAIL ${pages[index]}\n    ${verdict}`);
    }
  }
}
await Promise.all([worker(), worker()]);
await browser.close();
server.close();
console.log(`marking checked in Chromium: ${pages.length - failed} of ${pages.length} pages the same apart ` +
            `from SPANs, every word in one (${((Date.now() - started) / 1000).toFixed(1)} s)`);
process.exit(failed === 0 && pages.length > 0 ? 0 : 1);
