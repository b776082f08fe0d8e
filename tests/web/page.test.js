// The web page in Debian's headless Chromium, served as the README says: real mouse clicks, keys
// and taps, the canvas against the core's own picture (drawn by the build's drawing tool, which
// the page does not ship), the help dialog, the accessibility tree, axe-core's checks and the
// page offline. usage: node --test tests/web/page.test.js   (after make web)
const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const path = require('node:path');
const fs = require('node:fs');
const puppeteer = require('puppeteer-core');
const serveWeb = require('../../scripts/serve-web.js');

const root = path.resolve(__dirname, '../..', 'build-web');
// The drawing tool, with its module inside, and its wrapper: loaded into the page under test.
const tool = ['build-wasm/app/web/tessarline_tool.js', 'platform/web/tool.js']
  .map((f) => fs.readFileSync(path.resolve(__dirname, '../..', f), 'utf8')).join('\n');
const axe = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
const game = [2, 1, 3, 1, 4, 2, 4, 3, 4]; // nine edges: only the rising diagonal stays faint
let server, browser, page, base;

before(async () => {
  ({ url: base, server } = await serveWeb(root));
  browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true,
    args: serveWeb.chromiumFlags });
});
after(async () => { await browser?.close(); server?.kill(); });

// A new page at this size; a phone's is touch and mobile.
async function open(viewport) {
  page = await browser.newPage();
  // Every alert the page sounds starts one oscillator.
  await page.evaluateOnNewDocument(() => {
    const start = OscillatorNode.prototype.start;
    window.beeps = 0;
    OscillatorNode.prototype.start = function (...a) { window.beeps++; return start.apply(this, a); };
  });
  await page.setViewport(viewport);
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto(base);
  await loaded();
  return errors;
}
// The module's board, then the drawing tool beside it.
async function loaded() {
  await page.waitForSelector('#board canvas');
  await page.addScriptTag({ content: tool });
  await page.evaluate(async () => { window.tool = await loadTool(TessarlineTool); });
}

// The canvas against the core's picture of a fresh board after these clicks at this many device
// pixels per CSS pixel: no pixel may differ outside the boxes' insides, and the captions must show
// inside them.
async function expectBoard(clicks, message, scale = 1) {
  const c = await page.evaluate((clicks, scale) => {
    const canvas = document.querySelector('#board canvas');
    const [w, h] = [canvas.width, canvas.height];
    const want = tool.boardAfter(clicks, scale);
    if (want.width !== w || want.height !== h) return { size: [w, h], wrong: w * h, captions: 0 };
    const got = canvas.getContext('2d').getImageData(0, 0, w, h).data;
    const inside = [1, 2, 3, 4].map((n) => tool.box(n, scale)).map((b) =>
      [b.x + b.border, b.y + b.border, b.x + b.width - b.border, b.y + b.height - b.border]);
    let wrong = 0, captions = 0;
    for (let i = 0; i < got.length; i += 4) {
      const [x, y] = [(i / 4) % w, Math.floor(i / 4 / w)];
      const differs = got[i] !== want.data[i] || got[i + 1] !== want.data[i + 1] || got[i + 2] !== want.data[i + 2];
      if (inside.some(([l, t, r, b]) => x >= l && x < r && y >= t && y < b)) captions += differs;
      else wrong += differs;
    }
    return { size: [w, h], wrong, captions };
  }, clicks, scale);
  assert.equal(c.wrong, 0, `${message}: ${c.wrong} pixels differ from the core's picture`);
  assert.ok(c.captions > 0, `${message}: no caption drawn`);
  return c;
}

// The centre of a box on the screen, in CSS pixels, where its accessible button is.
const boxCentre = (node) => page.$eval(`#box${node}`, (b) => {
  const r = b.getBoundingClientRect();
  return [r.left + r.width / 2, r.top + r.height / 2];
});
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

test('before its module arrives, the page shows the core\'s fresh board', async () => {
  page = await browser.newPage();
  await page.setRequestInterception(true);
  page.on('request', (r) => (r.url().endsWith('/tessarline.js') ? r.abort() : r.continue()));
  await page.goto(base);
  await page.addScriptTag({ content: tool });
  const [picture, captions] = await page.evaluate(async () => {
    const core = await loadTool(TessarlineTool);
    const want = core.boardAfter([], 1).data;
    const { naturalWidth: w, naturalHeight: h, width, height } = document.getElementById('fresh');
    const context = new OffscreenCanvas(w, h).getContext('2d');
    context.drawImage(document.getElementById('fresh'), 0, 0);
    // Each box's number over its box's inside, at the zoom.
    const board = document.getElementById('board').getBoundingClientRect();
    return [[w, h, context.getImageData(0, 0, w, h).data.filter((v, i) => v !== want[i]).length, width, height],
      [...document.querySelectorAll('#board span')].map((span, i) => {
        const [b, r] = [core.box(i + 1, 2), span.getBoundingClientRect()];
        return [span.textContent, getComputedStyle(span).color, [r.left - board.left, r.top - board.top, r.width]
          .join() === [b.x + b.border, b.y + b.border, b.width - 2 * b.border].join()];
      })];
  });
  assert.deepEqual(picture, [178, 179, 0, 356, 358], 'at zoom 2 in a window of 800 by 600');
  const [white, black] = ['rgb(255, 255, 255)', 'rgb(0, 0, 0)'];
  assert.deepEqual(captions, [['1', white, true], ['2', black, true], ['3', black, true], ['4', black, true]]);
  await page.close();
});

