// The browser edition in headless Chromium: the page starts black, a key reveals room 0, Escape opens
// and closes the pause menu, a missing picture ends in the red message screen naming it, and the
// scripted player wins a game, gets the print page offered and finds the field finished after a reload.
// Run by run-web-tests.sh, which builds the pages first.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';
import { serveFolder } from '../../web/serve.mjs';
import { solidPng, decodePng } from './png.mjs';
import { countLit, launchChromium, waitFor } from './page_checks.mjs';

const sourceDir = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../..');
const desktopBuild = process.env.TAVOK_BUILD_DIR;
const webBuild = process.env.TAVOK_WEB_BUILD_DIR;
const kWidth = 1280, kHeight = 720;

let scratch, browser, server, base;

// res/ with every picture one solid colour, as the desktop drawing tests use: room tiles earthy,
// the outside strips blue, items and figures white; the music stays the real music. `leaveOut` names
// a resource left out altogether.
function solidRes(folder, leaveOut) {
  const respack = path.join(desktopBuild, 'tools/respack/respack');
  const listing = execFileSync(respack, ['check', path.join(desktopBuild, 'res')], { encoding: 'utf8' });
  fs.mkdirSync(folder, { recursive: true });
  const plain = path.join(scratch, 'plain.png');
  for (const line of listing.trim().split('\n')) {
    const [number, kind] = line.split('\t');
    const n = Number(number);
    if (n === leaveOut) continue;
    const target = path.join(folder, `${n}.dat`);
    if (kind !== 'png') {
      fs.copyFileSync(path.join(desktopBuild, 'res', `${n}.dat`), target);
      continue;
    }
    const figure = n >= 71000 || n % 1000 >= 190;
    const colour = figure ? [255, 255, 255] : n >= 8000 ? [60, 60, 200] : [200, 100, 40];
    fs.writeFileSync(plain, solidPng(4, 4, colour));
    execFileSync(respack, ['pack', plain, target]);
  }
}

// A copy of a built page folder with its own res/ packed in. The service worker stays behind: its list
// of files names the built res/, so it could never install there, only compete with the game trying.
function pageWithRes(name, pageDir, resDir) {
  const folder = path.join(scratch, 'site', name);
  fs.mkdirSync(folder, { recursive: true });
  const copied = (name) => !name.startsWith('tavok-res.') && name !== 'tavok-sw.js';
  for (const file of fs.readdirSync(pageDir).filter(copied)) {
    fs.copyFileSync(path.join(pageDir, file), path.join(folder, file));
  }
  execFileSync('node', [path.join(sourceDir, 'web/pack_res.mjs'), resDir, folder]);
}

before(async () => {
  scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'tavok-web-'));
  solidRes(path.join(scratch, 'res-solid'));
  solidRes(path.join(scratch, 'res-missing'), 1190);
  pageWithRes('solid', path.join(webBuild, 'page'), path.join(scratch, 'res-solid'));
  pageWithRes('missing', path.join(webBuild, 'page'), path.join(scratch, 'res-missing'));
  fs.cpSync(path.join(webBuild, 'test-page'), path.join(scratch, 'site', 'autoplay'), { recursive: true });
  server = await serveFolder(path.join(scratch, 'site'));
  base = `http://127.0.0.1:${server.address().port}`;
  browser = await launchChromium();
});

after(async () => {
  if (browser) await browser.close();
  if (server) server.close();
  if (scratch) fs.rmSync(scratch, { recursive: true, force: true });
});

async function openPage(context, address) {
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(base + address);
  await waitFor('the game to start', () => page.evaluate(() => typeof Module._tavok_game_mode === 'function' &&
      Module.calledRun && Module._tavok_passes_timed() > 3), 60);
  page.errors = errors;
  return page;
}

// The canvas as shown; at `scale` 'css' one pixel per CSS pixel, which is quicker on a HiDPI page.
async function canvasPicture(page, scale = 'device') {
  return decodePng(await page.locator('canvas').screenshot({ scale }));
}

// The pixel at the centre of grid cell (x, y), y counted upwards as the game does, in a picture of the
// whole canvas at any size.
function cellPixel(picture, x, y) {
  const cell = picture.height / 21, shift = Math.round(picture.width / 2) - 7 * cell;
  return picture.pixel(Math.floor(shift + (x + 0.5) * cell), picture.height - 1 - Math.floor((y + 0.5) * cell));
}

