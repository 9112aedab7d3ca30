// The browser edition in a second engine, Firefox ESR driven over WebDriver BiDi: a key reveals room 0,
// Escape pauses and resumes, a missing picture ends in the red message screen; and a Firefox without
// WebGL shows the loader's message saying so. Run by run-firefox-tests.sh under a private X server
// (Firefox's headless mode has no WebGL here).
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';
import { serveFolder } from '../../web/serve.mjs';
import { decodePng } from './png.mjs';
import { countLit, roomZeroLit, waitFor } from './page_checks.mjs';

const sourceDir = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../..');
const desktopBuild = process.env.TAVOK_BUILD_DIR;
const webBuild = process.env.TAVOK_WEB_BUILD_DIR;
const kWidth = 1280, kHeight = 720;

let scratch, server, base, firefox;

function launchFirefox(prefs = {}) {
  return puppeteer.launch({
    browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: false,
    defaultViewport: { width: kWidth, height: kHeight },
    extraPrefsFirefox: { 'media.autoplay.default': 0, ...prefs },
  });
}

before(async () => {
  scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'tavok-firefox-'));
  const site = path.join(scratch, 'site');
  fs.cpSync(path.join(webBuild, 'page'), path.join(site, 'page'), { recursive: true });
  // The page with res/ lacking one picture: the game's start-up must fail on it.
  const res = path.join(scratch, 'res-missing');
  fs.cpSync(path.join(desktopBuild, 'res'), res, { recursive: true });
  fs.rmSync(path.join(res, '1190.dat'));
  fs.cpSync(path.join(site, 'page'), path.join(site, 'missing'), { recursive: true });
  execFileSync('node', [path.join(sourceDir, 'web/pack_res.mjs'), res, path.join(site, 'missing')]);
  server = await serveFolder(site);
  base = `http://127.0.0.1:${server.address().port}`;
  firefox = await launchFirefox();
});

after(async () => {
  if (firefox) await firefox.close();
  if (server) server.close();
  if (scratch) fs.rmSync(scratch, { recursive: true, force: true });
});

async function openPage(address) {
  const page = await firefox.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  page.errors = errors;
  await page.goto(base + address);
  await waitFor('the game to start', () => page.evaluate(() => typeof Module !== 'undefined' &&
      Module.calledRun === true && Module._tavok_passes_timed() > 3), 60);
  await page.focus('canvas');
  return page;
}

async function canvasPicture(page) {
  return decodePng(Buffer.from(await (await page.$('canvas')).screenshot()));
}

async function tap(page, key) {
  await page.keyboard.down(key);
  await new Promise((resolve) => setTimeout(resolve, 120));
  await page.keyboard.up(key);
}

async function keyRevealsRoomZero(page) {
  await tap(page, 'ArrowRight');
  return waitFor('room 0 to show', async () => {
    const picture = await canvasPicture(page);
    return roomZeroLit(picture) ? picture : null;
  }, 20);
}

test('Firefox: the page starts black; one arrow key reveals room 0 and starts the music', async () => {
  const page = await openPage('/page/tavok.html');
  assert.deepEqual(await page.evaluate(() => [canvas.width, canvas.height]), [kWidth, kHeight]);
  assert.equal(countLit(await canvasPicture(page), 0, 0, kWidth, kHeight, 2), 0, 'nothing is drawn before a key');
  await keyRevealsRoomZero(page);
  if (process.env.TAVOK_SHOT_DIR) {
    fs.writeFileSync(path.join(process.env.TAVOK_SHOT_DIR, 'firefox.png'), await page.screenshot());
  }
  const music = await waitFor('track 1 to sound', async () => {
    const state = await page.evaluate(() => Module.musicState());
    return state.sounding ? state : null;
  }, 20);
  assert.equal(music.loop, true);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('Firefox: Escape shows the pause menu and pauses the music; Escape again resumes', async () => {
  const page = await openPage('/page/tavok.html');
  await keyRevealsRoomZero(page);
  await tap(page, 'Escape');
  assert.equal(await page.evaluate(() => Module._tavok_game_mode()), 5);
  // The outermost green outline runs down both sides at an eighth of the width in; the field is gone.
  await waitFor('the outlines', async () => {
    const shot = await canvasPicture(page);
    return countLit(shot, 150, 100, 170, 620) > 300 && countLit(shot, 1110, 100, 1130, 620) > 300 &&
           countLit(shot, 0, 0, 150, kHeight) === 0 && !roomZeroLit(shot);
  }, 10);
  assert.equal((await page.evaluate(() => Module.musicState())).sounding, false, 'music paused');
  await tap(page, 'Escape');
  assert.equal(await page.evaluate(() => Module._tavok_game_mode()), 4);
  await waitFor('the field to come back', async () => roomZeroLit(await canvasPicture(page)), 10);
  await waitFor('the music to resume', async () => (await page.evaluate(() => Module.musicState())).sounding, 10);
  await page.close();
});

test('Firefox: a page whose res/ lacks a picture shows the red message screen naming the file', async () => {
  const page = await openPage('/missing/tavok.html');
  assert.equal(await page.evaluate(() => Module._tavok_game_mode()), 3);
  assert.match(await page.evaluate(() => UTF8ToString(Module._tavok_message_text())),
               /^error\n-----\ncould not load resource file:\n1190\.dat\n/);
  const picture = await canvasPicture(page);
  assert.deepEqual(picture.pixel(kWidth - 5, kHeight - 5), [255, 0, 0]);
  let white = 0;
  for (let y = 0; y < kHeight / 2; y += 2) {
    for (let x = 0; x < kWidth; x += 2) {
      const [r, g, b] = picture.pixel(x, y);
      if (r > 200 && g > 200 && b > 200) ++white;
    }
  }
  assert.ok(white > 500, `${white} white samples of text`);
  await tap(page, 'Escape');
  await waitFor('the game to end', () => page.evaluate(() => Module.exitCode === 1), 10);
  await page.close();
});

// Needs the loader with its failure messages; until that is in this branch this case fails.
test('Firefox without WebGL: the page says that WebGL is missing', async () => {
  const noWebGL = await launchFirefox({ 'webgl.disabled': true });
  try {
    const page = await noWebGL.newPage();
    await page.goto(`${base}/page/tavok.html`);
    assert.equal(await page.evaluate(() => document.createElement('canvas').getContext('webgl')), null,
                 'this Firefox has no WebGL');
    await waitFor('a visible message naming WebGL', () => page.evaluate(() =>
        Array.from(document.body.querySelectorAll('*')).some((element) =>
            element.checkVisibility() && element.children.length === 0 && /WebGL/.test(element.textContent))), 30);
  } finally {
    await noWebGL.close();
  }
});
