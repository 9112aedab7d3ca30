// The page's service worker: after one visit the page loads and plays with no network. It keeps every
// file of one build under a cache named by that build's version, a digest of all the files, and answers
// every request for one of them from that cache first, whatever asks (the page, the game's loader, the
// data package). web/stamp_page.mjs writes the version and the file list below into the page folder's
// copy of this file, so a new build is a changed worker, which the browser installs beside the old one.
//
// A new build replaces the old one whole: its files are fetched past the HTTP cache and checked against
// their digests before the new cache counts as filled (a host still serving an old file fails the
// install, and the old build stays), and the new worker takes over only when a page tells it the game
// there has everything it loads (web/offline.js), so the next visit opens the new build entire and no
// page ever mixes a new script with old data.
const kVersion = '@TAVOK_VERSION@';
// [name relative to the worker, SHA-256 in hex]
const kFiles = @TAVOK_FILES@;

const kNames = new Set(kFiles.map(([name]) => name));
// Every page folder on an origin has its own worker, but the caches are the origin's: name them by the
// worker's scope so that one folder's new build never removes another folder's files.
const kCachePrefix = `tavok ${self.registration.scope} `;
const kCache = kCachePrefix + kVersion;

function hex(buffer) {
  return Array.from(new Uint8Array(buffer), (b) => b.toString(16).padStart(2, '0')).join('');
}

async function fetchChecked(name, digest) {
  const response = await fetch(new Request(name, { cache: 'reload' }));
  if (!response.ok) throw new Error(`${name}: HTTP ${response.status}`);
  const bytes = await response.arrayBuffer();
  if (hex(await crypto.subtle.digest('SHA-256', bytes)) !== digest) {
    throw new Error(`${name}: not the file of build ${kVersion}`);
  }
  // The body is already decoded: keep the type (the wasm compiles while it streams only as
  // application/wasm) and give the decoded length, which a loader's progress reads.
  const headers = { 'Content-Type': response.headers.get('Content-Type') || 'application/octet-stream',
                    'Content-Length': String(bytes.byteLength) };
  return new Response(bytes, { status: 200, headers });
}

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    try {
      const responses = await Promise.all(kFiles.map(([name, digest]) => fetchChecked(name, digest)));
      const cache = await caches.open(kCache);
      await Promise.all(kFiles.map(([name], i) => cache.put(name, responses[i])));
    } catch (error) {
      await caches.delete(kCache);
      throw error;
    }
  })());
});

// The old build's files go only once the new worker is in charge.
self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name.startsWith(kCachePrefix) && name !== kCache) await caches.delete(name);
    }
  })());
});

self.addEventListener('message', (event) => {
  if (event.data === 'tavok-take-over') self.skipWaiting();
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const scope = new URL(self.registration.scope);
  const url = new URL(request.url);
  if (request.method !== 'GET' || url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) {
    return;
  }
  // The address's switches (?autoplay and the like) do not change the file; the folder's own address
  // opens the page.
  const name = url.pathname.slice(scope.pathname.length) || 'tavok.html';
  if (!kNames.has(name)) return;
  event.respondWith((async () => {
    const cached = await (await caches.open(kCache)).match(name);
    return cached || fetch(request);
  })());
});