function near(pixel, [r, g, b], tolerance = 3) {
  return Math.abs(pixel[0] - r) <= tolerance && Math.abs(pixel[1] - g) <= tolerance &&
         Math.abs(pixel[2] - b) <= tolerance;
}

async function tap(page, key) {
  await page.keyboard.down(key);
  await page.waitForTimeout(120);
  await page.keyboard.up(key);
}

test('the page starts black; one arrow key reveals room 0 and starts the music', async () => {
  const context = await browser.newContext({ viewport: { width: kWidth, height: kHeight } });
  const page = await openPage(context, '/solid/tavok.html');
  assert.deepEqual(await page.evaluate(() => [canvas.width, canvas.height]), [kWidth, kHeight]);
  assert.equal(await page.evaluate(() => document.activeElement.id), 'canvas', 'the canvas has the focus');
  assert.equal(countLit(await canvasPicture(page), 0, 0, kWidth, kHeight), 0, 'nothing is drawn before a key');
  assert.equal((await page.evaluate(() => Module.musicState())).loaded, false);

  await tap(page, 'ArrowRight');
  // Room 0 is drawn through its green tint; the rooms above stay masked.
  const picture = await waitFor('room 0 to show', async () => {
    const shot = await canvasPicture(page);
    return near(cellPixel(shot, 2, 1), [100, 100, 20], 6) ? shot : null;
  }, 20);
  assert.ok(near(cellPixel(picture, 2, 2), [100, 100, 20], 6), 'the upper row of room 0');
  assert.ok(near(cellPixel(picture, 6, 5), [0, 0, 0], 0), 'room 1 is still hidden');
  assert.ok(near(cellPixel(picture, 6, 17), [0, 0, 0], 0), 'room 4 is still hidden');
  const music = await waitFor('track 1 to sound', async () => {
    const state = await page.evaluate(() => Module.musicState());
    return state.sounding ? state : null;
  }, 20);
  assert.equal(music.context, 'running', 'the audio runs after the key');
  assert.equal(music.loop, true);
  assert.ok(Math.abs(music.duration - 21.333) < 0.01, `one loop of ${music.duration} s`);
  assert.deepEqual(page.errors, []);
  await context.close();
});

test('Escape shows the pause menu outlines and pauses the music; Escape again resumes', async () => {
  const context = await browser.newContext({ viewport: { width: kWidth, height: kHeight } });
  const page = await openPage(context, '/solid/tavok.html');
  await tap(page, 'ArrowRight');
  await waitFor('room 0 to show', async () => near(cellPixel(await canvasPicture(page), 2, 1), [100, 100, 20], 6), 20);

  await tap(page, 'Escape');
  assert.equal(await page.evaluate(() => Module._tavok_game_mode()), 5);
  // The outermost copy is three quarters of the canvas (x 160..1120), in green; the play field is gone.
  const menu = await waitFor('the outlines to brighten', async () => {
    const shot = await canvasPicture(page);
    return countLit(shot, 150, 100, 170, 620) > 300 && countLit(shot, 1110, 100, 1130, 620) > 300 ? shot : null;
  }, 10);
  // Every lit pixel is a shade of the menu's green: red and blue equal, green twice as bright, within
  // the rounding to 8 bits. The inner copies are still brightening when the shot is taken, and their
  // dimmest shades round to (1, 1, 1) or (1, 2, 1), as on the desktop.
  let offGreen = null;
  for (let y = 0; y < kHeight && !offGreen; y += 3) {
    for (let x = 0; x < kWidth && !offGreen; x += 3) {
      const [r, g, b] = menu.pixel(x, y);
      if (r + g + b > 0 && (Math.abs(r - b) > 1 || Math.abs(2 * r - g) > 3)) offGreen = `(${r}, ${g}, ${b}) at ${x}, ${y}`;
    }
  }
  assert.equal(offGreen, null, 'only green outlines on black');
  assert.equal(countLit(menu, 0, 0, 150, kHeight), 0, 'nothing left of the outer outline');
  assert.equal(countLit(menu, 1130, 0, kWidth, kHeight), 0, 'nothing right of the outer outline');
  assert.equal(countLit(menu, 0, 0, kWidth, 80), 0, 'nothing above the outer outline');
  assert.equal((await page.evaluate(() => Module.musicState())).sounding, false, 'music paused');

  await tap(page, 'Escape');
  assert.equal(await page.evaluate(() => Module._tavok_game_mode()), 4);
  await waitFor('the field to come back', async () => near(cellPixel(await canvasPicture(page), 2, 1), [100, 100, 20], 6), 10);
  await waitFor('the music to resume', async () => (await page.evaluate(() => Module.musicState())).sounding, 10);
  await context.close();
});

