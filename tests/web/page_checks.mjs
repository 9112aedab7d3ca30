// What the browser tests share: the system's Chromium started as every test starts it, waiting for a
// condition, and what they read from a running page, whichever driver took the picture.
import { chromium } from 'playwright-core';

// Debian's Chromium, headless, with software WebGL and none of its background connections (this
// machine's closed network refuses them, many at a time).
export function launchChromium() {
  return chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--use-gl=angle', '--use-angle=swiftshader',
           '--enable-unsafe-swiftshader'],
  });
}

export async function waitFor(what, condition, seconds) {
  const end = Date.now() + seconds * 1000;
  for (;;) {
    const value = await condition();
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, 200));
  }
}

export function countLit(picture, x0, y0, x1, y1, step = 1) {
  let lit = 0;
  for (let y = y0; y < y1; y += step) {
    for (let x = x0; x < x1; x += step) {
      const [r, g, b] = picture.pixel(x, y);
      if (r + g + b > 0) ++lit;
    }
  }
  return lit;
}

// Room 0 (the field's bottom four rows) shows, and the rooms above it (from row 6 up) stay dark: what
// the first arrow key of a new game does, at any canvas size.
export function roomZeroLit(picture) {
  const { width, height } = picture;
  const cell = height / 21, left = Math.floor(width / 2 - 7 * cell), right = Math.ceil(width / 2 + 7 * cell);
  const roomZero = countLit(picture, left, Math.ceil(height - 4 * cell), right, height, 2);
  const above = countLit(picture, left, 0, right, Math.floor(height - 6 * cell), 2);
  return roomZero > (right - left) * cell / 2 && above === 0;
}
