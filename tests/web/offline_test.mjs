// The page offline and its versions, in headless Chromium: after one visit the page loads and plays with
// the network gone; a worker whose files the host does not yet serve whole is refused; a new build
// served at the same address replaces the old one whole on the visit after the one that found it. And
// the zip for a static host, served by web/serve.mjs with every file's type and the gzip copies. Run by run-web-tests.sh, which builds the pages first.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import crypto from 'node:crypto';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import { serveFolder } from '../../web/serve.mjs';
import { stampPage, kWorkerName } from '../../web/stamp_page.mjs';
import { decodePng } from './png.mjs';
import { launchChromium, roomZeroLit, waitFor } from './page_checks.mjs';

const sourceDir = path.resolve(path.dirname(new URL(import.meta.url).pathname), '../..');
const webBuild = process.env.TAVOK_WEB_BUILD_DIR;
const kWidth = 1280, kHeight = 720;

let scratch, browser, server, base;

before(async () => {
  scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'tavok-offline-'));
  fs.mkdirSync(path.join(scratch, 'site'));
  server = await serveFolder(path.join(scratch, 'site'));
  base = `http://127.0.0.1:${server.address().port}`;
  browser = await launchChromium();
});

after(async () => {
  if (browser) await browser.close();
  if (server) server.close();
  if (scratch) fs.rmSync(scratch, { recursive: true, force: true });
});

// SHA-256 of every file the page loads (the worker is the browser's to fetch).
function digests(folder) {
  const files = {};
  for (const name of fs.readdirSync(folder).filter((name) => name !== kWorkerName)) {
    files[name] = crypto.createHash('sha256').update(fs.readFileSync(path.join(folder, name))).digest('hex');
  }
  return files;
}

// Opens the address, or reloads the page, and waits for the game's first passes.
async function visit(page, address) {
  await (address ? page.goto(address) : page.reload());
  await waitFor('the game to start', () => page.evaluate(() => typeof Module !== 'undefined' &&
      Module.calledRun && Module._tavok_passes_timed() > 3), 60);
}

// While the worker fetches and checks a build, the game's passes stop: on this machine the
// software-rendered game at full rate starves the worker, which shares its process (a new worker took
// 48 s to start beside the running game, 6 s with its passes stopped).
const stopPasses = (page) => page.evaluate(() => Module.pauseMainLoop());

// The cache names of this origin's taVok workers.
const cacheNames = (page) => page.evaluate(() => caches.keys());

// True once the worker of `version` is in charge and its build is the only one kept.
async function inCharge(page, version) {
  const { names, state } = await page.evaluate(async () => ({
    names: await caches.keys(),
    state: (await navigator.serviceWorker.getRegistration())?.active?.state,
  }));
  return state === 'activated' && names.length === 1 && names[0].endsWith(version);
}

// An arrow key lights room 0 on the canvas's pixels.
async function playsRoomZero(page) {
  await page.keyboard.down('ArrowRight');
  await page.waitForTimeout(120);
  await page.keyboard.up('ArrowRight');
  await waitFor('room 0 to light', async () => roomZeroLit(decodePng(await page.locator('canvas').screenshot())), 20);
}