test('a page whose res/ lacks a picture shows the red message screen naming the file', async () => {
  const context = await browser.newContext({ viewport: { width: kWidth, height: kHeight } });
  const page = await openPage(context, '/missing/tavok.html');
  assert.equal(await page.evaluate(() => Module._tavok_game_mode()), 3);
  const text = await page.evaluate(() => UTF8ToString(Module._tavok_message_text()));
  assert.match(text, /^error\n-----\ncould not load resource file:\n1190\.dat\n\ntry:\nreinstalling\n/);
  const picture = await canvasPicture(page);
  // Red everywhere but the white strokes of the text, which fill rows from the top.
  assert.ok(near(picture.pixel(kWidth - 5, kHeight - 5), [255, 0, 0], 0));
  let white = 0, other = 0;
  for (let y = 0; y < kHeight; y += 2) {
    for (let x = 0; x < kWidth; x += 2) {
      const p = picture.pixel(x, y);
      if (near(p, [255, 255, 255], 40)) ++white;
      else if (!near(p, [255, 0, 0], 40)) ++other;
    }
  }
  assert.ok(white > 500, `${white} white samples of text`);
  assert.ok(other < white / 4, `${other} samples neither red nor white`);
  // Row 3 of 18 holds "1190.DAT": its first glyph lies in the left-most column's cell.
  const rowTop = Math.floor(3 * kHeight / 18), cell = kWidth / 32;
  assert.ok(countLitWhite(picture, 0, rowTop, Math.floor(cell), rowTop + Math.floor(kHeight / 18)) > 10);
  // Escape leaves with exit code 1.
  await tap(page, 'Escape');
  await waitFor('the game to end', () => page.evaluate(() => Module.exitCode === 1), 10);
  // The page says so instead of going black, and offers another game.
  assert.match(await page.locator('#load-message').textContent(), /game has ended/);
  assert.ok(await page.getByRole('button', { name: 'play again' }).isVisible());
  await context.close();
});

function countLitWhite(picture, x0, y0, x1, y1) {
  let count = 0;
  for (let y = y0; y < y1; ++y) {
    for (let x = x0; x < x1; ++x) {
      if (near(picture.pixel(x, y), [255, 255, 255], 40)) ++count;
    }
  }
  return count;
}

test('the scripted player wins in the browser; the print page is offered; a reload shows the finished field once', async () => {
  const reference = path.join(scratch, 'reference');
  execFileSync(path.join(desktopBuild, 'tests/web/web_print_reference'), [reference]);
  const expected = fs.readFileSync(path.join(reference, 'Desktop', 'print_me.html'));

  // 60 steps of 1/60 s per browser frame, the last of them drawn: a game of ten minutes' play takes
  // well under a minute. Drawing is what a software-rendered page pays for, not the world's steps.
  const context = await browser.newContext({ viewport: { width: kWidth, height: kHeight }, acceptDownloads: true });
  const page = await openPage(context, '/autoplay/tavok.html?autoplay+60');
  await waitFor('the game to be won', () => page.evaluate(() => Module.printPageOffered === true), 600);
  const played = await page.evaluate(() => ({ drawn: Module._tavok_passes_timed(), undrawn: Module._tavok_world_steps_undrawn() }));
  assert.ok(played.drawn > 60 && played.undrawn > 40 * played.drawn, `${played.drawn} passes drawn, ${played.undrawn} steps not`);
  assert.deepEqual(page.errors, []);
  await waitFor('the marker to be stored', () => page.evaluate(() => Module.markerStored === true), 20);
  const link = page.locator('#print-page a');
  assert.ok(await link.isVisible(), 'the download link shows');
  const [download] = await Promise.all([page.waitForEvent('download'), link.click()]);
  assert.equal(download.suggestedFilename(), 'print_me.html');
  const saved = path.join(scratch, 'downloaded.html');
  await download.saveAs(saved);
  assert.ok(fs.readFileSync(saved).equals(expected), 'the same bytes as the desktop writes');
  await page.close();

  // The reload finds the stored marker: no avatars, the field dark, and a key changes nothing.
  const finished = await openPage(context, '/solid/tavok.html');
  assert.equal(await finished.evaluate(() => Module._tavok_avatar_count()), 0);
  await tap(finished, 'ArrowRight');
  await finished.waitForTimeout(2500);
  const dark = await canvasPicture(finished);
  assert.equal(countLit(dark, 0, 0, dark.width, dark.height), 0, 'the finished field is dark');
  await finished.close();

  // Once: the next load is a new game again.
  const again = await openPage(context, '/solid/tavok.html');
  assert.equal(await again.evaluate(() => Module._tavok_avatar_count()), 5);
  await context.close();
});

