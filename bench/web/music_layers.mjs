// How the browser edition's music layers switch, in headless Chromium: the scripted player plays the
// test page (8 world steps per browser frame) after a key press that lets the page start audio, and
// the page's music is sampled every 10 ms. For each layer switch it prints the silence in which no layer
// sounded (neither the new one nor the old one, held while the new one decodes), how long the old one
// was held and why it stopped, and how far the new layer starts from the point of the loop
// the game asked for (the asked position moved on by the time since it was asked); the same for the
// seeks to the loop's start while a layer sounds. Positions are the browser mixer's own reckoning
// (Web Audio does not report a play head). Run by `make bench-web`.
// Usage: node bench/web/music_layers.mjs PAGE_FOLDER [SWITCHES]
import { measureAgainstPage } from './page_bench.mjs';

const switches = Number(process.argv[3] || 4);

// The signed difference a - b on a loop of the given length, within half a loop.
function loopDifference(a, b, length) {
  let d = (a - b) % length;
  if (d > length / 2) d -= length;
  if (d < -length / 2) d += length;
  return d;
}

// Where the loop should be at context time t after the latest seek before it.
function expectedAt(seeks, t, length) {
  let seek = null;
  for (const s of seeks) if (s.at <= t) seek = s;
  return seek ? { seek, position: (seek.position + (t - seek.at)) % length } : null;
}

await measureAgainstPage('node bench/web/music_layers.mjs PAGE_FOLDER [SWITCHES]', async (browser, base) => {
  const context = await browser.newContext({ viewport: { width: 640, height: 360 } });
  const page = await context.newPage();
  await page.goto(`${base}/tavok.html?autoplay+8`);
  await page.waitForFunction(() => typeof Module._tavok_music_number === 'function' && Module.calledRun &&
      Module._tavok_passes_timed() > 3, null, { timeout: 60000 });
  await page.evaluate(() => {
    Module.musicSeekLog = [];
    window.musicSamples = [];
    setInterval(() => {
      const state = Module.musicState();
      if (state.context !== 'running') return;
      window.musicSamples.push({ t: state.time, number: Module._tavok_music_number(), sounding: !!state.sounding,
                                 held: !!state.held, release: state.lastRelease, position: state.position,
                                 duration: state.duration });
    }, 10);
  });
  const contextBefore = await page.evaluate(() => Module.musicState().context);
  // A key the game does not use: only the browser's audio gesture.
  await page.keyboard.press('Shift');
  const end = Date.now() + 600000;
  for (;;) {
    const seen = await page.evaluate(() => new Set(window.musicSamples.map((s) => s.number)).size);
    if (seen > switches + 1 || Date.now() > end) break;
    await page.waitForTimeout(1000);
  }
  await page.waitForTimeout(3000);
  const { samples, seeks, contextState } = await page.evaluate(() => ({
    samples: window.musicSamples, seeks: Module.musicSeekLog, contextState: Module.musicState().context }));
  await context.close();

  console.log(`audio context before the first key: ${contextBefore}, after it: ${contextState}; ${samples.length} samples, ${seeks.length} seeks`);
  const length = samples.find((s) => s.duration > 0)?.duration || 0;
  console.log(`loop length ${length.toFixed(3)} s`);
  for (let i = 1; i < samples.length; ++i) {
    const before = samples[i - 1], now = samples[i];
    if (now.number === before.number) continue;
    // The new layer's first sounding sample; the silence is the longest run of samples before it, from
    // the last one with the old layer sounding, in which no layer sounded (the old one may be held).
    let first = i;
    while (first < samples.length && samples[first].number === now.number && !samples[first].sounding) ++first;
    if (first >= samples.length || samples[first].number !== now.number) {
      const next = first < samples.length ? samples[first].t - now.t : NaN;
      console.log(`track ${before.number} -> ${now.number}: the new layer never sounded ` +
          `(the next switch came ${(next * 1000).toFixed(0)} ms later)`);
      continue;
    }
    let last = i - 1;
    while (last >= 0 && !samples[last].sounding) --last;
    let silence = last < 0 ? NaN : 0, quietSince = null;
    for (let k = last + 1; k <= first && last >= 0; ++k) {
      const quiet = k < first && !samples[k].held;
      if (quiet && quietSince === null) quietSince = samples[k - 1].t;
      if (!quiet && quietSince !== null) {
        silence = Math.max(silence, samples[k].t - quietSince);
        quietSince = null;
      }
    }
    const heldFor = samples.slice(i, first).filter((s) => s.held).length * 10;
    const both = samples.slice(first, first + 20).filter((s) => s.number === now.number && s.held).length;
    const expected = expectedAt(seeks, samples[first].t, length);
    const off = expected ? loopDifference(samples[first].position, expected.position, length) : NaN;
    console.log(`track ${before.number} -> ${now.number}: silent ${(silence * 1000).toFixed(0)} ms ` +
        `(sample spacing 10 ms; the old layer held ~${heldFor} ms, stopped: ${samples[first].release || '-'}, ` +
        `both sounding in ${both} samples); starts ${(off * 1000).toFixed(0)} ms from the asked point of the loop ` +
        `(asked ${expected ? expected.seek.position.toFixed(3) : '?'} s)`);
  }
  // Seeks while a layer sounds (the loop's restarts): the position just after against the asked one.
  const offs = [];
  for (const seek of seeks) {
    const after = samples.find((s) => s.t > seek.at + 0.02 && s.sounding);
    const prior = samples.filter((s) => s.t <= seek.at).pop();
    if (!after || !prior || !prior.sounding || after.number !== prior.number || after.t > seek.at + 0.1) continue;
    const expected = expectedAt(seeks, after.t, length);
    offs.push(loopDifference(after.position, expected.position, length) * 1000);
  }
  if (offs.length) {
    offs.sort((a, b) => a - b);
    console.log(`seeks while sounding: ${offs.length}, off by ${offs[0].toFixed(0)} .. ` +
        `${offs[offs.length - 1].toFixed(0)} ms, median ${offs[Math.floor(offs.length / 2)].toFixed(0)} ms`);
  }
});
