// Program start on the page: the core module's hooks, the board, the menu bar, the help dialog
// and the icon. The module calls onRuntimeInitialized once it is ready; the board's load event
// then paints the first frame.
var Module = {
  tessarline: {},
  onRuntimeInitialized: function () {
    const core = TessarlineCore(Module);
    const board = BoardView(core, document.getElementById('board'), document.getElementById('status'));
    const about = AboutDialog(core, board.focus);
    let painted = false;
    Object.assign(Module.tessarline, {
      changed: (news) => {
        board.changed(news);
        if (!painted) {
          painted = true;
          performance.mark('tessarline-board-painted');
        }
      },
      beep: Alert(),
      showHelp: about.open,
      aboutCaption: about.caption,
      aboutTitle: about.titleLabel,
      aboutUnload: about.unload,
      aboutMessage: about.message,
    });

    // Commands on the bar itself; the board has the keyboard again after each.
    const menu = document.getElementById('menu');
    const commands = { mnuReset: core.reset, mnuHelp: core.help };
    for (const item of menu.children) {
      item.addEventListener('click', () => {
        // Chromium lets access keys through to content that a modal dialog makes inert.
        if (document.querySelector('dialog[open]')) return;
        board.focus();
        commands[item.id]();
      });
    }
    // Left and Right move between the two commands, as in a menu bar.
    menu.addEventListener('keydown', (event) => {
      const items = [...menu.children];
      const step = { ArrowLeft: -1, ArrowRight: 1 }[event.key];
      if (!step) return;
      const next = items[(items.indexOf(document.activeElement) + step + items.length) % items.length];
      items.forEach((item) => { item.tabIndex = item === next ? 0 : -1; });
      next.focus();
      event.preventDefault();
    });

    // The icon: the figure in black on white.
    const icon = document.createElement('canvas');
    icon.width = icon.height = 32;
    icon.getContext('2d').putImageData(core.figure(32), 0, 0);
    document.getElementById('icon').href = icon.toDataURL('image/png');

    // Exposed for the page's own tests and for whoever inspects it.
    window.tessarline = { core, board };
    core.start();
    board.focus();
  },
};