// Samples the page's music every 10 ms (as bench/web/music_layers.mjs does). With `pauseOnSwitch` set,
// the sampler presses Escape as soon as it sees a new layer selected while the old one is still held.
async function sampleMusic(page) {
  await page.evaluate(() => {
    window.musicSamples = [];
    setInterval(() => {
      const state = Module.musicState();
      if (state.context !== 'running') return;
      const number = Module._tavok_music_number();
      const previous = window.musicSamples[window.musicSamples.length - 1];
      if (window.pauseOnSwitch && previous && previous.number !== number && state.held) {
        window.pauseOnSwitch = false;
        window.pausedAtSwitch = true;
        // The game reads the key as held, so it is let go a few frames later.
        const escape = (type) => (Module.keyboardListeningElement || document).dispatchEvent(
            new KeyboardEvent(type, { key: 'Escape', code: 'Escape', keyCode: 27, bubbles: true }));
        escape('keydown');
        setTimeout(() => escape('keyup'), 150);
      }
      window.musicSamples.push({ t: state.time, number, sounding: !!state.sounding, held: !!state.held,
                                 release: state.lastRelease });
    }, 10);
  });
}

// Each layer switch whose new layer came to sound: the samples from the switch to that first sounding
// one, and the few after it.
function layerSwitches(samples) {
  const found = [];
  for (let i = 1; i < samples.length; ++i) {
    if (samples[i].number === samples[i - 1].number || !samples[i - 1].sounding) continue;
    let first = i;
    while (first < samples.length && samples[first].number === samples[i].number && !samples[first].sounding) ++first;
    if (first >= samples.length || samples[first].number !== samples[i].number) continue;
    found.push({ from: samples[i - 1].number, to: samples[i].number, waiting: samples.slice(i, first),
                 after: samples.slice(first, first + 30).filter((s) => s.number === samples[i].number) });
  }
  return found;
}

test('a music layer switch leaves no silence; a pause during one stops every layer', async () => {
  const context = await browser.newContext({ viewport: { width: 640, height: 360 } });
  const page = await openPage(context, '/autoplay/tavok.html?autoplay+8');
  await sampleMusic(page);
  await page.keyboard.press('Shift');
  const switches = await waitFor('two layer switches', async () => {
    const found = layerSwitches(await page.evaluate(() => window.musicSamples));
    return found.length >= 2 ? found : null;
  }, 300);
  for (const { from, to, waiting, after } of switches) {
    const quiet = waiting.filter((s) => !s.held).length;
    // Past the longest hold the old layer stops even though the new one is still decoding.
    const heldTooLong = waiting.length > 0 && waiting[waiting.length - 1].t - waiting[0].t >= 0.9;
    assert.ok(quiet === 0 || heldTooLong, `track ${from} -> ${to}: ${quiet} of ${waiting.length} samples silent`);
    assert.equal(after.filter((s) => s.held).length, 0, `track ${from} -> ${to}: the old layer stops as the new one starts`);
  }
  assert.ok(switches.some((s) => s.waiting.length > 0), 'at least one switch waited for its new layer to decode');

  await page.evaluate(() => { window.pauseOnSwitch = true; });
  await waitFor('a switch to pause at', () => page.evaluate(() => window.pausedAtSwitch === true), 300);
  await waitFor('the pause menu', () => page.evaluate(() => Module._tavok_game_mode() === 5), 5);
  for (let i = 0; i < 8; ++i) {
    const state = await page.evaluate(() => Module.musicState());
    assert.equal(state.sounding || state.held, false, `no layer sounds in the pause (${state.lastRelease})`);
    await page.waitForTimeout(200);
  }
  assert.deepEqual(page.errors, []);
  await context.close();
});

// Phones, tablets, HiDPI screens and pads: the page around the canvas.

const kControlNames = ['up', 'down', 'left', 'right', 'act', 'pause'];
const kRoom0 = [100, 100, 20];

async function centreOf(locator) {
  const box = await locator.boundingBox();
  return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
}

async function room0Shows(page) {
  return waitFor('room 0 to show', async () => near(cellPixel(await canvasPicture(page, 'css'), 2, 1), kRoom0, 6), 30);
}