test('a mouse game, a refused move, Reset and the accessibility tree', async () => {
  // Room for the desktop's Help dialog at its place, not for a zoom of 2.
  assert.deepEqual(await open({ width: 600, height: 380, deviceScaleFactor: 1 }), []);
  await expectBoard([], 'start');
  for (let i = 1; i <= game.length; i++) {
    await clickBox(game[i - 1]);
    await expectBoard(game.slice(0, i), `after clicks ${game.slice(0, i)}`);
  }
  assert.equal(await spoken(), 'Pen on box 4. 9 of 10 edges traced.');
  await clickBox(1); // refused: the alert
  await clickBox(4); // the pen's own box: nothing
  await expectBoard(game, 'after the refused move');
  // The same refusal again is a new line, so that it is spoken again.
  await page.$eval('[role=status] p', (p) => p.setAttribute('data-said', ''));
  await clickBox(1);
  assert.equal(await $text('[role=status] p:not([data-said])'), 'No faint edge from box 4 to box 1.');
  const { beeps, focus } = await state();
  assert.deepEqual([beeps, focus], [2, []], 'an alert each, and no focus drawn without a key');

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
  assert.match(await $text('#lblDescription'), /^You have to connect all the boxes\..*puzzles\.$/s);
  assert.deepEqual(await page.$eval('dialog .client', (c) => { const r = c.getBoundingClientRect();
    return [r.left, r.top, r.width, r.height]; }), [156, 129, 382, 237], 'client area at its place on the screen');
  assert.equal(await page.$eval('dialog .picture', (p) => p.getAttribute('aria-label')),
    'The figure: a circle, the square inscribed in it and both diagonals');
  assert.deepEqual(await page.$$eval('dialog .client button', (list) => list.map((b) => {
    const r = b.getBoundingClientRect(); return [b.id, r.left, r.top, r.width, r.height];
  })), [['cmdOK', 439, 304, 84, 23], ['cmdSysInfo', 440, 334, 83, 23]], 'the buttons at their places');
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
  assert.deepEqual(await state(), { beeps: 3, active: 'board', focus: ['box3'], descendant: 'box3' });
  assert.equal(await page.$eval('#board', (b) => b.getAttribute('aria-description')), '9 of 10 edges traced');

  // A larger window, exactly as high as zoom 3 needs: drawn anew at once at that zoom.
  await page.setViewport({ width: 1000, height: 640, deviceScaleFactor: 1 });
  await page.evaluate(() => new Promise((drawn) => requestAnimationFrame(() => requestAnimationFrame(drawn))));
  await expectBoard(game, 'at zoom 3', 3);
  assert.deepEqual(await page.$eval('.app', (app) => {
    const [r, room] = [app.getBoundingClientRect(), [document.querySelector('main').clientWidth - 8, innerHeight - 8]];
    return [r.right <= room[0] && r.bottom <= room[1], r.right + 178 > room[0] || r.bottom + 179 + 16 > room[1]];
  }), [true, true], 'the window fits, and would not at zoom 4');
});

// What axe-core finds wrong with the page as it is now: rule ids and where.
const axeViolations = async () => {
  if (await page.evaluate(() => !window.axe)) await page.addScriptTag({ content: axe });
  return page.evaluate(async () => (await window.axe.run(document)).violations
    .map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(', ')}`));
};
const fits = (selector) => page.$$eval(selector, (list) => list.map((e) => {
  const r = e.getBoundingClientRect();
  return r.left >= 0 && r.top >= 0 && r.right <= innerWidth && r.bottom <= innerHeight;
}));

test('on a phone: big enough boxes, taps play, dialogs fit, axe is content, offline after one visit', async () => {
  const phone = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
  assert.deepEqual(await open(phone), []);
  // Zoom 2 on a 390-pixel screen: the core draws at 2 x 3 device pixels per CSS pixel.
  const fresh = await expectBoard([], 'fresh', 6); // the captions drawn at that scale too
  assert.deepEqual([fresh.size, fresh.captions > 1000], [[1068, 1074], true], `${fresh.captions} caption pixels`);
  assert.deepEqual(await page.evaluate(() => [document.documentElement.scrollWidth <= innerWidth,
    ...[1, 2, 3, 4].map((n) => document.getElementById(`box${n}`).getBoundingClientRect())
      .map((r) => r.width >= 24 && r.height >= 24)]), [true, true, true, true, true],
  'no sideways scroll, every box at least 24 pixels square');
  assert.deepEqual(await axeViolations(), [], 'the fresh page');

  // A tap is a click; a finger that moves off the box is none.
  for (const node of [2, 3, 2]) await page.touchscreen.tap(...(await boxCentre(node)));
  await page.touchscreen.touchStart(...(await boxCentre(4)));
  await page.touchscreen.touchMove(...(await boxCentre(1)));
  await page.touchscreen.touchEnd();
  await expectBoard([2, 3], 'after the taps', 6);
  assert.equal((await state()).beeps, 1);

  await page.touchscreen.tap(...(await page.$eval('#mnuHelp', (b) => {
    const r = b.getBoundingClientRect();
    return [r.left + r.width / 2, r.top + r.height / 2];
  })));
  assert.deepEqual(await fits('dialog[open]'), [true], 'Help on the screen');
  assert.deepEqual(await axeViolations(), [], 'with Help open');
  await page.click('#cmdSysInfo');
  assert.deepEqual(await fits('dialog[open]'), [true, true], 'the message on the screen');
  assert.deepEqual(await axeViolations(), [], 'with the message open');
  await page.keyboard.press('Escape');
  await page.keyboard.press('Escape');

  // Offline: the worker that the first visit installed serves the whole page.
  await page.evaluate(() => navigator.serviceWorker.ready);
  await new Promise((resolve) => { server.once('exit', resolve); server.kill(); });
  await page.reload();
  await loaded();
  await page.touchscreen.tap(...(await boxCentre(4)));
  await expectBoard([4], 'offline', 6);
});
