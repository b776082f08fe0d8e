// The Lighthouse row of `make bench`: the built page, served on localhost, audited for
// accessibility, best practices and SEO as a phone sees it, in Debian's Chromium with a fresh
// profile (chrome-launcher makes one for each run). Lighthouse is pinned in bench/package.json.
//   node bench/web_lighthouse.js    (prints one Markdown table row)
const path = require('node:path');
const serveWeb = require('../scripts/serve-web.js');

const categories = ['accessibility', 'best-practices', 'seo'];

(async () => {
  const { default: lighthouse } = await import('lighthouse');
  const { launch } = await import('chrome-launcher');
  const site = path.resolve(__dirname, '../build-web');
  const { url, server } = await serveWeb(site);
  let chrome;
  try {
    chrome = await launch({ chromePath: process.env.CHROME_PATH || '/usr/bin/chromium',
      chromeFlags: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
        '--disable-component-update', '--disable-sync', '--no-first-run'] });
    const result = await lighthouse(url, { port: chrome.port, logLevel: 'error',
      output: 'json', onlyCategories: categories, formFactor: 'mobile' });
    const found = result.lhr.categories;
    const scores = categories.map((c) => found[c].score);
    const failed = Object.values(result.lhr.audits).filter((a) => a.scoreDisplayMode === 'binary' && a.score === 0);
    if (failed.length) console.error(`web_lighthouse.js: failed audits: ${failed.map((a) => a.id).join(', ')}`);
    const met = scores.every((s) => s === 1) ? 'met' : 'not met';
    console.log(`| Lighthouse ${result.lhr.lighthouseVersion}, mobile: accessibility / best practices / SEO | ` +
      `${scores.join(' / ')} | target 1 / 1 / 1: ${met} | | |`);
  } finally {
    if (chrome) await chrome.kill();
    server.kill();
  }
})().catch((e) => {
  console.error(`web_lighthouse.js: ${e.message}`);
  process.exit(1);
});
