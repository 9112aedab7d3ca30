// Packs a res/ folder into a page folder as tavok-res.data, the bundle that web/resource_bundle.js
// opens in the page (its layout is written there): the game finds each file under "res/" + its name,
// as in its working directory on the desktop.
// Usage: node web/pack_res.mjs RES_DIR PAGE_DIR
import fs from 'node:fs';
import path from 'node:path';

const [resDir, pageDir] = process.argv.slice(2);
if (!resDir || !pageDir) {
  console.error('usage: node web/pack_res.mjs RES_DIR PAGE_DIR');
  process.exit(2);
}
const files = fs.readdirSync(resDir, { withFileTypes: true }).filter((entry) => entry.isFile())
  .map((entry) => entry.name).sort().map((name) => [`res/${name}`, fs.readFileSync(path.join(resDir, name))]);
const index = Buffer.from(JSON.stringify(files.map(([name, bytes]) => [name, bytes.length])));
const head = Buffer.alloc(8);
head.write('TVKB', 0, 'latin1');
head.writeUInt32LE(index.length, 4);
fs.mkdirSync(pageDir, { recursive: true });
// Written whole under another name first, so that a page folder never holds half a bundle.
const target = path.join(pageDir, 'tavok-res.data');
fs.writeFileSync(`${target}.part`, Buffer.concat([head, index, ...files.map(([, bytes]) => bytes)]));
fs.renameSync(`${target}.part`, target);
