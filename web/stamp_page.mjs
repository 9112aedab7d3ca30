// Writes a page folder's service worker, tavok-sw.js, from web/service_worker.js: the list of every file
// in the folder with its SHA-256, and the build's version, a digest of that list. Any changed file is a
// new version. The worker is rewritten only when it changes, so an unchanged build stays unchanged.
// Usage: node web/stamp_page.mjs PAGE_FOLDER. Also imported by the browser tests.
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

export const kWorkerName = 'tavok-sw.js';
const kTemplate = path.join(path.dirname(fileURLToPath(import.meta.url)), 'service_worker.js');

// The files a visit may load: everything but the worker itself, the gzip copies a host serves in their
// place, and hidden files.
function pageFiles(folder, prefix = '') {
  const names = [];
  for (const entry of fs.readdirSync(path.join(folder, prefix), { withFileTypes: true })) {
    const name = prefix + entry.name;
    if (entry.name.startsWith('.') || name === kWorkerName || name.endsWith('.gz')) continue;
    if (entry.isDirectory()) names.push(...pageFiles(folder, name + '/'));
    else names.push(name);
  }
  return names.sort();
}

// Returns the version written.
export function stampPage(folder) {
  const files = pageFiles(folder).map((name) => [
    name, crypto.createHash('sha256').update(fs.readFileSync(path.join(folder, name))).digest('hex')]);
  if (!files.some(([name]) => name === 'tavok.html')) throw new Error(`${folder} holds no tavok.html`);
  const version = crypto.createHash('sha256').update(JSON.stringify(files)).digest('hex').slice(0, 16);
  const worker = fs.readFileSync(kTemplate, 'utf8')
      .replace("'@TAVOK_VERSION@'", JSON.stringify(version))
      .replace('@TAVOK_FILES@', `[\n  ${files.map((file) => JSON.stringify(file)).join(',\n  ')}\n]`);
  const target = path.join(folder, kWorkerName);
  if (!fs.existsSync(target) || fs.readFileSync(target, 'utf8') !== worker) fs.writeFileSync(target, worker);
  return version;
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  if (!process.argv[2]) {
    console.error('usage: node web/stamp_page.mjs PAGE_FOLDER');
    process.exit(2);
  }
  try {
    stampPage(process.argv[2]);
  } catch (error) {
    console.error(`stamp_page: ${error.message}`);
    process.exit(1);
  }
}
