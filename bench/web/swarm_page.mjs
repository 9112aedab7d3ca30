// The browser edition's full-swarm frame against a bare WebGL page drawing the same crawler triangles, in
// one run, at pixel ratio 1 and again at 2. The game's test page holds the field lit with all five swarms
// at their cap (?swarms); the bare page (bench/web/bare_swarm.html: no emscripten, no GL emulation) gets
// the triangles the game's batch gathers at that moment, in the layout the game hands WebGL, the same
// canvas size, pixel ratio and context attributes. Both are timed alike: the wall time of one frame (the
// game's whole pass: update, field, bodies, masks) ending in gl.finish(), and the same ending in a
// one-pixel readPixels, in interleaved rounds. Chromium's finish() returns once the GPU process has
// taken the commands, before SwiftShader has drawn them, so the goals web.swarm (pixel ratio 1) and
// web.swarm.hidpi (2), the game's page at most 1.25 x the bare one, are judged on the frames read back.
// For information, timed alike in the same rounds: the game's page with its bodies drawn through the GL
// emulation instead of its own WebGL path, the game's page with its field's tiles drawn cell by cell
// every frame instead of from the picture it keeps, the game's page with the field lit and no swarm
// (with its tiles from the kept picture and drawn cell by cell), and the bare
// page drawing a picture of that lit field as one textured quad before the triangles (the least any
// page must do for the whole frame).
// Usage: node bench/web/swarm_page.mjs PAGE_FOLDER [ROUNDS]
import { readFile } from 'node:fs/promises';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { measureAgainstPage } from './page_bench.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const rounds = Math.max(5, Number(process.argv[3] || 7));
const framesPerRound = 5;
const mostTimesBare = 1.25;

function median(values) {
  const sorted = values.slice().sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

async function openGame(context, base, query, errors) {
  const page = await context.newPage();
  page.on('pageerror', (error) => errors.push(`${query}: ${error.message}`));
  await page.goto(`${base}/tavok.html?${query}`);
  await page.waitForFunction(() => typeof Module._tavok_passes_timed === 'function' && Module.calledRun &&
      Module._tavok_passes_timed() > 30, null, { timeout: 120000 });
  return page;
}

// The game's frames: its own main loop is paused, and each pass is run as the loop would run it, with
// the bodies through the page's own WebGL path or, when `emulated`, through the GL emulation.
function gameFrames(page, n, emulated = false, fieldDirect = false) {
  return page.evaluate(({ n, emulated, fieldDirect }) => {
    Module.pauseMainLoop();
    Module.tavokCrawlersThroughEmulation = emulated;
    Module._tavok_draw_field_directly(fieldDirect ? 1 : 0);
    const times = [];
    const drawn = [];
    const pixel = new Uint8Array(4);
    while (times.length < n) {
      const before = Module._tavok_passes_timed();
      const start = performance.now();
      Browser.mainLoop.func();
      GLctx.finish();
      const took = performance.now() - start;
      GLctx.readPixels(0, 0, 1, 1, GLctx.RGBA, GLctx.UNSIGNED_BYTE, pixel);
      const tookDrawn = performance.now() - start;
      if (Module._tavok_passes_timed() > before) {
        times.push(took);
        drawn.push(tookDrawn);
      }
    }
    Module.tavokCrawlersThroughEmulation = false;
    Module._tavok_draw_field_directly(0);
    Module.resumeMainLoop();
    return { times, drawn };
  }, { n, emulated, fieldDirect });
}

function bareFrames(page, n) {
  return page.evaluate((n) => {
    const times = [];
    const drawn = [];
    const pixel = new Uint8Array(4);
    for (let i = 0; i < n; ++i) {
      const start = performance.now();
      frame();
      times.push(performance.now() - start);
      gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
      drawn.push(performance.now() - start);
    }
    return { times, drawn };
  }, n);
}

function toBase64(page, what) {
  return page.evaluate((what) => {
    let bytes;
    if (what === 'corners') {
      const corners = Module._tavok_gather_crawler_corners();
      bytes = new Uint8Array(HEAPU8.buffer, Module._tavok_crawler_corners(), corners * 24);
    } else {
      // The lit field as one pass leaves it, read before the page presents it.
      Module.pauseMainLoop();
      const before = Module._tavok_passes_timed();
      while (Module._tavok_passes_timed() === before) Browser.mainLoop.func();
      bytes = new Uint8Array(GLctx.drawingBufferWidth * GLctx.drawingBufferHeight * 4);
      GLctx.readPixels(0, 0, GLctx.drawingBufferWidth, GLctx.drawingBufferHeight, GLctx.RGBA, GLctx.UNSIGNED_BYTE,
          bytes);
      Module.resumeMainLoop();
    }
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    }
    return btoa(text);
  }, what);
}