// The grid cell of room 0 (rows 1 and 2) the figure stands on, or null: the figure's solid white
// picture drawn through the room's tint is the brightest thing there, beside room 0's item (drawn pale
// green on its spot, column 10 of row 1, when the shuffle put one there), so that spot counts only when
// nothing else is lit.
async function figureCell(page) {
  const picture = await canvasPicture(page, 'css');
  let itemSpot = null;
  for (let y = 1; y <= 2; ++y) {
    for (let x = 0; x < 14; ++x) {
      const [r, g, b] = cellPixel(picture, x, y);
      if (!(g > 200 && r > 100 && b > 100)) continue;
      if (x === 10 && y === 1) itemSpot = { x, y };
      else return { x, y };
    }
  }
  return itemSpot;
}

// Waits until the figure has stood on one cell for half a second (a step is walked, not jumped).
async function settledFigure(page) {
  let last = null, since = Date.now();
  return waitFor('the figure to stand still', async () => {
    const cell = await figureCell(page);
    if (!cell || !last || cell.x !== last.x || cell.y !== last.y) {
      last = cell;
      since = Date.now();
      return null;
    }
    return Date.now() - since > 500 ? cell : null;
  }, 40);
}

test('a phone in portrait and landscape: six buttons beside the field, a finger plays, a crisp canvas', async () => {
  for (const viewport of [{ width: 390, height: 844 }, { width: 844, height: 390 }]) {
    const portrait = viewport.width < viewport.height;
    const context = await browser.newContext({ viewport, deviceScaleFactor: 3, hasTouch: true, isMobile: true });
    const page = await openPage(context, '/solid/tavok.html');
    const size = await page.evaluate(() => ({ width: canvas.width, height: canvas.height, box: canvas.getBoundingClientRect().toJSON() }));
    const box = size.box;
    assert.ok(size.width >= 2 * box.width && size.height >= 2 * box.height, `backing store ${size.width}x${size.height} for ${box.width}x${box.height}`);
    if (portrait) assert.equal(box.width, viewport.width, 'the field with its strips fills the width');
    // The rooms: grid columns 2 to 11, the canvas's whole height.
    const cell = box.height / 21, left = box.x + Math.round(box.width / 2) - 7 * cell;
    const rooms = { left: left + 2 * cell, right: left + 12 * cell, top: box.y, bottom: box.y + box.height };
    const field = { left, right: left + 14 * cell };
    const boxes = {};
    for (const name of kControlNames) {
      const button = page.getByRole('button', { name, exact: true });
      assert.ok(await button.isVisible(), `${name} shows`);
      const b = boxes[name] = await button.boundingBox();
      assert.ok(b.width >= 44 && b.height >= 44, `${name} is ${b.width}x${b.height}`);
      assert.ok(b.x >= 0 && b.y >= 0 && b.x + b.width <= viewport.width && b.y + b.height <= viewport.height, `${name} inside the page`);
      const overRooms = b.x < rooms.right && b.x + b.width > rooms.left && b.y < rooms.bottom && b.y + b.height > rooms.top;
      assert.ok(!overRooms, `${name} is clear of the rooms`);
    }
    if (portrait) {
      assert.ok(boxes.up.y >= box.y + box.height, 'the controls are below the field');
    } else {
      assert.ok(boxes.right.x + boxes.right.width <= field.left, 'the d-pad is left of the field');
      assert.ok(boxes.act.x >= field.right, 'act is right of the field');
    }

    // Holding "right" for a moment is the first move: room 0 shows.
    const cdp = await context.newCDPSession(page);
    const touch = (type, point) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: point ? [point] : [] });
    const right = await centreOf(page.getByRole('button', { name: 'right', exact: true }));
    await touch('touchStart', right);
    await page.waitForTimeout(300);
    await touch('touchEnd');
    await room0Shows(page);
    const before = await settledFigure(page);
    // A finger put down on "up" and slid onto a side direction, held on each, steps that way: the
    // d-pad follows the finger rather than the button it first pressed.
    const side = before.x < 7 ? 'right' : 'left';
    await touch('touchStart', await centreOf(page.getByRole('button', { name: 'up', exact: true })));
    await page.waitForTimeout(800);
    await touch('touchMove', await centreOf(page.getByRole('button', { name: side, exact: true })));
    await page.waitForTimeout(800);
    await touch('touchEnd');
    const after = await settledFigure(page);
    assert.equal(after.x, before.x + (side === 'right' ? 1 : -1), `sliding onto ${side} steps ${side} once`);
    // A quick tap (down and up within one display frame) is not lost: "pause" opens the pause menu.
    const pause = await centreOf(page.getByRole('button', { name: 'pause', exact: true }));
    await touch('touchStart', pause);
    await touch('touchEnd');
    await waitFor('the pause menu', () => page.evaluate(() => Module._tavok_game_mode() === 5), 5);
    assert.deepEqual(page.errors, []);
    await context.close();
  }
});

