// The web page in Debian's headless Chromium, served as the README says: real mouse clicks and
// keys, the canvas against the core's own picture, the help dialog and the accessibility tree.
// usage: node --test tests/web/page.test.js   (after make web; WEB_BUILD names another folder)
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { spawn } = require('node:child_process');
const path = require('node:path');
const puppeteer = require('puppeteer-core');

const root = path.resolve(__dirname, '../..', process.env.WEB_BUILD || 'build-web');
const game = [2, 1, 3, 1, 4, 2, 4, 3, 4]; // nine edges: only the rising diagonal stays faint
let server, browser, page, base;

before(async () => {
  server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '-d', root],
    { stdio: ['ignore', 'pipe', 'ignore'] });
  const port = await new Promise((resolve, reject) => {
    server.stdout.on('data', (d) => { const m = /port (\d+)/.exec(d); if (m) resolve(m[1]); });
    server.on('exit', () => reject(new Error('the static server stopped')));
  });
  base = `http://127.0.0.1:${port}/`;
  browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--no-first-run'] });
});
after(async () => { await browser?.close(); server?.kill(); });

async function open(scale) {
  page = await browser.newPage();
  // Every alert the page sounds starts one oscillator.
  await page.evaluateOnNewDocument(() => {
    const start = OscillatorNode.prototype.start;
    window.beeps = 0;
    OscillatorNode.prototype.start = function (...a) { window.beeps++; return start.apply(this, a); };
  });
  await page.setViewport({ width: 640, height: 480, deviceScaleFactor: scale });
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto(base);
  await page.waitForFunction(() => performance.getEntriesByName('tessarline-board-painted').length);
  return errors;
}

// The canvas against the core's picture of a fresh board after these clicks: no pixel may
// differ outside the captions' text, the text must lie on the boxes and show on the canvas.
async function expectBoard(clicks, message) {
  const c = await page.evaluate((clicks) => {
    const { core, board } = window.tessarline;
    const canvas = document.querySelector('#board canvas');
    const [w, h] = [canvas.width, canvas.height];
    const want = core.renderAfter(clicks, devicePixelRatio).data;
    const got = canvas.getContext('2d').getImageData(0, 0, w, h).data;
    const mask = new OffscreenCanvas(w, h).getContext('2d');
    board.drawCaptions(mask, devicePixelRatio);
    const text = mask.getImageData(0, 0, w, h).data;
    let wrong = 0, captions = 0;
    for (let i = 0; i < got.length; i += 4) {
      const differs = got[i] !== want[i] || got[i + 1] !== want[i + 1] || got[i + 2] !== want[i + 2];
      // Captions lie inside the boxes, which are white or black in the core's picture.
      const onBox = want[i] === want[i + 1] && want[i + 1] === want[i + 2];
      if (text[i + 3] === 0) wrong += differs; else if (onBox) captions += differs; else wrong++;
    }
    return { size: [w, h], css: [canvas.clientWidth, canvas.clientHeight], wrong, captions };
  }, clicks);
  assert.equal(c.wrong, 0, `${message}: ${c.wrong} pixels differ from the desktop picture`);
  assert.ok(c.captions > 0, `${message}: no caption drawn`);
  return c;
}

// The centre of a box on the screen, in CSS pixels.
const boxCentre = (node) => page.evaluate((node) => {
  const b = window.tessarline.core.box(node, devicePixelRatio);
  const r = document.querySelector('#board canvas').getBoundingClientRect();
  return [r.left + (b.x + b.width / 2) / devicePixelRatio, r.top + (b.y + b.height / 2) / devicePixelRatio];
}, node);
const clickBox = async (node) => page.mouse.click(...(await boxCentre(node)));
const $text = (selector) => page.$eval(selector, (e) => e.textContent);
// What the polite live region says now.
const spoken = () => $text('[role=status]');
const state = () => page.evaluate(() => ({ beeps: window.beeps, active: document.activeElement.id,
  focus: [...document.querySelectorAll('.box.focus')].map((b) => b.id),
  descendant: document.getElementById('board').getAttribute('aria-activedescendant') }));
// With the access key's character, as a keyboard sends it.
const altKey = async (key) => {
  await page.keyboard.down('Alt'); await page.keyboard.press(key, { text: key }); await page.keyboard.up('Alt');
};

