// Times the extension's panel in Debian's Chromium (headless): from the
// click that opens it to the engine and dictionary ready, and the first
// lookup of "the" then (the blocks it reads inflated on the spot). Each run
// starts a fresh browser. Prints the medians and every run.
// Usage: node panel_start_bench.mjs EXTENSION_DIR [RUNS]
// (puppeteer-core comes from tests/browser: run scripts/setup.sh test first)
import { createRequire } from 'node:module';

const require = createRequire(new URL('../../tests/browser/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');
const [extensionDir, runsText = '6'] = process.argv.slice(2);
if (!extensionDir) {
  console.error('usage: node panel_start_bench.mjs EXTENSION_DIR [RUNS]');
  process.exit(2);
}
const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];
const runs = [];
for (let i = 0; i < Number(runsText); i++) {
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    ignoreDefaultArgs: ['--disable-extensions'],
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', `--disable-extensions-except=${extensionDir}`,
      `--load-extension=${extensionDir}`],
  });
  try {
    const worker = await browser.waitForTarget((t) => t.type() === 'service_worker');
    const welcome = await browser.newPage();
    await welcome.goto(`chrome-extension://${new URL(worker.url()).host}/welcome.html`);
    await welcome.waitForFunction(() => document.readyState === 'complete');
    const clickedAt = Date.now();
    await welcome.click('#open');
    const panel = await (await browser.waitForTarget((t) => t.url().endsWith('/panel.html'))).asPage();
    await panel.waitForFunction(() => window.vordoPanel?.status.readyAt > 0, { polling: 5 });
    const readyMs = Date.now() - clickedAt;
    const theMs = await panel.evaluate(async () => {
      const engine = await window.vordoPanel.engineReady;
      const start = performance.now();
      engine.lookup('the');
      return performance.now() - start;
    });
    runs.push({ readyMs, theMs: Number(theMs.toFixed(1)) });
  } finally {
    await browser.close();
  }
}
console.log(`click to ready: median ${median(runs.map((r) => r.readyMs))} ms; ` +
  `first lookup of "the": median ${median(runs.map((r) => r.theMs))} ms`);
console.log(JSON.stringify(runs));
