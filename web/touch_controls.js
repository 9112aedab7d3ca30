// The on-screen controls of a touch screen: a d-pad ("up", "down", "left", "right"), "act" and "pause",
// real buttons laid out by page.css beside or below the canvas. Each press reaches the game as the key
// it stands for (the arrows, Return, Escape) through web/page_input.cpp, pressed and released as a key
// is, so in the pause menu the same buttons move the pointer, choose and go back. They show with the
// first touch (or at once on a coarse pointer) and hide when a key or a pad is used.
import { queueFit } from './canvas_fit.js';

// Passes of the game so far (counted before each pass): a press is held until a pass has seen it.
let passes = 0;
// Key symbol -> { pass: the count when it was pressed, releasing: let go before any pass saw it }.
const held = new Map();

function gameReady() {
  return typeof Module !== 'undefined' && Module.calledRun && typeof Module._tavok_page_key === 'function';
}

function press(key, button) {
  if (!gameReady()) return;
  button.classList.add('held');
  const entry = held.get(key);
  if (entry) {
    entry.releasing = false;
    return;
  }
  held.set(key, { pass: passes, releasing: false, button });
  Module._tavok_page_key(key, 1);
}

function release(key) {
  const entry = held.get(key);
  if (!entry) return;
  entry.button.classList.remove('held');
  if (passes > entry.pass) {
    held.delete(key);
    Module._tavok_page_key(key, 0);
  } else {
    entry.releasing = true;
  }
}

// Before each pass: presses let go since the last pass, and seen by it, are released now.
function beforePass() {
  for (const [key, entry] of held) {
    if (entry.releasing && passes > entry.pass) {
      held.delete(key);
      Module._tavok_page_key(key, 0);
    }
  }
  ++passes;
}

export function showTouchControls(shown) {
  if (document.body.classList.contains('touch') === shown) return;
  document.body.classList.toggle('touch', shown);
  queueFit();
}

// The d-pad follows the finger over all four directions: the pad holds the pointer, and whichever
// direction is under the finger is the one held; sliding onto another switches to it.
function startDpad(pad) {
  const fingers = new Map(); // pointer id -> key held (or null between the buttons)
  const directionAt = (x, y) => {
    const target = document.elementFromPoint(x, y);
    const button = target && target.closest('#pad-move button');
    return button ? { key: Number(button.dataset.key), button } : null;
  };
  const follow = (event) => {
    if (!fingers.has(event.pointerId)) return;
    const now = directionAt(event.clientX, event.clientY);
    const before = fingers.get(event.pointerId);
    if ((now && now.key) === (before && before.key)) return;
    if (before) release(before.key);
    if (now) press(now.key, now.button);
    fingers.set(event.pointerId, now);
  };
  pad.addEventListener('pointerdown', (event) => {
    event.preventDefault();
    pad.setPointerCapture(event.pointerId);
    fingers.set(event.pointerId, null);
    follow(event);
  });
  pad.addEventListener('pointermove', follow);
  const end = (event) => {
    const before = fingers.get(event.pointerId);
    fingers.delete(event.pointerId);
    if (before) release(before.key);
  };
  pad.addEventListener('pointerup', end);
  pad.addEventListener('pointercancel', end);
}

function startPressButton(button) {
  const key = Number(button.dataset.key);
  const pointers = new Set();
  button.addEventListener('pointerdown', (event) => {
    event.preventDefault();
    button.setPointerCapture(event.pointerId);
    pointers.add(event.pointerId);
    press(key, button);
  });
  const end = (event) => {
    if (!pointers.delete(event.pointerId) || pointers.size > 0) return;
    release(key);
  };
  button.addEventListener('pointerup', end);
  button.addEventListener('pointercancel', end);
}

export function startTouchControls() {
  startDpad(document.getElementById('pad-move'));
  for (const button of document.querySelectorAll('#pad-act button')) startPressButton(button);
  // Run by the game before each of its passes (web/tavok_library.js tavok_before_pass).
  Module.beforePass.push(beforePass);

  if (matchMedia('(pointer: coarse)').matches) showTouchControls(true);
  document.addEventListener('pointerdown', (event) => {
    if (event.pointerType === 'touch') showTouchControls(true);
  }, { capture: true });
  document.addEventListener('keydown', () => showTouchControls(false), { capture: true });
  window.addEventListener('tavok-pad-used', () => showTouchControls(false));
  // Some mobile browsers let audio start only from the end of a touch or a click, not its start.
  for (const type of ['pointerup', 'touchend', 'click']) {
    document.addEventListener(type, () => {
      if (typeof Module !== 'undefined' && Module.resumeAudio) Module.resumeAudio();
    }, { capture: true });
  }
}