test('a mouse game, a refused move, Reset and the accessibility tree', async () => {
  assert.deepEqual(await open(1), []);
  assert.deepEqual((await expectBoard([], 'start')).size, [178, 179]);
  // A press on one box released on another is no click.
  await page.mouse.move(...(await boxCentre(2))); await page.mouse.down();
  await page.mouse.move(...(await boxCentre(3))); await page.mouse.up();
  await expectBoard([], 'press on 2, release on 3');
  for (let i = 1; i <= game.length; i++) {
    await clickBox(game[i - 1]);
    await expectBoard(game.slice(0, i), `after clicks ${game.slice(0, i)}`);
  }
  assert.equal(await spoken(), 'Pen on box 4. 9 of 10 edges traced.');
  await clickBox(1); // refused: the alert
  await clickBox(4); // the pen's own box: nothing
  await expectBoard(game, 'after the refused move');
  assert.equal(await spoken(), 'No faint edge from box 4 to box 1.');
  const { beeps, focus } = await state();
  assert.deepEqual([beeps, focus], [1, []], 'one alert, and no focus drawn without a key');

  await page.click('#mnuReset');
  await expectBoard([], 'after Reset');
  assert.equal(await spoken(), 'Board reset. Pen on box 1. 0 of 10 edges traced.');
  const tree = await page.accessibility.snapshot();
  const board = (function find(n) { return n.name === 'Board' ? n : (n.children || []).map(find).find(Boolean); })(tree);
  assert.equal(board.description, '0 of 10 edges traced');
  assert.deepEqual(board.children.map((b) => [b.role, b.name, b.description]), [
    ['button', 'Box 1', 'pen here'], ['button', 'Box 2', 'line and arc faint'],
    ['button', 'Box 3', 'line and arc faint'], ['button', 'Box 4', 'line faint']]);
});

test('Help opens a modal dialog; System Info shows the message; Esc closes it', async () => {
  await clickBox(4);
  await page.click('#mnuHelp');
  assert.equal(await $text('dialog[open] .caption span'), 'About Tessarline');
  assert.equal(await $text('#lblTitle'), 'Tessarline');
  assert.equal(await $text('#lblDescription'), await page.evaluate(() => window.tessarline.core.rulesText()));
  assert.deepEqual(await page.$eval('dialog .client', (c) => { const r = c.getBoundingClientRect();
    return [r.left, r.top, r.width, r.height]; }), [156, 129, 382, 237], 'client area at its place on the screen');
  assert.equal(await page.$eval('dialog .picture', (p) => p.getAttribute('aria-label')),
    'The figure: a circle, the square inscribed in it and both diagonals');
  assert.equal((await state()).active, 'cmdOK');
  // The board and its menu take no input meanwhile.
  await clickBox(2); await page.keyboard.press('Digit2'); await altKey('r');
  await expectBoard([4], 'with the dialog open');

  await altKey('s');
  await altKey('s'); // the message is modal over the dialog too
  const shown = await page.$$eval('dialog[open]', (d) => d.map((x) => x.innerText.split('\n').filter(Boolean)));
  assert.deepEqual(shown[1], ['Tessarline', '\u00d7', 'System Information Is Unavailable At This Time', 'OK']);
  await page.keyboard.press('Enter');
  assert.equal(await page.$$eval('dialog[open]', (d) => d.length), 1, 'the dialog stays open');
  assert.equal((await state()).active, 'cmdSysInfo');
  await page.keyboard.press('Escape');
  assert.equal(await page.$$eval('dialog', (d) => d.length), 0);
  assert.equal((await state()).active, 'board');
  await expectBoard([4], 'after the dialog');
});

test('a keyboard-only game, with the focus shown once a key is used', async () => {
  await altKey('r');
  await expectBoard([], 'after Alt+R');
  assert.deepEqual((await state()).focus, []);
  for (const [key, box] of [['Tab', 2], ['Tab', 4], ['Tab', 3], ['Tab', 1]]) {
    await page.keyboard.press(key);
    assert.deepEqual((await state()).focus, [`box${box}`]);
  }
  const keys = ['ArrowRight', 'Space', 'ArrowLeft', 'Enter', 'ArrowDown', 'Space', 'Digit1', 'Digit4',
    'Digit2', 'ArrowRight', 'Enter', 'ArrowLeft', 'Space', 'Digit4'];
  for (const key of keys) await page.keyboard.press(key);
  // A held digit on a refused box: the key repeats, the box is clicked (and refused) once.
  for (let i = 0; i < 4; i++) await page.keyboard.down('Digit1');
  await page.keyboard.up('Digit1');
  await expectBoard(game, 'after the keyboard game');
  assert.deepEqual(await state(), { beeps: 2, active: 'board', focus: ['box3'], descendant: 'box3' });
  assert.equal(await page.$eval('#board', (b) => b.getAttribute('aria-description')), '9 of 10 edges traced');
});

test('on a high-DPI screen the board has as many more pixels', async () => {
  await open(2);
  await clickBox(4);
  const c = await expectBoard([4], 'at device pixel ratio 2');
  assert.deepEqual([c.size, c.css], [[356, 358], [178, 179]]);
});