async function bareSwarm(context, base, html, shape, fieldData, errors) {
  const page = await context.newPage();
  page.on('pageerror', (error) => errors.push(`bare page: ${error.message}`));
  await page.route(`${base}/bare_swarm.html`, (route) => route.fulfill({ contentType: 'text/html', body: html }));
  await page.goto(`${base}/bare_swarm.html`);
  const ready = await page.evaluate(({ s, fieldData }) => setUp(s.width, s.height, s.cssWidth, s.cssHeight, s.shift,
      s.attributes, s.data, fieldData), { s: shape, fieldData });
  if (!ready.linked || ready.error !== 0 || ready.count !== shape.corners) {
    throw new Error(`bare page not ready: ${JSON.stringify(ready)}`);
  }
  return page;
}

async function measureAtRatio(browser, base, html, pixelRatio, goal) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 720 }, deviceScaleFactor: pixelRatio });
  const errors = [];
  const game = await openGame(context, base, 'swarms', errors);
  await game.waitForTimeout(2000);
  const shape = await game.evaluate(() => {
    const canvas = Module.canvas;
    const rect = canvas.getBoundingClientRect();
    const width = canvas.width;
    const height = canvas.height;
    return { width, height, cssWidth: rect.width, cssHeight: rect.height, ratio: window.devicePixelRatio,
             shift: Math.round(width * 0.5) - 7 * height / 21, attributes: GLctx.getContextAttributes(),
             crawlers: Module._tavok_crawler_count() };
  });
  if (shape.crawlers !== 5500) throw new Error(`${shape.crawlers} crawlers, expected 5500`);
  shape.data = await toBase64(game, 'corners');
  shape.corners = Buffer.from(shape.data, 'base64').length / 24;

  const lit = await openGame(context, base, 'lit', errors);
  const fieldData = await toBase64(lit, 'field');
  const bare = await bareSwarm(context, base, html, shape, null, errors);
  const bareField = await bareSwarm(context, base, html, shape, fieldData, errors);
  const bareRatio = await bare.evaluate(() => window.devicePixelRatio);

  const ways = {
    game: (n) => gameFrames(game, n),
    bare: (n) => bareFrames(bare, n),
    emulated: (n) => gameFrames(game, n, true),
    fieldDirect: (n) => gameFrames(game, n, false, true),
    lit: (n) => gameFrames(lit, n),
    litDirect: (n) => gameFrames(lit, n, false, true),
    bareField: (n) => bareFrames(bareField, n),
  };
  const times = {};
  for (const [name, way] of Object.entries(ways)) {
    await way(2);
    times[name] = [];
    times[`${name}Drawn`] = [];
  }
  for (let round = 0; round < rounds; ++round) {
    for (const [name, way] of Object.entries(ways)) {
      const result = await way(framesPerRound);
      times[name].push(...result.times);
      times[`${name}Drawn`].push(...result.drawn);
    }
  }
  if (errors.length) throw new Error(`page errors: ${errors.join('; ')}`);
  await context.close();

  // The goal is judged on frames drawn to the end: finish() alone would leave the drawing out.
  const drawn = (name) => median(times[`${name}Drawn`]);
  const ratio = drawn('game') / drawn('bare');
  console.log(`five full swarms (${shape.crawlers} crawlers, ${shape.corners / 3} triangles), canvas ${shape.width}x${shape.height} ` +
      `at pixel ratio ${shape.ratio} (bare page ${bareRatio}), medians of ${rounds} interleaved rounds of ${framesPerRound} frames:`);
  const row = (what, name) => console.log(`  ${what.padEnd(66)} ${median(times[name]).toFixed(2)} ms   ` +
      `drawn (read back) ${drawn(name).toFixed(2)} ms`);
  row('the game\'s page, whole pass ending in gl.finish()', 'game');
  row('bare WebGL page, the same triangles, one draw call', 'bare');
  row('the game\'s page, bodies through the GL emulation (for information)', 'emulated');
  row('the game\'s page, field\'s tiles drawn cell by cell (for information)', 'fieldDirect');
  row('the game\'s page, lit field, no swarm (for information)', 'lit');
  row('the same, the field\'s tiles drawn cell by cell (for information)', 'litDirect');
  row('bare WebGL page, the lit field\'s picture and the triangles (floor)', 'bareField');
  console.log(`  the game's page less its lit field, drawn: ${(drawn('game') - drawn('lit')).toFixed(2)} ms ` +
      `(the bodies and their update, against the bare page's ${drawn('bare').toFixed(2)} ms); ` +
      `the floor, the field's picture and the triangles, at ${(drawn('bareField') / drawn('bare')).toFixed(2)} x the bare page`);
  console.log(`GOAL ${goal} | game page's full-swarm frame vs a bare WebGL page drawing the same triangles, pixel ratio ` +
      `${pixelRatio} (same run, drawn) | ${drawn('game').toFixed(2)} ms | limit ${mostTimesBare} x ${drawn('bare').toFixed(2)} ms | ` +
      `ratio ${ratio.toFixed(2)} | ${ratio <= mostTimesBare ? 'met' : 'NOT MET'}`);
}

await measureAgainstPage('node bench/web/swarm_page.mjs PAGE_FOLDER [ROUNDS]', async (browser, base) => {
  const html = await readFile(path.join(here, 'bare_swarm.html'), 'utf8');
  await measureAtRatio(browser, base, html, 1, 'web.swarm');
  await measureAtRatio(browser, base, html, 2, 'web.swarm.hidpi');
});