test('after one visit the page plays offline; a new build replaces the old one whole', async () => {
  const site = path.join(scratch, 'site', 'offline');
  fs.cpSync(path.join(webBuild, 'page'), site, { recursive: true });
  const versionA = stampPage(site);
  // Build B: the same page with one file changed, and its worker stamped again.
  const buildB = path.join(scratch, 'build-b');
  fs.cpSync(site, buildB, { recursive: true });
  fs.appendFileSync(path.join(buildB, 'tavok.html'), '<!-- build B -->\n');
  const versionB = stampPage(buildB);
  assert.notEqual(versionA, versionB);

  const context = await browser.newContext({ viewport: { width: kWidth, height: kHeight } });
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await visit(page, `${base}/offline/tavok.html`);
  await stopPasses(page);
  await waitFor('build A to be cached', () => inCharge(page, versionA), 60);

  // Offline: every file comes from the worker's cache, and the game plays.
  await context.setOffline(true);
  await visit(page);
  assert.ok(await page.evaluate(() => navigator.serviceWorker.controller !== null), 'the worker serves the page');
  await playsRoomZero(page);
  if (process.env.TAVOK_SHOT_DIR) {
    fs.writeFileSync(path.join(process.env.TAVOK_SHOT_DIR, 'offline.png'), await page.screenshot());
  }
  await context.setOffline(false);

  // A host half way through an upload: B's worker, A's page. The worker checks every file it fetches
  // against its list, so it is refused and A stays.
  fs.copyFileSync(path.join(buildB, kWorkerName), path.join(site, kWorkerName));
  await stopPasses(page);
  const outcome = await page.evaluate(async () => {
    const registration = await navigator.serviceWorker.getRegistration();
    await registration.update();
    const worker = registration.installing || registration.waiting;
    if (!worker) return 'no new worker';
    if (worker.state === 'redundant' || worker.state === 'installed') return worker.state;
    return new Promise((resolve) => worker.addEventListener('statechange', () => {
      if (worker.state === 'redundant' || worker.state === 'installed') resolve(worker.state);
    }));
  });
  assert.equal(outcome, 'redundant', 'a worker whose files do not match is refused');
  assert.deepEqual((await cacheNames(page)).map((name) => name.endsWith(versionA)), [true]);

  // B served whole: the visit that finds it still runs A whole, and B takes over once the game there
  // has started; the next visit, offline, is B in every file.
  fs.cpSync(buildB, site, { recursive: true });
  await visit(page);
  await stopPasses(page);
  assert.equal(await page.evaluate(() => document.documentElement.outerHTML.includes('build B')), false);
  await waitFor('build B to replace A', () => inCharge(page, versionB), 60);
  await context.setOffline(true);
  await visit(page);
  const served = await page.evaluate(async (names) => {
    const found = {};
    for (const name of names) {
      const bytes = await (await fetch(name)).arrayBuffer();
      found[name] = Array.from(new Uint8Array(await crypto.subtle.digest('SHA-256', bytes)),
                               (b) => b.toString(16).padStart(2, '0')).join('');
    }
    return found;
  }, Object.keys(digests(buildB)));
  assert.deepEqual(served, digests(buildB), 'every file of the page is build B\'s');
  await playsRoomZero(page);
  assert.deepEqual(errors, []);
  await context.close();
});

function get(address, headers = {}) {
  return new Promise((resolve, reject) => {
    http.get(address, { headers }, (response) => {
      const chunks = [];
      response.on('data', (chunk) => chunks.push(chunk));
      response.on('end', () => resolve({ headers: response.headers, body: Buffer.concat(chunks) }));
    }).on('error', reject);
  });
}

test('the zip for a static host unpacks to the page with gzip copies; the server types each file and sends gzip copies', async () => {
  const zip = path.join(scratch, 'tavok-web.zip');
  execFileSync('bash', [path.join(sourceDir, 'web/make-dist.sh'), path.join(webBuild, 'page'), zip]);
  execFileSync('cmake', ['-E', 'tar', 'xf', zip], { cwd: path.join(scratch, 'site') });
  const folder = path.join(scratch, 'site', 'tavok'), built = path.join(webBuild, 'page');
  const read = (name) => fs.readFileSync(path.join(folder, name));
  for (const name of fs.readdirSync(built)) assert.ok(read(name).equals(fs.readFileSync(path.join(built, name))), name);
  const copies = fs.readdirSync(folder).filter((name) => name.endsWith('.gz'));
  for (const copy of copies) assert.ok(zlib.gunzipSync(read(copy)).equals(read(copy.slice(0, -3))), copy);
  assert.ok(copies.includes('tavok.wasm.gz') && copies.includes('tavok.js.gz'), copies.join(' '));
  assert.ok(!copies.includes('tavok-res.data.gz'), 'no copy of the already compressed data');

  const expected = {
    'tavok.html': 'text/html; charset=utf-8', 'tavok.js': 'text/javascript', 'tavok-sw.js': 'text/javascript',
    'tavok.wasm': 'application/wasm', 'tavok.webmanifest': 'application/manifest+json',
    'icon-192.png': 'image/png', 'tavok-res.data': 'application/octet-stream',
  };
  for (const [name, type] of Object.entries(expected)) {
    assert.equal((await get(`${base}/tavok/${name}`)).headers['content-type'], type, name);
  }
  const manifest = JSON.parse((await get(`${base}/tavok/tavok.webmanifest`)).body);
  assert.equal(manifest.display, 'fullscreen');
  assert.deepEqual(manifest.icons.map((icon) => icon.sizes), ['192x192', '512x512']);

  const zipped = await get(`${base}/tavok/tavok.wasm`, { 'Accept-Encoding': 'gzip, deflate' });
  assert.equal(zipped.headers['content-encoding'], 'gzip');
  assert.equal(zipped.headers['content-type'], 'application/wasm');
  assert.ok(zipped.body.equals(read('tavok.wasm.gz')));
  assert.ok((await get(`${base}/tavok/tavok.wasm`)).body.equals(read('tavok.wasm')), 'plain bytes to one that does not');
});
