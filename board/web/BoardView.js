// The board window's client area on the page: the core's picture on a canvas with the boxes'
// captions on top, the pointer and the keys handed to the core's input, and one button per box
// for assistive technology, named and described by the core. The page chooses a whole-number
// zoom; the core draws at zoom times the device pixel ratio, so that every edge stays crisp and
// zoom 1 is the desktop's very picture.
function BoardView(core, root, status) {
  const canvas = document.createElement('canvas');
  canvas.setAttribute('aria-hidden', 'true');
  const context = canvas.getContext('2d');
  root.tabIndex = 0;
  root.setAttribute('role', 'group');
  root.setAttribute('aria-label', core.boardName());
  let zoom = 1;

  // Each box is a real button for assistive technology. The pointer passes through to the
  // canvas, so that a click or a tap is a press and a release as the core counts them.
  const boxes = [1, 2, 3, 4].map((node) => {
    const button = document.createElement('button');
    button.type = 'button';
    button.tabIndex = -1;
    button.id = 'box' + node;
    button.className = 'box';
    button.setAttribute('aria-label', core.boxName(node));
    button.addEventListener('click', () => core.click(node));
    return button;
  });

  const ratio = () => window.devicePixelRatio || 1;
  // Device pixels per CSS pixel of the board.
  const scale = () => zoom * ratio();

  function drawCaptions(target, s) {
    target.font = 8 * s + 'pt sans-serif';
    target.textAlign = 'center';
    target.textBaseline = 'top';
    for (let node = 1; node <= 4; node++) {
      const b = core.box(node, s);
      const inside = [b.x + b.border, b.y + b.border, b.width - 2 * b.border, b.height - 2 * b.border];
      target.save();
      target.beginPath();
      target.rect(...inside);
      target.clip();
      target.fillStyle = core.boxTextColour(node);
      target.fillText(b.caption, inside[0] + inside[2] / 2, inside[1]);
      target.restore();
    }
  }

  // The picture at the present scale, and the boxes' buttons over their boxes.
  function draw() {
    const s = scale();
    const dpr = ratio();
    const [width, height] = [core.width(s), core.height(s)];
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    canvas.style.width = width / dpr + 'px';
    canvas.style.height = height / dpr + 'px';
    context.putImageData(core.render(s), 0, 0);
    drawCaptions(context, s);
    boxes.forEach((button, i) => {
      const b = core.box(i + 1, s);
      Object.assign(button.style, { left: b.x / dpr + 'px', top: b.y / dpr + 'px',
        width: b.width / dpr + 'px', height: b.height / dpr + 'px' });
      button.classList.toggle('focus', core.focusShown() && core.focus() === i + 1);
    });
    // The first picture takes the place of the fresh board the page was loaded with.
    if (!canvas.isConnected) root.replaceChildren(canvas, ...boxes);
  }

  // One account of the core's (BoardNews): only what it names is done again. A new node in the
  // live region is spoken even when the sentence is the same as the last one.
  function changed(news) {
    if (news.picture) draw();
    if (news.focusMoved) root.setAttribute('aria-activedescendant', 'box' + core.focus());
    if (news.boardDescription) root.setAttribute('aria-description', core.boardDescription());
    news.boxDescriptions.forEach((isNew, i) => {
      if (isNew) boxes[i].setAttribute('aria-description', core.boxDescription(i + 1));
    });
    if (news.announcement) {
      const line = document.createElement('p');
      line.textContent = news.announcement;
      status.replaceChildren(line);
    }
  }

  // A new device pixel ratio (browser zoom, another screen) needs the picture at the new scale.
  function watchRatio() {
    matchMedia('(resolution: ' + ratio() + 'dppx)').addEventListener('change', () => {
      draw();
      watchRatio();
    }, { once: true });
  }
  watchRatio();

  // The device pixel under the pointer, as the core's picture is laid out.
  function pixel(event) {
    const r = canvas.getBoundingClientRect();
    const dpr = ratio();
    return [Math.floor((event.clientX - r.left) * dpr), Math.floor((event.clientY - r.top) * dpr), scale()];
  }
  // Mouse, pen and touch alike: the primary button or the first finger.
  canvas.addEventListener('pointerdown', (event) => {
    if (event.button === 0 && event.isPrimary && core.press(...pixel(event))) {
      canvas.setPointerCapture(event.pointerId);
    }
  });
  canvas.addEventListener('pointerup', (event) => {
    if (event.button === 0 && event.isPrimary) core.release(...pixel(event));
  });
  // A finger that starts a scroll instead of a tap.
  canvas.addEventListener('pointercancel', () => core.cancel());

  // BoardKey: the boxes 1 to 4, Left, Right, Up, Down, Next, Previous, Activate.
  const keys = { 1: 0, 2: 1, 3: 2, 4: 3, ArrowLeft: 4, ArrowRight: 5, ArrowUp: 6, ArrowDown: 7,
    ' ': 10, Enter: 10 };
  root.addEventListener('keydown', (event) => {
    if (event.altKey || event.ctrlKey || event.metaKey) return;
    // By the key's meaning: the keypad's digits with Num Lock on, its arrows with it off.
    const key = event.key === 'Tab' ? (event.shiftKey ? 9 : 8) : keys[event.key];
    if (key !== undefined && core.key(key, event.repeat)) event.preventDefault();
  });

  return {
    changed,
    // The page's zoom changed: the picture again at the new scale.
    setZoom: (z) => {
      if (z === zoom) return;
      zoom = z;
      if (canvas.isConnected) draw();
    },
    focus: () => root.focus({ preventScroll: true }),
  };
}

// The platform's plain alert: a short tone through Web Audio.
function Alert() {
  let audio = null;
  return function beep() {
    audio = audio || new AudioContext();
    const now = audio.currentTime;
    const tone = audio.createOscillator();
    const volume = audio.createGain();
    tone.frequency.value = 880;
    volume.gain.setValueAtTime(0.2, now);
    volume.gain.exponentialRampToValueAtTime(0.001, now + 0.15);
    tone.connect(volume).connect(audio.destination);
    tone.start(now);
    tone.stop(now + 0.15);
  };
}
