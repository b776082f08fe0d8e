// Program start on the page, after the page's own first script (index.html): the core module's
// hooks, the board, the menu bar, the help dialog and the service worker. The module calls
// onRuntimeInitialized once it is ready; the board's load event then paints its first frame.
let board = null;
// The page's zoom, as its style rules chose it for the room there is.
const app = document.querySelector('.app');
const pageZoom = () => Number(getComputedStyle(app).getPropertyValue('--zoom'));

var Module = {
  tessarline: {},
  onRuntimeInitialized: function () {
    const core = TessarlineCore(Module);
    board = BoardView(core, document.getElementById('board'), document.getElementById('status'));
    board.setZoom(pageZoom());
    // A new window size or a scroll bar that comes or goes may choose another zoom.
    new ResizeObserver(() => board.setZoom(pageZoom())).observe(document.querySelector('main'));
    const about = AboutDialog(core, board.focus);
    Object.assign(Module.tessarline, {
      changed: (news) => {
        board.changed(news);
        markPainted();
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

    core.start();
    board.focus();
  },
};

// Offline after one visit. Registered once the page has loaded all it needs, so that a new
// build's worker, told to take over here, can never change the files under a page still loading.
function keepOffline() {
  navigator.serviceWorker.register('sw.js').then((registration) => {
    const takeOver = (worker) => worker && worker.postMessage('take over');
    takeOver(registration.waiting);
    registration.addEventListener('updatefound', () => {
      const worker = registration.installing;
      worker.addEventListener('statechange', () => {
        if (worker.state === 'installed' && navigator.serviceWorker.controller) takeOver(worker);
      });
    });
  }, () => {});
}
// This script is added by the page itself, so the page may have loaded before it runs.
if ('serviceWorker' in navigator) {
  if (document.readyState === 'complete') keepOffline(); else addEventListener('load', keepOffline);
}
