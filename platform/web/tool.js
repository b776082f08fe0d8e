// The drawing tool's module (Tool.cpp) as the build and the tests use it: pictures as
// { width, height, data } with R, G, B, A bytes, as ImageData has them.
async function loadTool(factory) {
  const module = await factory();
  const image = (ptr, width, height) => {
    const words = module.HEAPU32.subarray(ptr >>> 2, (ptr >>> 2) + width * height);
    const data = new Uint8ClampedArray(4 * width * height);
    words.forEach((p, i) => data.set([(p >>> 16) & 0xff, (p >>> 8) & 0xff, p & 0xff, p >>> 24], 4 * i));
    return { width, height, data };
  };
  const width = (scale) => module._tl_client_width(scale);
  const height = (scale) => module._tl_client_height(scale);
  // A 0xAARRGGBB colour as CSS writes it.
  const css = (pixel) => '#' + (pixel & 0xffffff).toString(16).padStart(6, '0');
  return {
    width,
    height,
    // A fresh board after these clicks on boxes, at scale device pixels per CSS pixel.
    boardAfter: (clicks, scale) => {
      if (clicks.length > module._tl_clicks_capacity()) throw new RangeError('too many clicks');
      module.HEAP32.set(clicks, module._tl_clicks() >>> 2);
      return image(module._tl_render_after(clicks.length, scale), width(scale), height(scale));
    },
    figure: (size) => image(module._tl_figure(size), size, size),
    // x, y, width, height and border width of a box in device pixels, and its caption.
    box: (node, scale) => {
      const part = (i) => module._tl_box(node, i, scale);
      return { x: part(0), y: part(1), width: part(2), height: part(3), border: part(4),
        caption: String.fromCodePoint(part(5)) };
    },
    freshTextColour: (node) => css(module._tl_fresh_text_colour(node)),
    appTitle: () => module.UTF32ToString(module._tl_app_title()),
    howToPlay: () => module.UTF32ToString(module._tl_how_to_play()),
    boardColour: () => css(module._tl_board_colour()),
  };
}
if (typeof module !== 'undefined') module.exports = loadTool;