test('HiDPI without touch: a backing store at device pixels, no on-screen buttons, keys play; a resize keeps the game', async () => {
  const context = await browser.newContext({ viewport: { width: kWidth, height: kHeight }, deviceScaleFactor: 2 });
  const page = await openPage(context, '/solid/tavok.html');
  assert.deepEqual(await page.evaluate(() => [canvas.width, canvas.height, canvas.clientWidth, canvas.clientHeight]),
                   [2 * kWidth, 2 * kHeight, kWidth, kHeight]);
  for (const name of kControlNames) {
    assert.equal(await page.getByRole('button', { name, exact: true }).isVisible(), false, `no ${name} button`);
  }
  await tap(page, 'ArrowRight');
  await room0Shows(page);
  const before = await settledFigure(page);
  // Upright and narrower than the field: the canvas keeps 16:21 with the width, the game carries on.
  await page.setViewportSize({ width: 600, height: 900 });
  await waitFor('the canvas to fit', () => page.evaluate(() => canvas.width === 1200 && canvas.height === 1574), 5);
  await room0Shows(page);
  assert.deepEqual(await settledFigure(page), before, 'the same figure on the same cell');
  await tap(page, 'ArrowLeft');
  await waitFor('a step left', async () => (await settledFigure(page)).x === before.x - 1, 10);
  assert.equal(await page.evaluate(() => Module._tavok_game_mode()), 4);
  assert.deepEqual(page.errors, []);
  await context.close();
});

test('a standard gamepad, plugged in mid-game: the d-pad and the stick step once per push, button 0 acts, Start pauses; a second pad plays too', async () => {
  const context = await browser.newContext({ viewport: { width: 640, height: 360 } });
  await context.addInitScript(() => {
    const released = () => ({ pressed: false, touched: false, value: 0 });
    window.testPads = [0, 1].map((index) => ({ index, id: 'test pad', connected: false, mapping: 'standard',
      axes: [0, 0, 0, 0], buttons: Array.from({ length: 17 }, released), timestamp: 0 }));
    Object.defineProperty(navigator, 'getGamepads', { value: () => window.testPads.map((pad) => (pad.connected ? pad : null)) });
  });
  const page = await openPage(context, '/solid/tavok.html');
  const pad = (index, change) => page.evaluate(([i, c]) => {
    const p = window.testPads[i];
    p.connected = true;
    for (const [button, on] of c.buttons || []) p.buttons[button] = { pressed: on, touched: on, value: on ? 1 : 0 };
    if (c.axes) p.axes = c.axes;
  }, [index, change]);
  const push = async (index, down, up) => {
    await pad(index, down);
    await page.waitForTimeout(400);
    await pad(index, up);
    await page.waitForTimeout(150);
  };

  await push(0, { buttons: [[15, true]] }, { buttons: [[15, false]] });
  await room0Shows(page);
  const start = await settledFigure(page);
  // The figure starts on a shuffled cell: the pushes go away from the nearer side wall.
  const way = start.x <= 6 ? 1 : -1;
  // The stick held for 400 ms is one step; back inside the dead zone and out again, another.
  await push(0, { axes: [0.9 * way, 0.1, 0, 0] }, { axes: [0.2 * way, 0, 0, 0] });
  await push(0, { axes: [0.8 * way, 0, 0, 0] }, { axes: [0, 0, 0, 0] });
  assert.deepEqual(await settledFigure(page), { x: start.x + 2 * way, y: start.y }, 'two pushes of the stick, two steps');
  // Pad 1 (the second pad) steps back with its d-pad (14 is left, 15 right).
  const back = way === 1 ? 14 : 15;
  await push(1, { buttons: [[back, true]] }, { buttons: [[back, false]] });
  assert.deepEqual(await settledFigure(page), { x: start.x + way, y: start.y }, 'the second pad steps back');
  // Start is Escape; in the pause menu button 0 chooses the centre, which resumes.
  await push(0, { buttons: [[9, true]] }, { buttons: [[9, false]] });
  await waitFor('the pause menu', () => page.evaluate(() => Module._tavok_game_mode() === 5), 5);
  await push(0, { buttons: [[0, true]] }, { buttons: [[0, false]] });
  await waitFor('play again', () => page.evaluate(() => Module._tavok_game_mode() === 4), 5);
  assert.deepEqual(page.errors, []);
  await context.close();
});

