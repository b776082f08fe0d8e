// Build step: the page, its pictures and its manifest, from the core through the drawing tool
// (platform/web/Tool.cpp), as the desktop builds draw their icons: the icons 192 and 512 pixels
// square, the fresh board at one device pixel per CSS pixel, which the page shows until its
// module is ready, and the page with the core's title and how-to-play text.
//   node make-art.js TOOL.js TOOL_WRAPPER.js PAGE_TEMPLATE OUT_DIR
const fs = require('node:fs');
const path = require('node:path');
const zlib = require('node:zlib');

const [toolFile, wrapperFile, template, out] = process.argv.slice(2);

const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});
const crc32 = (bytes) => {
  let c = 0xffffffff;
  for (const b of bytes) c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
};
function chunk(type, body) {
  const head = Buffer.alloc(8);
  head.writeUInt32BE(body.length, 0);
  head.write(type, 4, 'latin1');
  const crc = Buffer.alloc(4);
  crc.writeUInt32BE(crc32(Buffer.concat([head.subarray(4), body])), 0);
  return Buffer.concat([head, body, crc]);
}
// An RGB PNG (the core's pictures are opaque), each row filtered by its upper neighbour.
function png({ width, height, data }) {
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header.set([8, 2, 0, 0, 0], 8);
  const rows = Buffer.alloc(height * (1 + 3 * width));
  for (let y = 0; y < height; y++) {
    const row = y * (1 + 3 * width);
    rows[row] = 2;
    for (let x = 0; x < width; x++) {
      for (let c = 0; c < 3; c++) {
        const here = data[4 * (y * width + x) + c];
        const above = y > 0 ? data[4 * ((y - 1) * width + x) + c] : 0;
        rows[row + 1 + 3 * x + c] = (here - above) & 0xff;
      }
    }
  }
  return Buffer.concat([Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    chunk('IHDR', header), chunk('IDAT', zlib.deflateSync(rows, { level: 9 })), chunk('IEND', Buffer.alloc(0))]);
}

(async () => {
  const tool = await require(path.resolve(wrapperFile))(require(path.resolve(toolFile)));
  fs.mkdirSync(out, { recursive: true });
  const write = (name, bytes) => fs.writeFileSync(path.join(out, name), bytes);
  const icons = [192, 512].map((size) => {
    write(`icon-${size}.png`, png(tool.figure(size)));
    return { src: `icon-${size}.png`, sizes: `${size}x${size}`, type: 'image/png', purpose: 'any' };
  });
  // Inside the page, so that the first picture needs no request of its own.
  const board = tool.boardAfter([], 1);
  const boardPng = 'data:image/png;base64,' + png(board).toString('base64');
  // The largest whole-number zoom at which the board's window fits: its width in main's, its
  // height in the viewport's, below the heading. The sizes are the page's style (index.html):
  // main's padding of 8, the heading's line of 28 and margin of 8, the window's frame of 1 on
  // each side, the menu bar's 16 a zoom and its rule of 1. Zoom 1 where nothing fits: the page
  // scrolls. Up to 16, a board wider than any screen made.
  const [above, below, frame, menu] = [8 + 28 + 8, 8, 2, 16];
  const zoomRules = Array.from({ length: 15 }, (_, i) => i + 2).map((zoom) =>
    `  @media (min-height: ${above + frame + 1 + (menu + board.height) * zoom + below}px) {\n` +
    `    @container page (min-width: ${frame + board.width * zoom}px) { .app { --zoom: ${zoom}; } }\n  }`);
  // The boxes' numbers over the fresh board, where the module draws them: centred at the top of
  // each box's inside (BoardView.js), in CSS pixels at zoom 1.
  const captions = [1, 2, 3, 4].map((node) => {
    const b = tool.box(node, 1);
    return `<span style="--x: ${b.x + b.border}; --y: ${b.y + b.border}; --w: ${b.width - 2 * b.border}; ` +
      `--h: ${b.height - 2 * b.border}; color: ${tool.freshTextColour(node)}">${b.caption}</span>`;
  }).join('');
  const escape = (text) => text.replace(/&/g, '&amp;').replace(/</g, '&lt;');
  const fields = { TITLE: escape(tool.appTitle()), HOW_TO_PLAY: escape(tool.howToPlay()),
    BOARD_PNG: boardPng, BOARD_WIDTH: board.width, BOARD_HEIGHT: board.height, BOARD_COLOUR: tool.boardColour(),
    ZOOM_RULES: zoomRules.join('\n'), CAPTIONS: captions };
  write('index.html', fs.readFileSync(template, 'utf8').replace(/@(\w+)@/g, (all, name) => {
    if (!(name in fields)) throw new Error(`no value for ${all}`);
    return fields[name];
  }));
  const colour = tool.boardColour();
  write('manifest.webmanifest', JSON.stringify({ name: tool.appTitle(), short_name: tool.appTitle(),
    start_url: './', scope: './', display: 'standalone', background_color: colour, theme_color: colour,
    icons }, null, 1) + '\n');
})().catch((e) => {
  console.error(`make-art.js: ${e.message}`);
  process.exit(1);
});
