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

const sourceDir = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../..');
const desktopBuild = process.env.TAVOK_BUILD_DIR;
const webBuild = process.env.TAVOK_WEB_BUILD_DIR;
const kWidth = 1280, kHeight = 720;
const kCell = kHeight / 21, kShift = kWidth / 2 - 7 * kCell;

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

// A copy of a built page folder with its own res/ packed in.
function pageWithRes(name, pageDir, resDir) {
  const folder = path.join(scratch, 'site', name);
  fs.mkdirSync(folder, { recursive: true });
  for (const file of ['tavok.html', 'tavok.js', 'tavok.wasm']) {
    fs.copyFileSync(path.join(pageDir, file), path.join(folder, file));
  }
  execFileSync('bash', [path.join(sourceDir, 'web/pack-res.sh'), resDir, folder]);
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
  browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--use-gl=angle', '--use-angle=swiftshader',
           '--enable-unsafe-swiftshader'],
  });
});

after(async () => {
  if (browser) await browser.close();
  if (server) server.close();
  if (scratch) fs.rmSync(scratch, { recursive: true, force: true });
});

async function waitFor(what, condition, seconds) {
  const end = Date.now() + seconds * 1000;
  for (;;) {
    const value = await condition();
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, 200));
  }
}

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

async function canvasPicture(page) {
  return decodePng(await page.locator('canvas').screenshot());
}

// The pixel at the centre of grid cell (x, y), y counted upwards as the game does.
function cellPixel(picture, x, y) {
  return picture.pixel(Math.floor(kShift + (x + 0.5) * kCell), kHeight - 1 - Math.floor((y + 0.5) * kCell));
}

function near(pixel, [r, g, b], tolerance = 3) {
  return Math.abs(pixel[0] - r) <= tolerance && Math.abs(pixel[1] - g) <= tolerance &&
         Math.abs(pixel[2] - b) <= tolerance;
}

function countLit(picture, x0, y0, x1, y1) {
  let lit = 0;
  for (let y = y0; y < y1; ++y) {
    for (let x = x0; x < x1; ++x) {
      const [r, g, b] = picture.pixel(x, y);
      if (r + g + b > 0) ++lit;
    }
  }
  return lit;
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
