// The browser edition's frame time in headless Chromium (software GL), on the test page at 1280x720:
// the field held lit with no swarm, then the same with all five swarms at their cap (5,500 crawlers),
// both set up through the World's own operations as the desktop benchmarks do. For each it prints the
// page's own work per pass (the game's code and the GL emulation in JavaScript, timed in the page) and
// the display frames the browser managed (requestAnimationFrame intervals, which also hold the
// browser's drawing of the canvas). Run by `make bench-web`.
// Usage: node bench/web/frame_time.mjs PAGE_FOLDER [SECONDS]
import { measureAgainstPage } from './page_bench.mjs';


const seconds = Number(process.argv[3] || 10);

function percentile(sorted, p) {
  return sorted.length ? sorted[Math.min(sorted.length - 1, Math.floor(p * sorted.length))] : NaN;
}

async function measure(browser, base, setup, expectCrawlers) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 720 } });
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
                longest: Module._tavok_pass_longest_ms() });
    }
    requestAnimationFrame(frame);
  }), seconds * 1000);
  if (errors.length) throw new Error(`${setup}: page errors: ${errors.join('; ')}`);
  await context.close();
  const sorted = result.intervals.slice().sort((a, b) => a - b);
  const total = result.intervals.reduce((a, b) => a + b, 0);
  console.log(`${setup === 'lit' ? 'lit field, no swarm' : `five full swarms (${crawlers} crawlers)`}, 1280x720: ` +
      `page work per pass mean ${result.mean.toFixed(2)} ms, longest ${result.longest.toFixed(1)} ms; ` +
      `${(result.passes / seconds).toFixed(1)} passes/s; display frames ${(result.intervals.length * 1000 / total).toFixed(1)}/s, ` +
      `interval median ${percentile(sorted, 0.5).toFixed(1)} ms, 95th percentile ${percentile(sorted, 0.95).toFixed(1)} ms`);
}

await measureAgainstPage('node bench/web/frame_time.mjs PAGE_FOLDER [SECONDS]', async (browser, base) => {
  await measure(browser, base, 'lit', 0);
  await measure(browser, base, 'swarms', 5500);
});
