// The web start-up row of `make bench`: from navigation to the first painted board in Debian's
// headless Chromium, against a page that only paints a canvas of the same size, the two pages
// alternating, each load in a fresh browser context (no cache). Both pages mark the moment
// their canvas is painted; the mark's time is measured from the navigation's start.
//   node bench/web_startup.js RUNS WARMUP TARGET_RATIO    (prints two Markdown table rows)
const path = require('node:path');
const puppeteer = require(path.join(__dirname, '../tests/web/node_modules/puppeteer-core'));
const serveWeb = require('../scripts/serve-web.js');

const [runs, warmup, target] = [Number(process.argv[2] || 10), Number(process.argv[3] || 2),
  Number(process.argv[4] || 1.1)];
const root = path.resolve(__dirname, '..');
const median = (v) => {
  const s = [...v].sort((a, b) => a - b);
  return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};

serveWeb.main('web_startup.js', root, async (url) => {
  const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true,
    args: serveWeb.chromiumFlags });
  try {
    const pages = [
      { label: 'web page (headless Chromium), navigation to first painted board', url: 'build-web/index.html', times: [] },
      { label: 'page painting only a canvas of the same size (headless Chromium)', url: 'bench/web_floor.html', times: [] },
    ];
    for (let i = 0; i < warmup + runs; i++) {
      // Each page first in every other pair, so that neither pays more for the one before it.
      for (const p of i % 2 ? [...pages].reverse() : pages) {
        const context = await browser.createBrowserContext();
        const page = await context.newPage();
        await page.goto(url + p.url);
        const ms = await page.waitForFunction(() => {
          const mark = performance.getEntriesByName('tessarline-board-painted')[0];
          return mark && mark.startTime;
        }).then((h) => h.jsonValue());
        if (i >= warmup) p.times.push(ms);
        await context.close();
      }
    }
    const [program, floor] = pages.map((p) => median(p.times));
    const ratio = program / floor;
    console.log(`| ${pages[0].label} | ${program.toFixed(1)} ms | | ${ratio.toFixed(3)} (${ratio <= target ? 'met' : 'not met'}) | |`);
    console.log(`| ${pages[1].label} | ${floor.toFixed(1)} ms | | 1 | |`);
  } finally {
    await browser.close();
  }
});
