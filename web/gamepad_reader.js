// The one place that turns pad state into changes. Before each pass of the game it polls the browser's
// pads (standard mapping) and hands on only what changed since the last poll, so a held button, d-pad
// direction or stick gives one action, as a held key does: the d-pad (buttons 12 to 15) and the left
// stick (axes 0 and 1, past the dead zone) together are the hat; face buttons 0 to 3 act; Start (9) is
// Escape. The first two pads seen are devices 0 and 1, as on the desktop; a pad plugged in (or first
// reported, which the browser does only after a button press) mid-game is picked up at the next poll.

const kDeadZone = 0.5;
const kFaceButtons = [0, 1, 2, 3];
const kStart = 9;
const kEscape = 27;
// d-pad buttons of the standard mapping and the hat bits they set (SDL: up 1, right 2, down 4, left 8).
const kDpad = [[12, 1], [15, 2], [13, 4], [14, 8]];

// Per device: the browser's pad index it follows (or null), and the state last handed on.
const devices = [0, 1].map(() => ({ pad: null, hat: 0, buttons: kFaceButtons.map(() => false), start: false }));

function isPressed(button) {
  return !!button && (button.pressed || button.value > 0.5);
}

// The hat as the d-pad and the stick give it together.
function hatOf(pad) {
  let hat = 0;
  // Only the standard mapping says where the d-pad is; any pad's first stick counts.
  for (const [button, bit] of pad.mapping === 'standard' ? kDpad : []) {
    if (isPressed(pad.buttons[button])) hat |= bit;
  }
  const x = pad.axes[0] || 0, y = pad.axes[1] || 0;
  if (y < -kDeadZone) hat |= 1;
  if (x > kDeadZone) hat |= 2;
  if (y > kDeadZone) hat |= 4;
  if (x < -kDeadZone) hat |= 8;
  return hat;
}

// Hands on the changes from `last` to `now` for device d; true if anything changed.
function handOn(d, last, now) {
  let changed = false;
  if (now.hat !== last.hat) {
    Module._tavok_pad_hat(d, now.hat);
    changed = true;
  }
  kFaceButtons.forEach((button, i) => {
    if (now.buttons[i] !== last.buttons[i]) {
      Module._tavok_pad_button(d, button, now.buttons[i] ? 1 : 0);
      changed = true;
    }
  });
  if (now.start !== last.start) {
    Module._tavok_page_key(kEscape, now.start ? 1 : 0);
    changed = true;
  }
  Object.assign(last, now);
  return changed;
}

const released = () => ({ hat: 0, buttons: kFaceButtons.map(() => false), start: false });

function poll() {
  const pads = navigator.getGamepads ? Array.from(navigator.getGamepads()) : [];
  const live = (index) => pads.some((pad) => pad && pad.connected && pad.index === index);
  let used = false;
  // A pad gone lets go of everything it held and frees its device.
  devices.forEach((device, d) => {
    if (device.pad !== null && !live(device.pad)) {
      handOn(d, device, released());
      device.pad = null;
    }
  });
  for (const pad of pads) {
    if (!pad || !pad.connected || devices.some((device) => device.pad === pad.index)) continue;
    const free = devices.find((device) => device.pad === null);
    if (free) free.pad = pad.index;
  }
  devices.forEach((device, d) => {
    if (device.pad === null) return;
    const pad = pads.find((p) => p && p.index === device.pad);
    const now = { hat: hatOf(pad), buttons: kFaceButtons.map((i) => isPressed(pad.buttons[i])),
                  start: isPressed(pad.buttons[kStart]) };
    if (handOn(d, device, now)) used = true;
  });
  if (used) window.dispatchEvent(new Event('tavok-pad-used'));
}

export function startGamepadReader() {
  Module.beforePass.push(poll);
}