test('a page hidden during play goes to the pause menu with the music stopped at once, and stays there', async () => {
  const context = await browser.newContext({ viewport: { width: 640, height: 360 } });
  const page = await openPage(context, '/solid/tavok.html');
  await tap(page, 'ArrowRight');
  await waitFor('the music to sound', async () => (await page.evaluate(() => Module.musicState())).sounding, 20);
  const setHidden = (hidden) => page.evaluate((h) => {
    Object.defineProperty(document, 'hidden', { value: h, configurable: true });
    Object.defineProperty(document, 'visibilityState', { value: h ? 'hidden' : 'visible', configurable: true });
    document.dispatchEvent(new Event('visibilitychange'));
    // Within the handler's turn, before any pass of the game could run.
    return Module.musicState().sounding;
  }, hidden);
  assert.equal(await setHidden(true), false, 'the music stops in the handler itself');
  await page.waitForTimeout(300);
  await setHidden(false);
  await waitFor('the pause menu', () => page.evaluate(() => Module._tavok_game_mode() === 5), 5);
  await page.waitForTimeout(1000);
  assert.equal(await page.evaluate(() => Module._tavok_game_mode()), 5, 'it stays paused');
  assert.equal((await page.evaluate(() => Module.musicState())).sounding, false);
  const menu = await canvasPicture(page);
  assert.ok(countLit(menu, 75, 40, 85, 320) > 100, 'the outer outline of the menu shows');
  await context.close();
});

test('a slow load shows the title and a progress bar that follows the bytes', async () => {
  const context = await browser.newContext({ viewport: { width: 390, height: 844 } });
  // The page records what its loading screen shows at every display frame.
  await context.addInitScript(() => {
    window.loadSeen = [];
    const look = () => {
      const bar = document.getElementById('load-progress');
      const title = document.querySelector('#loader h1');
      // A bar without a value is one that says "busy" (sizes not known yet).
      if (bar && title && bar.checkVisibility() && title.checkVisibility() && bar.hasAttribute('value')) {
        window.loadSeen.push(bar.value);
      }
      if (!(window.Module && Module.gameStarted)) requestAnimationFrame(look);
    };
    requestAnimationFrame(look);
  });
  const page = await context.newPage();
  const cdp = await context.newCDPSession(page);
  await cdp.send('Network.enable');
  // 500 kB/s: the 2.3 MB page loads in about five seconds.
  await cdp.send('Network.emulateNetworkConditions', { offline: false, latency: 20, downloadThroughput: 5e5, uploadThroughput: 5e5 });
  await page.goto(base + '/solid/tavok.html', { waitUntil: 'commit' });
  await waitFor('the game to start', () => page.evaluate(() => window.Module && Module.gameStarted === true).catch(() => false), 120);
  const seen = await page.evaluate(() => window.loadSeen);
  const steps = new Set(seen.map((value) => Math.round(value * 20)));
  assert.ok(seen[0] < 0.2 && seen[seen.length - 1] > 0.9 && steps.size >= 8,
            `the bar went ${seen[0]} to ${seen[seen.length - 1]} in ${steps.size} twentieths`);
  assert.ok(seen.every((value, i) => i === 0 || value >= seen[i - 1]), 'the bar never goes back');
  await waitFor('the loader to go', async () => !(await page.locator('#loader').isVisible()), 20);
  // The game's code ran long before its data was in: it must still start playing, not report missing files.
  assert.equal(await page.evaluate(() => Module._tavok_game_mode()), 4, 'the play screen');
  await context.close();
});

test('without WebGL the page says so and offers to try again, and the game never starts', async () => {
  const noWebGL = await chromium.launch({ executablePath: '/usr/bin/chromium',
                                          args: ['--no-sandbox', '--disable-gpu', '--disable-3d-apis'] });
  try {
    const page = await noWebGL.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.message));
    await page.goto(base + '/solid/tavok.html');
    await waitFor('the message', async () => /WebGL/.test(await page.locator('#load-message').textContent()), 10);
    assert.ok(await page.getByRole('button', { name: 'try again' }).isVisible());
    assert.equal(await page.evaluate(() => Module.calledRun), undefined, 'the game was not started');
    assert.deepEqual(errors, []);
  } finally {
    await noWebGL.close();
  }
});

