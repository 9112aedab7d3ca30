// A static server for a page folder, on 127.0.0.1 only. Usage: node web/serve.mjs FOLDER [PORT]
// (port 0 takes any free port). Also imported by the browser tests.
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript',
  '.css': 'text/css',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
  '.mjs': 'text/javascript',
  '.json': 'application/json',
  '.svg': 'image/svg+xml',
  '.ico': 'image/x-icon',
};

// Resolves to the listening server; its address is server.address().
export function serveFolder(folder, port = 0) {
  const root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
    const file = path.resolve(root, '.' + (name === '/' ? '/tavok.html' : name));
    if (!file.startsWith(root + path.sep)) {
      response.writeHead(403).end();
      return;
    }
    // A folder from `make web-dist` holds gzip copies of the large files: sent in their place to a
    // browser that takes gzip, as a static host does.
    const gzip = /\bgzip\b/.test(request.headers['accept-encoding'] || '') && fs.existsSync(file + '.gz');
    fs.readFile(gzip ? file + '.gz' : file, (error, bytes) => {
      if (error) {
        response.writeHead(404).end();
        return;
      }
      if (gzip) {
        response.setHeader('Content-Encoding', 'gzip');
        response.setHeader('Vary', 'Accept-Encoding');
      }
      response.writeHead(200, {
        'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream',
        'Cache-Control': 'no-store',
        // As any static server says it: the page's loading bar follows the bytes against it.
        'Content-Length': bytes.length,
      });
      response.end(bytes);
    });
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve(server));
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const folder = process.argv[2];
  const port = Number(process.argv[3] || 8723);
  if (!folder || !fs.existsSync(path.join(folder, 'tavok.html'))) {
    console.error('usage: node web/serve.mjs PAGE_FOLDER [PORT] (the folder holds tavok.html)');
    process.exit(2);
  }
  const server = await serveFolder(folder, port);
  console.log(`taVok is served at http://127.0.0.1:${server.address().port}/tavok.html (Ctrl-C ends)`);
}
