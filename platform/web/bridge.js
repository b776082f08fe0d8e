// The core module as the page's script sees it: its exports under plain names, with texts as
// strings and pictures as ImageData. Everything else about the module stays in this folder.
function TessarlineCore(module) {
  const text = (ptr) => module.UTF32ToString(ptr);
  // The core's 0xAARRGGBB words as the canvas's R, G, B, A bytes.
  const image = (ptr, width, height) => {
    const words = module.HEAPU32.subarray(ptr >>> 2, (ptr >>> 2) + width * height);
    const out = new ImageData(width, height);
    const bytes = out.data;
    for (let i = 0; i < words.length; i++) {
      const p = words[i];
      bytes[4 * i] = (p >>> 16) & 0xff;
      bytes[4 * i + 1] = (p >>> 8) & 0xff;
      bytes[4 * i + 2] = p & 0xff;
      bytes[4 * i + 3] = p >>> 24;
    }
    return out;
  };
  const width = (dpr) => module._tl_client_width(dpr);
  const height = (dpr) => module._tl_client_height(dpr);
  return {
    start: () => module._tl_start(),
    reset: () => module._tl_reset(),
    help: () => module._tl_help(),
    width,
    height,
    render: (dpr) => image(module._tl_render(dpr), width(dpr), height(dpr)),
    figure: (size) => image(module._tl_figure(size), size, size),
    // x, y, width, height and border width of a box in device pixels, and its caption.
    box: (node, dpr) => {
      const part = (i) => module._tl_box(node, i, dpr);
      return { x: part(0), y: part(1), width: part(2), height: part(3), border: part(4),
        caption: String.fromCodePoint(part(5)) };
    },
    boxTextColour: (node) => '#' + (module._tl_box_text_colour(node) & 0xffffff).toString(16).padStart(6, '0'),
    press: (x, y, dpr) => module._tl_press(x, y, dpr) !== 0,
    release: (x, y, dpr) => module._tl_release(x, y, dpr),
    cancel: () => module._tl_cancel(),
    click: (node) => module._tl_click(node),
    key: (key, repeat) => module._tl_key(key, repeat ? 1 : 0) !== 0,
    focus: () => module._tl_focus(),
    focusShown: () => module._tl_focus_shown() !== 0,
    boardName: () => text(module._tl_board_name()),
    boardDescription: () => text(module._tl_board_description()),
    boxName: (node) => text(module._tl_box_name(node)),
    boxDescription: (node) => text(module._tl_box_description(node)),
    aboutLoad: () => module._tl_about_load(),
    aboutOK: () => module._tl_about_ok(),
    aboutSysInfo: () => module._tl_about_sysinfo(),
    rulesText: () => text(module._tl_rules_text()),
    figureName: () => text(module._tl_figure_name()),
    appTitle: () => text(module._tl_app_title()),
    // Item 0 is the dialog's client area on the screen, then the picture, the title, the rules,
    // OK and System Info: left, top, width and height in CSS pixels.
    aboutLayout: (item) => {
      const part = (i) => module._tl_about_layout(item, i);
      return { left: part(0), top: part(1), width: part(2), height: part(3) };
    },
  };
}