test('a damaged resource bundle is reported by the loader, and the game never starts on it', async () => {
  const whole = fs.readFileSync(path.join(scratch, 'site', 'solid', 'tavok-res.data'));
  const context = await browser.newContext({ viewport: { width: 1280, height: 720 } });
  const page = await context.newPage();
  await page.route('**/tavok-res.data', (route) => route.fulfill({ body: whole.subarray(0, whole.length - 1000) }));
  await page.goto(base + '/solid/tavok.html');
  await waitFor('the message', async () => /tavok-res\.data is damaged/.test(await page.locator('#load-message').textContent()), 60);
  assert.ok(await page.getByRole('button', { name: 'try again' }).isVisible());
  assert.notEqual(await page.evaluate(() => Module.gameStarted), true, 'the game was not started');
  await context.close();
});

test('five full swarms: the bodies drawn through the page\'s own WebGL path give the GL emulation\'s pixels, and the emulation draws on unharmed after them', async () => {
  const context = await browser.newContext({ viewport: { width: kWidth, height: kHeight } });
  const page = await openPage(context, '/autoplay/tavok.html?swarms');
  await waitFor('the swarms', () => page.evaluate(() => Module._tavok_crawler_count() === 5500), 30);
  const result = await page.evaluate(() => {
    Module.pauseMainLoop();
    const gl = GLctx;
    const count = Module._tavok_gather_crawler_corners();
    const corners = Module._tavok_crawler_corners();
    // A colour of its own for every triangle, so that the colours' way through both drawings counts too.
    const floats = HEAPF32.subarray(corners >> 2, (corners >> 2) + count * 6);
    for (let i = 0; i < count; ++i) {
      const t = Math.floor(i / 3);
      floats.set([(t * 37 % 256) / 255, (t * 91 % 256) / 255, (t * 13 % 97) / 96], i * 6 + 3);
    }
    const picture = (emulated) => {
      gl.clearColor(0.5, 0.5, 0.5, 1);
      gl.clear(gl.COLOR_BUFFER_BIT);
      if (!emulated) {
        tavok_draw_crawler_corners_webgl(corners, count);
      } else {
        _glEnableClientState(0x8074 /* GL_VERTEX_ARRAY */);
        _glEnableClientState(0x8076 /* GL_COLOR_ARRAY */);
        for (let first = 0; first < count; first += 65535) {
          _glVertexPointer(3, 0x1406 /* GL_FLOAT */, 24, corners + first * 24);
          _glColorPointer(3, 0x1406, 24, corners + first * 24 + 12);
          _glDrawArrays(4 /* GL_TRIANGLES */, 0, Math.min(65535, count - first));
        }
        _glDisableClientState(0x8076);
        _glDisableClientState(0x8074);
      }
      // The emulation draws on after the bodies, as the masks do: a half-transparent quad over a third.
      _glEnable(0x0BE2 /* GL_BLEND */);
      _glBlendFunc(0x0302, 0x0303);
      _glColor4f(0.2, 0.4, 0.9, 0.5);
      _glBegin(7 /* GL_QUADS */);
      _glVertex3f(0, 0, 0); _glVertex3f(0, 240, 0); _glVertex3f(0, 240, 720); _glVertex3f(0, 0, 720);
      _glEnd();
      _glDisable(0x0BE2);
      const pixels = new Uint8Array(gl.drawingBufferWidth * gl.drawingBufferHeight * 4);
      gl.readPixels(0, 0, gl.drawingBufferWidth, gl.drawingBufferHeight, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
      return pixels;
    };
    gl.getError();
    const emulated = picture(true);
    const own = picture(false);
    const error = gl.getError();
    let differ = 0, bodies = 0;
    for (let i = 0; i < own.length; i += 4) {
      if (own[i] !== emulated[i] || own[i + 1] !== emulated[i + 1] || own[i + 2] !== emulated[i + 2]) ++differ;
      if (emulated[i] !== 128 || emulated[i + 1] !== 128 || emulated[i + 2] !== 128) ++bodies;
    }
    Module.resumeMainLoop();
    return { count, differ, bodies, error };
  });
  assert.ok(result.count > 150000, `${result.count} corners`);
  assert.ok(result.bodies > 100000, `${result.bodies} pixels drawn`);
  assert.equal(result.error, 0, 'no GL error');
  assert.equal(result.differ, 0, `${result.differ} pixels differ`);
  assert.deepEqual(page.errors, []);
  await context.close();
});
