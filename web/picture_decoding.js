// The page's side of the picture worker (web/picture_worker.js): started with the page, it is handed
// the resource bundle as soon as that is in, and keeps what the worker decodes in
// Module.decodedPictures, where the game's textures take them from (web/tavok_library.js). Whatever is
// not there when the game asks, because the worker could not start, is still busy, or declined the
// file, the game decodes itself, as it always did: the worker only ever saves time.
export function startPictureDecoding(module) {
  const pictures = new Map();
  module.decodedPictures = pictures;
  let worker = null;
  try {
    worker = new Worker('picture_worker.js', { type: 'module' });
  } catch (e) {
    worker = null; // a browser without module workers: the game decodes everything
  }
  const stop = () => {
    if (worker) worker.terminate();
    worker = null;
  };
  let done;
  const finished = new Promise((resolve) => { done = resolve; });
  if (worker) {
    worker.onmessage = (event) => {
      for (const [path, width, height, bytesPerPixel, pitch, pixels] of event.data.pictures) {
        pictures.set(path, { width, height, bytesPerPixel, pitch, pixels });
      }
      if (event.data.done) {
        stop();
        done();
      }
    };
    worker.onerror = () => {
      stop();
      done();
    };
  } else {
    done();
  }
  return {
    // bundle: the bundle's bytes, copied to the worker (the page keeps its own).
    decode(bundle) {
      if (worker) worker.postMessage({ bundle });
    },
    // Resolves once the worker is through, or has failed, or after waitMs: whichever comes first. Its
    // batches are taken in as the page's tasks, so even a wait of 0 takes in those already sent.
    settled(waitMs) {
      return Promise.race([finished, new Promise((resolve) => setTimeout(resolve, waitMs))]);
    },
    // Once the game has made its textures: the worker goes, with every picture it left behind.
    finish() {
      stop();
      pictures.clear();
      delete module.decodedPictures;
    },
  };
}
