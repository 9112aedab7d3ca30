// The page's load, in headless Chromium (software GL): the time from navigation to the game's first
// drawn frame with a cold cache at 10 Mbit/s (throttled through the DevTools protocol, the files sent
// gzip where the folder holds gzip copies, as from `make web-dist`), and with a warm cache, every file
// from the service worker. Also the download: every file of the folder gzip -9, as a server sends them.
// Run by `make bench-web` on the unpacked zip. Usage: node bench/web/load_time.mjs PAGE_FOLDER [RUNS]
import fs from 'node:fs';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { measureAgainstPage } from './page_bench.mjs';

const runs = Number(process.argv[3] || 3);
const kBytesPerSecond = 10e6 / 8;
// The download before the page worked offline (docs/web.md).
const kDownloadBefore = 1927569;

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

function printDownload(folder) {
  let total = 0;
  const parts = [];
  for (const name of fs.readdirSync(folder).filter((name) => !name.endsWith('.gz')).sort()) {
    // gzip itself, as the earlier figure was taken (node's zlib packs a few hundred bytes larger).
    const size = execFileSync('gzip', ['-9', '-n', '-c', path.join(folder, name)], { maxBuffer: 1 << 30 }).length;
    total += size;
    parts.push(`${name} ${size}`);
  }
  console.log(`download (gzip -9): ${total} bytes, ${total - kDownloadBefore >= 0 ? '+' : ''}` +
              `${total - kDownloadBefore} over ${kDownloadBefore}; ${parts.join(', ')}`);
}

// Milliseconds from the navigation to the first pass the game drew, and to the last of the game's files
// arriving (what the network or the worker can shorten; the rest is the page's start-up), read in the page.
async function firstFrame(page, address) {
  await page.goto(address);
  await page.waitForFunction(() => window.firstFrameAt, null, { timeout: 120000, polling: 50 });
  return page.evaluate(() => ({
    frame: window.firstFrameAt,
    // The loader's marks: every file in its hands, and the game set up (before its first pass).
    filesIn: performance.getEntriesByName('tavok-files-in')[0]?.startTime,
    setUp: performance.getEntriesByName('tavok-game-set-up')[0]?.startTime,
    files: Math.max(...performance.getEntriesByType('resource').filter((entry) => /tavok/.test(entry.name))
                                                                 .map((entry) => entry.responseEnd)),
    // Every byte that came over the network for the page (headers included), as the browser counts
    // them; a file served from a cache counts 0.
    bytes: [...performance.getEntriesByType('navigation'), ...performance.getEntriesByType('resource')]
      .reduce((sum, entry) => sum + entry.transferSize, 0),
  }));
}

function summary(visits) {
  const frames = visits.map((visit) => visit.frame), files = visits.map((visit) => visit.files);
  const step = (from, to) => median(visits.map((visit) => to(visit) - from(visit))).toFixed(0);
  return `first frame ${frames.map((t) => t.toFixed(0)).join(', ')} ms (median ${median(frames).toFixed(0)}); ` +
         `files all in by ${files.map((t) => t.toFixed(0)).join(', ')} ms (median ${median(files).toFixed(0)}); ` +
         `medians of the steps: to the loader holding every file ${step(() => 0, (v) => v.filesIn)} ms, ` +
         `then to the game set up ${step((v) => v.filesIn, (v) => v.setUp)} ms, ` +
         `then to its first frame drawn ${step((v) => v.setUp, (v) => v.frame)} ms`;
}

// Headless Chromium loads its omnibox's own pages (chrome://omnibox-popup.top-chrome, about 0.45 s of
// script parsing on other threads) into every new tab as it opens; on two cores that ran beside the
// game's start and added about 0.4 s to a warm visit. The tab is left to finish that before the
// navigation, as a player's tab is long open before the game's address is entered.
const kNewTabSettleMs = 1000;

async function newPage(context) {
  const page = await context.newPage();
  await page.waitForTimeout(kNewTabSettleMs);
  await page.addInitScript(() => {
    const watch = () => {
      if (typeof Module !== 'undefined' && Module.calledRun && Module._tavok_passes_timed() >= 1) {
        window.firstFrameAt = performance.now();
      } else {
        requestAnimationFrame(watch);
      }
    };
    requestAnimationFrame(watch);
  });
  return page;
}

await measureAgainstPage('node bench/web/load_time.mjs PAGE_FOLDER [RUNS]', async (browser, base) => {
  printDownload(process.argv[2]);
  const address = `${base}/tavok.html`;
  const cold = [], warm = [], sent = [];
  for (let run = 0; run < runs; ++run) {
    const context = await browser.newContext({ viewport: { width: 1280, height: 720 } });
    let page = await newPage(context);
    const session = await context.newCDPSession(page);
    await session.send('Network.enable');
    await session.send('Network.emulateNetworkConditions', {
      offline: false, latency: 20, downloadThroughput: kBytesPerSecond, uploadThroughput: kBytesPerSecond });
    cold.push(await firstFrame(page, address));
    sent.push(cold[cold.length - 1].bytes);
    // The worker fills its cache once the game runs; its passes stop meanwhile (the software-rendered
    // game starves it here), then the next visit is the warm one.
    await page.evaluate(() => Module.pauseMainLoop());
    await page.waitForFunction(async () => (await navigator.serviceWorker.getRegistration())?.active?.state ===
        'activated', null, { timeout: 120000, polling: 200 });
    await page.close();
    // A visit is warm when the worker served it (seen once to start just before the worker took charge).
    for (let attempt = 0; ; ++attempt) {
      page = await newPage(context);
      const visit = await firstFrame(page, address);
      const served = await page.evaluate(() => navigator.serviceWorker.controller !== null);
      await page.close();
      if (served) {
        warm.push(visit);
        break;
      }
      if (attempt === 3) throw new Error('no visit was served by the worker');
    }
    await context.close();
  }
  const transfer = median(sent) / kBytesPerSecond * 1000;
  console.log(`cold at 10 Mbit/s: ${summary(cold)}; ${median(sent)} bytes sent, ${transfer.toFixed(0)} ms of ` +
              `transfer; first frame ${(median(cold.map((v) => v.frame)) / transfer).toFixed(2)} x that`);
  console.log(`warm (service worker): ${summary(warm)}`);
  const coldMs = median(cold.map((v) => v.frame)), warmMs = median(warm.map((v) => v.frame));
  const goal = (id, what, figure, limit) => console.log(`GOAL ${id} | ${what} | ${figure.toFixed(0)} ms | limit ` +
      `${limit.toFixed(0)} ms | ratio ${(figure / limit).toFixed(2)} | ${figure <= limit ? 'met' : 'NOT MET'}`);
  goal('web.load.cold', 'navigation to the first frame, cold at 10 Mbit/s, against 1.5 x the transfer time of its bytes',
       coldMs, 1.5 * transfer);
  goal('web.load.warm', 'navigation to the first frame from the service worker, against 1 s on this machine', warmMs, 1000);
});
