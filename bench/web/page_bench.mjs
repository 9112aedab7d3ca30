// What every browser benchmark starts from: the page folder named on the command line, served on
// 127.0.0.1, and the system's Chromium with software GL under the driver installed for the browser tests.
import { createRequire } from 'node:module';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { serveFolder } from '../../web/serve.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const { chromium } = createRequire(path.join(here, '../../tests/web/package.json'))('playwright-core');

// Runs measure(browser, base) against the page folder of argv[2] (base: the server's address), then
// closes the browser and the server whatever happened; without a folder prints the usage and exits 2.
export async function measureAgainstPage(usage, measure) {
  const folder = process.argv[2];
  if (!folder) {
    console.error(`usage: ${usage}`);
    process.exit(2);
  }
  const server = await serveFolder(folder);
  const base = `http://127.0.0.1:${server.address().port}`;
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--use-gl=angle', '--use-angle=swiftshader',
           '--enable-unsafe-swiftshader'],
  });
  try {
    await measure(browser, base);
  } finally {
    await browser.close();
    server.close();
  }
}
