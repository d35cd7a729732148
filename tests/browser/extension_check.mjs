// Judges the browser extension in Debian's Chromium (headless, pages served
// from 127.0.0.1 only): the side panel opens from a user's click and a typed
// lookup shows what `vordo lookup` finds; a rest of the mouse for 400 ms on
// a word of a page (in a frame, in a shadow root, in text added after load,
// on Czech, Cyrillic and emoji pages) shows that word's translations, while
// moving on sooner, resting on what is no word (digits, a dash, a sign such
// as ×), and resting in form fields and editable text show nothing; the
// pages' DOM is the same before and after; with the panel closed nothing
// is sent. Prints the figures, and
// saves a picture of the panel after a hover lookup.
//
// Usage: node extension_check.mjs EXTENSION_DIR VORDO_TOOL DIC_BIN PICTURE.png
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const [extensionDir, tool, dictionary, picture] = process.argv.slice(2);
if (!picture) {
  console.error('usage: node extension_check.mjs EXTENSION_DIR VORDO_TOOL DIC_BIN PICTURE.png');
  process.exit(2);
}
const REST_MS = 400;
const pagesDir = path.join(path.dirname(new URL(import.meta.url).pathname), 'extension-pages');
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

let failures = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures++;
}

// The lines the panel shows for a query, from the native tool: a head line
// (a leading space) and the translations of each result.
function expectedLines(query) {
  const raw = execFileSync(tool, ['lookup', '--raw', '--dict', dictionary, '--', query]);
  const lines = [];
  for (const line of new TextDecoder('windows-1250').decode(raw).split('\n')) {
    if (line === '') continue;
    const [, head, ...translations] = line.split('\t');
    lines.push(` ${head}`, ...translations);
  }
  return lines;
}

function same(a, b) {
  return a.length === b.length && a.every((line, i) => line === b[i]);
}

function mb(bytes) {
  return `${(bytes / 1048576).toFixed(1)} MB`;
}

async function lookups(panel) {
  return panel.evaluate(() => window.vordoPanel.status.lookups);
}

// Records the hover messages that reach the service worker (every page of
// the extension receives them).
async function startHoverLog(worker) {
  const context = await worker.worker();
  await context.evaluate(() => {
    self.hoverWords = [];
    chrome.runtime.onMessage.addListener((message) => {
      if (message?.type === 'hover') self.hoverWords.push(message.word);
    });
  });
  return { words: () => context.evaluate(() => self.hoverWords) };
}

// The page's whole DOM as markup, shadow roots and frames included.
async function snapshot(page) {
  const parts = [];
  for (const frame of page.frames()) {
    parts.push(await frame.evaluate(() => {
      const roots = [...document.querySelectorAll('*')].filter((e) => e.shadowRoot).map((e) => e.shadowRoot.innerHTML);
      return document.documentElement.outerHTML + roots.join('');
    }));
  }
  return parts.join('\n');
}

async function watchMutations(page) {
  await page.evaluate(() => {
    window.mutations = 0;
    const observer = new MutationObserver((records) => { window.mutations += records.length; });
    const options = { subtree: true, childList: true, attributes: true, characterData: true };
    observer.observe(document, options);
    for (const element of document.querySelectorAll('*')) {
      if (element.shadowRoot) observer.observe(element.shadowRoot, options);
    }
  });
}

// The centre of the first occurrence of `text` in the page's text (in its
// shadow roots too), in the coordinates of the frame's viewport.
async function textCentre(frame, text) {
  return frame.evaluate((wanted) => {
    const scopes = [document, ...[...document.querySelectorAll('*')].filter((e) => e.shadowRoot).map((e) => e.shadowRoot)];
    for (const scope of scopes) {
      const walker = document.createTreeWalker(scope, NodeFilter.SHOW_TEXT);
      for (let node = walker.nextNode(); node; node = walker.nextNode()) {
        const at = node.data.indexOf(wanted);
        if (at < 0 || node.parentElement?.closest('script, style')) continue;
        const range = document.createRange();
        range.setStart(node, at);
        range.setEnd(node, at + wanted.length);
        const box = range.getBoundingClientRect();
        return { x: box.left + box.width / 2, y: box.top + box.height / 2 };
      }
    }
    return null;
  }, text);
}

