// The browser edition's frame time in headless Chromium (software GL), on the test page: the field held
// lit with no swarm, then the same with all five swarms at their cap (5,500 crawlers), both set up
// through the World's own operations as the desktop benchmarks do, on each page shape of kPages (a
// 1280x720 window, and a phone upright and on its side at 3 device pixels per CSS pixel). For each it
// prints the canvas's backing store, the page's own work per pass (the game's code and the GL emulation
// in JavaScript, timed in the page) and the display frames the browser managed (requestAnimationFrame
// intervals, which also hold the browser's drawing of the canvas). Run by `make bench-web`.
// Usage: node bench/web/frame_time.mjs PAGE_FOLDER [SECONDS] [PAGE_SHAPE_PART] (only the page shapes whose
// name holds that text, e.g. "phone")
import { measureAgainstPage } from './page_bench.mjs';

const seconds = Number(process.argv[3] || 10);
const only = process.argv[4] || '';

// Page shapes to measure, each a browser context's options; add one here to measure it too.
const kPages = [
  { name: '1280x720', options: { viewport: { width: 1280, height: 720 } } },
  { name: 'phone 390x844 x3', options: { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, hasTouch: true, isMobile: true } },
  // The same phone at 2 device pixels per CSS pixel, the lowest cap allowed: what a cap would save.
  { name: 'phone 390x844 x2', options: { viewport: { width: 390, height: 844 }, deviceScaleFactor: 2, hasTouch: true, isMobile: true } },
  { name: 'phone 844x390 x3', options: { viewport: { width: 844, height: 390 }, deviceScaleFactor: 3, hasTouch: true, isMobile: true } },
];
// World set-ups of the test page (web/main_web.cpp) and the crawlers each must show.
const kSetups = [
  { setup: 'lit', crawlers: 0, name: 'lit field, no swarm' },
  { setup: 'swarms', crawlers: 5500, name: 'five full swarms' },
];

function percentile(sorted, p) {
  return sorted.length ? sorted[Math.min(sorted.length - 1, Math.floor(p * sorted.length))] : NaN;
}

async function measure(browser, base, pageShape, { setup, crawlers: expectCrawlers, name }) {
  const context = await browser.newContext(pageShape.options);
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(`${base}/tavok.html?${setup}`);
  await page.waitForFunction(() => typeof Module._tavok_passes_timed === 'function' && Module.calledRun &&
      Module._tavok_passes_timed() > 30, null, { timeout: 120000 });
  const crawlers = await page.evaluate(() => Module._tavok_crawler_count());
  if (crawlers !== expectCrawlers) throw new Error(`${setup}: ${crawlers} crawlers, expected ${expectCrawlers}`);
  // Settle, then count from a clean start.
  await page.waitForTimeout(2000);
  const result = await page.evaluate((ms) => new Promise((resolve) => {
    Module._tavok_pass_times_reset();
    const intervals = [];
    let last = 0;
    const end = performance.now() + ms;
    function frame(now) {
      if (last) intervals.push(now - last);
      last = now;
      if (now < end) {
        requestAnimationFrame(frame);
        return;
      }
      resolve({ intervals, passes: Module._tavok_passes_timed(), mean: Module._tavok_pass_mean_ms(),
                longest: Module._tavok_pass_longest_ms(), backing: `${canvas.width}x${canvas.height}` });
    }
    requestAnimationFrame(frame);
  }), seconds * 1000);
  if (errors.length) throw new Error(`${setup}: page errors: ${errors.join('; ')}`);
  await context.close();
  const sorted = result.intervals.slice().sort((a, b) => a - b);
  const total = result.intervals.reduce((a, b) => a + b, 0);
  console.log(`${name}${crawlers ? ` (${crawlers} crawlers)` : ''}, ${pageShape.name}, backing store ${result.backing}: ` +
      `page work per pass mean ${result.mean.toFixed(2)} ms, longest ${result.longest.toFixed(1)} ms; ` +
      `${(result.passes / seconds).toFixed(1)} passes/s; display frames ${(result.intervals.length * 1000 / total).toFixed(1)}/s, ` +
      `interval median ${percentile(sorted, 0.5).toFixed(1)} ms, 95th percentile ${percentile(sorted, 0.95).toFixed(1)} ms`);
}

await measureAgainstPage('node bench/web/frame_time.mjs PAGE_FOLDER [SECONDS] [PAGE_SHAPE_PART]', async (browser, base) => {
  for (const setup of kSetups) {
    for (const pageShape of kPages.filter((shape) => shape.name.includes(only))) {
      await measure(browser, base, pageShape, setup);
    }
  }
});
