// The picture worker: decodes the plain pictures of the resource bundle on a thread of the browser's
// own while the page's main thread compiles the game's code and opens its window (the browser gives the
// game itself no second thread). It decodes with the game's own decoder, compiled into a small module of
// its own (web/picture_decoder.cpp, tavok-pictures.js), so every picture is the bytes the game would
// have made. The page (web/picture_decoding.js) sends the bundle once; the worker answers with batches
// of [path, width, height, bytes per pixel, pitch, pixels] and a last message marked done. Files that
// are no plain picture are left out: the game reads those itself.
import createPictureDecoder from './tavok-pictures.js';
import { openBundle } from './resource_bundle.js';

// A batch goes back every so many pictures, so that a game that starts before the worker is through
// still finds the pictures decoded so far.
const kBatch = 64;

const decoder = createPictureDecoder();

async function decodeBundle(bundle) {
  const files = openBundle(bundle);
  if (!files) {
    self.postMessage({ pictures: [], done: true });
    return;
  }
  const module = await decoder;
  let batch = [];
  let transfer = [];
  for (const [path, stored] of files) {
    if (stored.length === 0) continue;
    const bytes = module._malloc(stored.length);
    if (!bytes) continue;
    module.HEAPU8.set(stored, bytes);
    if (module._tavok_decode_stored_picture(bytes, stored.length)) {
      const pitch = module._tavok_picture_pitch();
      const height = module._tavok_picture_height();
      const from = module._tavok_picture_pixels();
      const pixels = module.HEAPU8.slice(from, from + pitch * height);
      batch.push([path, module._tavok_picture_width(), height, module._tavok_picture_bytes_per_pixel(), pitch,
                  pixels]);
      transfer.push(pixels.buffer);
    }
    module._free(bytes);
    if (batch.length === kBatch) {
      self.postMessage({ pictures: batch, done: false }, transfer);
      batch = [];
      transfer = [];
    }
  }
  self.postMessage({ pictures: batch, done: true }, transfer);
}

self.onmessage = (event) => {
  decodeBundle(event.data.bundle).catch(() => self.postMessage({ pictures: [], done: true }));
};