// Moves the mouse onto text of the page or of its frame.
async function moveOnto(page, text, { frame = false } = {}) {
  let point;
  if (frame) {
    const child = page.frames().find((f) => f.url().endsWith('/frame.html'));
    const inner = await textCentre(child, text);
    const offset = await page.$eval('#frame', (e) => {
      const box = e.getBoundingClientRect();
      return { x: box.left + e.clientLeft, y: box.top + e.clientTop };
    });
    point = { x: offset.x + inner.x, y: offset.y + inner.y };
  } else {
    point = await textCentre(page.mainFrame(), text);
  }
  if (!point) throw new Error(`no "${text}" on the page`);
  // Come from a little aside, as a hand does.
  await page.mouse.move(point.x - 3, point.y);
  await page.mouse.move(point.x, point.y);
}

async function moveOntoElement(page, selector) {
  const box = await (await page.$(selector)).boundingBox();
  await page.mouse.move(box.x + box.width / 2 - 3, box.y + box.height / 2);
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
}

// Rests the mouse on a word and waits for the panel to show a lookup.
async function hoverLookup(page, panel, word, where) {
  const count = await lookups(panel);
  await moveOnto(page, word, where);
  const restedAt = Date.now();
  await panel.waitForFunction((n) => window.vordoPanel.status.lookups > n, { timeout: 5000 }, count);
  const state = await panel.evaluate(() => ({
    word: document.getElementById('query').value,
    lines: window.vordoPanel.view.lines,
    shownAt: window.vordoPanel.status.lastShownAt,
  }));
  const focusInPage = await page.evaluate(() => document.hasFocus());
  return { ...state, focusInPage, ms: Math.round(state.shownAt - restedAt) };
}

// Does something with the mouse and then checks that no lookup followed.
async function expectNothing(page, panel, what, act) {
  await page.mouse.move(880, 590);
  await sleep(REST_MS + 100);
  const count = await lookups(panel);
  await act();
  await sleep(REST_MS + 500);
  check(await lookups(panel) === count, `${what} shows nothing`);
}

