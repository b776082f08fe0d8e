// The help dialog on the page: a modal dialog element laid out from the core's twips, driven by
// the dialog's own logic in the core (which sets its captions, closes it and shows the message).
// Every opening builds it afresh, as the desktop dialog is loaded afresh.
function AboutDialog(core, closed) {
  let dialog = null;
  let windows = 0;

  // A window of the page: a caption bar with its close button above a client area, of the
  // given size or of its content's.
  function makeWindow(caption, clientClass, size) {
    const win = document.createElement('dialog');
    win.className = 'window';
    const bar = document.createElement('div');
    bar.className = 'caption';
    const title = document.createElement('span');
    title.id = 'caption' + ++windows;
    title.textContent = caption;
    win.setAttribute('aria-labelledby', title.id);
    const close = document.createElement('button');
    close.type = 'button';
    close.tabIndex = -1;
    close.className = 'close';
    close.setAttribute('aria-label', 'Close');
    close.textContent = '\u00d7';
    bar.append(title, close);
    const client = document.createElement('div');
    client.className = clientClass;
    if (size) {
      client.style.width = size.width + 'px';
      client.style.height = size.height + 'px';
    }
    win.append(bar, client);
    // Inside the page's main landmark, as everything of the page is.
    document.querySelector('main').appendChild(win);
    return { win, title, close, client };
  }

  function place(element, item) {
    const r = core.aboutLayout(item);
    Object.assign(element.style, { left: r.left + 'px', top: r.top + 'px', width: r.width + 'px',
      height: r.height + 'px' });
    return element;
  }

  function element(tag, className, text) {
    const e = document.createElement(tag);
    e.className = className;
    if (text !== undefined) e.textContent = text;
    return e;
  }

  // The modal message box over the dialog: the message and one OK.
  function message(text, caption) {
    const box = makeWindow(caption, 'message');
    const ok = element('button', 'ok', 'OK');
    box.client.append(element('p', 'text', text), ok);
    // Closed first, so that the focus goes back to where it was.
    const done = () => {
      box.win.close();
      box.win.remove();
    };
    ok.addEventListener('click', done);
    box.close.addEventListener('click', done);
    box.win.addEventListener('cancel', (event) => {
      event.preventDefault();
      done();
    });
    box.win.showModal();
    ok.focus();
  }

  function open() {
    const area = core.aboutLayout(0);
    const parts = makeWindow('About MyApp', 'client', area);
    dialog = parts;
    const figure = core.figure(50);
    const picture = place(element('canvas', 'picture'), 1);
    picture.width = figure.width;
    picture.height = figure.height;
    picture.getContext('2d').putImageData(figure, 0, 0);
    picture.setAttribute('role', 'img');
    picture.setAttribute('aria-label', core.figureName());
    const title = place(element('div', 'label', ''), 2);
    title.id = 'lblTitle';
    const rules = place(element('div', 'label', core.rulesText()), 3);
    rules.id = 'lblDescription';
    const ok = place(element('button', 'button', 'OK'), 4);
    ok.id = 'cmdOK';
    const sysInfo = place(element('button', 'button'), 5);
    sysInfo.id = 'cmdSysInfo';
    sysInfo.accessKey = 's';
    sysInfo.innerHTML = '<u>S</u>ystem Info...';
    // The buttons first in the tab order; the picture and labels never take the focus.
    parts.client.append(ok, sysInfo, picture, title, rules);
    parts.titleLabel = title;

    ok.addEventListener('click', () => core.aboutOK());
    // Not while the message is over the dialog: Chromium lets access keys through to it.
    sysInfo.addEventListener('click', () => {
      if ([...document.querySelectorAll('dialog[open]')].pop() === parts.win) core.aboutSysInfo();
    });
    parts.close.addEventListener('click', () => core.aboutOK());
    // Esc presses the cancel button, which is OK; Enter presses OK unless a button has the focus.
    parts.win.addEventListener('cancel', (event) => {
      event.preventDefault();
      ok.click();
    });
    parts.win.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && event.target.tagName !== 'BUTTON') ok.click();
    });

    core.aboutLoad();
    parts.win.showModal();
    // Its client area at its fixed place on the screen, the caption bar above it, where the
    // whole dialog fits there; otherwise centred, and scaled down where it is wider or taller
    // than the window.
    const frame = parts.win.getBoundingClientRect();
    const inner = parts.client.getBoundingClientRect();
    const [room, roomHeight] = [document.documentElement.clientWidth, innerHeight];
    const left = area.left - (inner.left - frame.left);
    const top = area.top - (inner.top - frame.top);
    const unset = { margin: '0', right: 'auto', bottom: 'auto' };
    if (left >= 0 && top >= 0 && left + frame.width <= room && top + frame.height <= roomHeight) {
      Object.assign(parts.win.style, unset, { left: left + 'px', top: top + 'px' });
    } else {
      const k = Math.min(1, (room - 16) / frame.width, (roomHeight - 16) / frame.height);
      Object.assign(parts.win.style, unset, { left: (room - k * frame.width) / 2 + 'px',
        top: (roomHeight - k * frame.height) / 2 + 'px', transform: `scale(${k})` });
    }
    // Text past the label's height is cut at a whole line.
    const line = parseFloat(getComputedStyle(rules).lineHeight);
    rules.style.height = Math.floor(rules.clientHeight / line) * line + 'px';
    ok.focus();
  }

  return {
    open,
    message,
    caption: (text) => { dialog.title.textContent = text; },
    titleLabel: (text) => { dialog.titleLabel.textContent = text; },
    unload: () => {
      dialog.win.close();
      dialog.win.remove();
      dialog = null;
      closed();
    },
  };
}
