// The Lighthouse row of `make bench`: the built page, served on localhost, audited for
// accessibility, best practices and SEO as a phone sees it, in Debian's Chromium with a fresh
// profile (chrome-launcher makes one for each run). Lighthouse is pinned in bench/package.json.
//   node bench/web_lighthouse.js    (prints one Markdown table row)
const path = require('node:path');
const serveWeb = require('../scripts/serve-web.js');

const categories = ['accessibility', 'best-practices', 'seo'];

serveWeb.main('web_lighthouse.js', path.resolve(__dirname, '../build-web'), async (url) => {
  const { default: lighthouse } = await import('lighthouse');
  const { launch } = await import('chrome-launcher');
  const chrome = await launch({ chromePath: process.env.CHROME_PATH || '/usr/bin/chromium',
    chromeFlags: ['--headless', '--disable-gpu', ...serveWeb.chromiumFlags] });
  try {
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
    await chrome.kill();
  }
});