// Two servers, so that the frame comes from another origin.
function serve() {
  const server = http.createServer((request, response) => {
    const name = path.basename(new URL(request.url, 'http://x').pathname);
    let body;
    try { body = readFileSync(path.join(pagesDir, name)); } catch {
      response.writeHead(404);
      response.end();
      return;
    }
    // The pages name their own character set.
    response.writeHead(200, { 'Content-Type': 'text/html' });
    response.end(body);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}
const servers = [await serve(), await serve()];
const [base, otherPort] = [`http://127.0.0.1:${servers[0].address().port}`, servers[1].address().port];

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  ignoreDefaultArgs: ['--disable-extensions'],
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync',
         `--disable-extensions-except=${extensionDir}`, `--load-extension=${extensionDir}`],
});
try {
  const worker = await browser.waitForTarget((t) => t.type() === 'service_worker' &&
      t.url().endsWith('/service_worker.js'), { timeout: 10000 });
  const extensionId = new URL(worker.url()).host;
  console.log(`extension ${extensionId}`);

  const page = (await browser.pages())[0];
  await page.setViewport({ width: 900, height: 600 });
  const hoverLog = await startHoverLog(worker);

  // With no panel open the content scripts do not watch the mouse.
  await page.goto(`${base}/english.html#${otherPort}`, { waitUntil: 'load' });
  await page.mouse.move(5, 5);
  await moveOnto(page, 'quick');
  await sleep(REST_MS + 400);
  check((await hoverLog.words()).length === 0, 'with the panel closed, a rest sends nothing');

  // The panel opens from a click on an extension page (a user's gesture).
  const welcome = await browser.newPage();
  await welcome.goto(`chrome-extension://${extensionId}/welcome.html`);
  await welcome.waitForFunction(() => document.readyState === 'complete');
  const openedAt = Date.now();
  await welcome.click('#open');
  const panel = await (await browser.waitForTarget((t) => t.url().endsWith('/panel.html'),
    { timeout: 10000 })).asPage();
  panel.on('console', (message) => console.log(`panel: ${message.text()}`));
  panel.on('pageerror', (error) => console.log(`panel error: ${error.message}`));
  await panel.waitForFunction(() => window.vordoPanel?.status.readyAt > 0, { timeout: 10000 });
  const figures = {
    'panel open, from the click to the engine ready': `${Date.now() - openedAt} ms`,
    'engine and dictionary ready, from the panel page\'s start':
      `${Math.round(await panel.evaluate(() => window.vordoPanel.status.readyAt))} ms`,
  };
  check(await panel.$eval('#help', (help) => !help.hidden), 'the help text shows until the first lookup');

  // Typed lookups show what the native tool finds.
  for (const query of ['look', 'hot dog', 'Licensed', ':house (noun)', 'příliš', 'nonexistentword']) {
    await panel.click('#query', { clickCount: 3 });
    await panel.keyboard.press('Backspace');
    await panel.type('#query', query);
    const count = await lookups(panel);
    await panel.keyboard.press('Enter');
    await panel.waitForFunction((n) => window.vordoPanel.status.lookups > n, {}, count);
    const lines = await panel.evaluate(() => window.vordoPanel.view.lines);
    check(same(lines, expectedLines(query)), `typed "${query}": ${lines.length} lines as vordo lookup`);
  }
  const shown = await panel.evaluate(() => ({
    focused: document.activeElement?.id,
    helpHidden: document.getElementById('help').hidden,
    rows: [...document.querySelectorAll('#results .row')].length,
    history: [...document.querySelectorAll('#history option')].map((o) => o.value),
  }));
  check(shown.focused === 'results' && shown.helpHidden, 'after Enter the results view has the focus');
  check(shown.history.length === 6 && shown.history[0] === 'look', 'each query joins the history');

  // Drawn as the Windows view: heads bold and dark blue with the marker,
  // groups grey and not bold, translations black, long lines cut with "...".
  const drawn = async (query) => {
    await panel.click('#query', { clickCount: 3 });
    await panel.type('#query', query);
    await panel.keyboard.press('Enter');
    return panel.evaluate(() => {
      const rows = [...document.querySelectorAll('#results .row')];
      const style = (e) => e && { colour: getComputedStyle(e).color, weight: getComputedStyle(e).fontWeight };
      const head = rows.find((r) => r.classList.contains('head') && !r.classList.contains('selected') &&
          r.querySelector('.group'));
      return {
        marker: rows[0].querySelector('.marker') !== null,
        head: style(head?.querySelector('.bold')),
        group: style(head?.querySelector('.group')),
        translation: style(rows.find((r) => !r.classList.contains('head'))),
        selected: style(rows[0]),
        fits: rows.every((r) => r.scrollWidth <= r.clientWidth + 1),
        cut: rows.filter((r) => r.textContent.endsWith('...')).length,
      };
    });
  };
  const walk = await drawn('walk');
  check(walk.marker && walk.head?.weight === '700' && walk.head.colour === 'rgb(0, 32, 80)',
    'head lines are bold and dark blue, with the marker');
  check(walk.group?.weight === '400' && walk.group.colour === 'rgb(128, 128, 128)', 'groups are grey');
  check(walk.translation?.colour === 'rgb(0, 0, 0)' && walk.selected?.colour === 'rgb(255, 255, 255)',
    'translations are black, the selected row white on the highlight');
  const plank = await drawn('walk the plank');
  check(plank.fits && plank.cut > 0, `every row fits, a long one cut with "..."`);

  // Keys move the selection.
  await panel.click('#query', { clickCount: 3 });
  await panel.type('#query', 'look');
  await panel.keyboard.press('Enter');
  await panel.keyboard.press('ArrowDown');
  await panel.keyboard.press('ArrowDown');
  check(await panel.evaluate(() => window.vordoPanel.view.selected) === 2, 'Down moves the selection');
  await panel.keyboard.press('End');
  const end = await panel.evaluate(() => [window.vordoPanel.view.selected, window.vordoPanel.view.lines.length]);
  check(end[0] === end[1] - 1, 'End selects the last line');
  await panel.keyboard.press('Home');
  check(await panel.evaluate(() => window.vordoPanel.view.selected) === 0, 'Home selects the first line');

  // Hover lookups on the English page: plain text, a shadow root, a frame
  // from another origin, text added after load.
  await page.bringToFront();
  await page.goto(`${base}/english.html#${otherPort}`, { waitUntil: 'load' });
  await page.waitForSelector('#later');
  const before = await snapshot(page);
  await watchMutations(page);
  const restTimes = [];
  for (const [word, where] of [['brown', {}], ['beautiful', { shadow: true }], ['bare', { shadow: true }],
    ['mountain', { frame: true }], ['yesterday', {}], ['jumps', {}]]) {
    const result = await hoverLookup(page, panel, word, where);
    check(result.word === word && same(result.lines, expectedLines(word)),
      `a rest on "${word}"${where.frame ? ' in a frame' : where.shadow ? ' in a shadow root' : ''} shows its translations`);
    check(result.focusInPage, `  and the focus stays in the page`);
    restTimes.push(result.ms);
  }

  // Nothing for moving on before 400 ms, for a rest on what is no word, in
  // form fields and in editable text.
  await expectNothing(page, panel, 'moving on before 400 ms', async () => {
    await moveOnto(page, 'lazy');
    await sleep(REST_MS / 4);
    await page.mouse.move(880, 590);
  });
  for (const [what, text] of [['digits', '12345'], ['a dash', '---'], ['a sign', '×'], ['a form field', null],
    ['editable text', 'garden']]) {
    await expectNothing(page, panel, `a rest on ${what}`, async () => {
      if (text) await moveOnto(page, text);
      else await moveOntoElement(page, '#field');
    });
  }

  const after = await snapshot(page);
  check(after === before, 'the page\'s DOM is the same after hovering');
  check(await page.evaluate(() => window.mutations) === 0, 'no mutation of the page was observed');

  // Other character sets and scripts.
  for (const [file, word, nothingOn] of [['czech.html', 'žluťoučký', null], ['czech.html', 'Look', null],
    ['world.html', 'house', 'Привет'], ['world.html', 'cat', '漢字']]) {
    await page.goto(`${base}/${file}`, { waitUntil: 'load' });
    const result = await hoverLookup(page, panel, word, {});
    check(result.word === word && same(result.lines, expectedLines(word)), `${file}: a rest on "${word}"`);
    if (nothingOn) await expectNothing(page, panel, `${file}: a rest on "${nothingOn}"`, () => moveOnto(page, nothingOn));
  }

  // From a page's load to the first answer: the content script is ready
  // when the page is.
  await page.mouse.move(880, 590);
  await page.goto(`${base}/english.html#${otherPort}`, { waitUntil: 'load' });
  const loadedAt = await page.evaluate(() => performance.timeOrigin + performance.getEntriesByType('navigation')[0].loadEventEnd);
  const first = await hoverLookup(page, panel, 'fox', {});
  check(first.word === 'fox', 'a rest right after the page loaded is answered');
  figures['page load to the first hover answer'] = `${Math.round(first.shownAt - loadedAt)} ms`;
  figures['mouse rest to the answer shown'] = `${Math.min(...restTimes)}-${Math.max(...restTimes)} ms (${REST_MS} ms of rest included)`;

  await panel.screenshot({ path: picture });
  console.log(`saved ${picture}`);

  const session = await panel.createCDPSession();
  await session.send('Performance.enable');
  const metrics = Object.fromEntries((await session.send('Performance.getMetrics')).metrics.map((m) => [m.name, m.value]));
  figures['panel page memory'] = `JS heap ${mb(metrics.JSHeapUsedSize)} used of ${mb(metrics.JSHeapTotalSize)}, ` +
    `engine memory ${mb(await panel.evaluate(async () => (await window.vordoPanel.engineReady).memoryBytes()))}`;
  const workerSession = await worker.createCDPSession();
  await workerSession.send('Runtime.enable');
  const workerHeap = await workerSession.send('Runtime.getHeapUsage');
  figures['service worker memory'] = `JS heap ${mb(workerHeap.usedSize)} used`;

  // Closing the panel stops the watching again.
  const sentBefore = (await hoverLog.words()).length;
  await panel.evaluate(() => window.close());
  await sleep(300);
  await page.bringToFront();
  await moveOnto(page, 'dog');
  await sleep(REST_MS + 400);
  check((await hoverLog.words()).length === sentBefore, 'after the panel closed, a rest sends nothing');

  for (const [name, value] of Object.entries(figures)) console.log(`figure: ${name}: ${value}`);
} finally {
  await browser.close();
  for (const server of servers) server.close();
}
console.log(failures === 0 ? 'extension check passed' : `extension check: ${failures} failed`);
process.exit(failures === 0 ? 0 : 1);
