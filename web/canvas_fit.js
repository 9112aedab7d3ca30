// The one place that sizes the canvas. The canvas takes the shape of the space it is given (the whole
// window, or what the touch controls leave), but never narrower than 16:21, the field with its two
// outside strips, so that on a phone held upright the field fills the width. Its backing store is at
// device pixels, so the game's hard-edged pictures stay crisp on HiDPI screens. The game takes the new
// size at its next pass (web/page_input.cpp). Also the fullscreen button.

// The field and its outside strips: 16 cells wide, 21 tall.
const kNarrowest = 16 / 21;
// Device pixels per CSS pixel at most. Phones report up to 3 or 4; the frame cost measured in
// `make bench-web` (docs/web.md) is what this cap answers to.
export const kMaxPixelRatio = 3;

let canvas = null;
let queued = false;

// The canvas's CSS size for a space of width x height CSS pixels.
export function canvasSizeFor(width, height) {
  const w = Math.max(1, Math.floor(width));
  const h = Math.max(1, Math.floor(Math.min(height, width / kNarrowest)));
  return { width: w, height: h };
}

// Where the canvas may go: its stage, less the space the touch controls need below it in portrait (the
// stage there is sized by the canvas itself).
function availableSpace() {
  const stage = canvas.parentElement;
  if (document.body.classList.contains('touch') && matchMedia('(orientation: portrait)').matches) {
    const controls = document.getElementById('pad-move').getBoundingClientRect().height;
    return { width: stage.clientWidth, height: window.innerHeight - controls };
  }
  return { width: stage.clientWidth, height: stage.clientHeight };
}

export function fitCanvas() {
  queued = false;
  const space = availableSpace();
  const size = canvasSizeFor(space.width, space.height);
  const ratio = Math.min(window.devicePixelRatio || 1, kMaxPixelRatio);
  canvas.style.width = `${size.width}px`;
  canvas.style.height = `${size.height}px`;
  const width = Math.round(size.width * ratio), height = Math.round(size.height * ratio);
  // Setting the size clears the picture; the game draws its next frame at the new size.
  if (canvas.width !== width) canvas.width = width;
  if (canvas.height !== height) canvas.height = height;
}

// Fits again at the next display frame, once the layout has settled.
export function queueFit() {
  if (queued) return;
  queued = true;
  requestAnimationFrame(fitCanvas);
}

function watchPixelRatio() {
  // A zoom or a move to another screen changes the ratio without always resizing the window.
  const query = matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`);
  query.addEventListener('change', () => {
    queueFit();
    watchPixelRatio();
  }, { once: true });
}

function startFullscreenButton() {
  const button = document.getElementById('fullscreen');
  const root = document.documentElement;
  if (!document.fullscreenEnabled || !root.requestFullscreen) return;
  button.hidden = false;
  button.addEventListener('click', () => {
    if (document.fullscreenElement) document.exitFullscreen();
    else root.requestFullscreen().catch(() => {});
    canvas.focus();
  });
  // Without touch the button shows only while the mouse moves, so it never sits over a still game.
  let timer = 0;
  document.addEventListener('pointermove', (event) => {
    if (event.pointerType !== 'mouse') return;
    document.body.classList.add('pointer-moved');
    clearTimeout(timer);
    timer = setTimeout(() => document.body.classList.remove('pointer-moved'), 2500);
  });
}

export function startFittingCanvas(element) {
  canvas = element;
  fitCanvas();
  window.addEventListener('resize', queueFit);
  window.addEventListener('orientationchange', queueFit);
  document.addEventListener('fullscreenchange', queueFit);
  watchPixelRatio();
  startFullscreenButton();
}
