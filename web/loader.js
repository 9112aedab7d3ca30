// The loader: from the first paint until the game runs, the title and a bar that follows the bytes of
// the game's script, its wasm and its data; a load that fails, or a browser without WebGL, gets a
// message and a way to try again instead of a black page; and when the game ends the page says so and
// offers another game. It also sets up the Module object the game's script reads, and starts the
// page's other jobs (canvas_fit.js, touch_controls.js, gamepad_reader.js, page_life.js).
import { startFittingCanvas, fitCanvas } from './canvas_fit.js';
import { startTouchControls } from './touch_controls.js';
import { startGamepadReader } from './gamepad_reader.js';
import { startPageLife } from './page_life.js';
import { openBundle } from './resource_bundle.js';

const kFiles = { script: 'tavok.js', wasm: 'tavok.wasm', data: 'tavok-res.data' };

const loader = document.getElementById('loader');
const bar = document.getElementById('load-progress');
const message = document.getElementById('load-message');
const again = document.getElementById('load-again');
const canvas = document.getElementById('canvas');

let stopped = false;

// Shows the loader screen with a message and a button that reloads the page; the bar goes.
function showEnd(text, buttonText) {
  stopped = true;
  loader.hidden = false;
  bar.hidden = true;
  message.textContent = text;
  again.textContent = buttonText;
  again.hidden = false;
  again.focus();
}

function fail(text) {
  if (!stopped) showEnd(text, 'try again');
}

again.addEventListener('click', () => location.reload());
// An error before the game runs (its script failing as it starts) would otherwise leave the bar waiting.
window.addEventListener('error', (event) => {
  if (!(window.Module && window.Module.gameStarted)) fail(`The game could not start: ${event.message}.`);
});

// The game's WebGL context is made here, before anything is downloaded: without WebGL the game's GL
// emulation would fail deep inside its set-up, leaving a black page; and the browser takes a while to set
// a context up, which it now does while the files download. The game's SDL takes this context as its
// window's (GL_PREINITIALIZED_CONTEXT), so the attributes are those the game's display asks for: no
// multisampling, a depth buffer and a stencil buffer (app/display.cpp), no alpha (the page is opaque).
// The game's GL emulation switches on every extension the context offers as it starts (all but the
// debugging ones); the browser answers each first request through its GPU process, so they are asked
// for here, while the files download, and the game's own requests find them ready.
function makeGameContext() {
  let context = null;
  try {
    const attributes = { antialias: false, alpha: false, depth: true, stencil: true };
    context = window.WebGLRenderingContext ? canvas.getContext('webgl', attributes) : null;
  } catch (e) {
    return null;
  }
  for (const name of (context && context.getSupportedExtensions()) || []) {
    if (!name.includes('lose_context') && !name.includes('debug')) context.getExtension(name);
  }
  return context;
}

// Fetches every file at once, reporting the fraction of the bytes received, or null while the size
// of some file is not known (no size announced, or a compressed answer, whose announced size the bytes
// read here would overshoot), and the bytes received.
// onFile(i, bytes) hears of each file as soon as it is whole. Gives one promise per file.
function fetchAll(names, onProgress, onFile) {
  const received = names.map(() => 0);
  const expected = names.map(() => undefined);
  const report = () => {
    const got = received.reduce((a, b) => a + b, 0);
    const known = expected.every((size) => size !== null && size !== undefined);
    onProgress(known ? Math.min(1, got / expected.reduce((a, b) => a + b, 0)) : null, got);
  };
  // The first file that fails stops the others. The page's head may have asked for them already.
  const early = window.tavokEarly;
  const stop = early ? early.stop : new AbortController();
  return names.map(async (name, i) => {
    let response;
    try {
      response = await ((early && early.answers[name]) || fetch(name, { signal: stop.signal }));
    } catch (e) {
      throw new Error(`${name} could not be downloaded (the network failed)`);
    }
    if (!response.ok) {
      stop.abort();
      throw new Error(`${name} could not be downloaded (the server answered ${response.status})`);
    }
    const announced = response.headers.get('Content-Encoding') ? 0 : Number(response.headers.get('Content-Length'));
    expected[i] = announced > 0 ? announced : null;
    if (!response.body) {
      const whole = new Uint8Array(await response.arrayBuffer());
      received[i] = expected[i] = whole.length;
      report();
      onFile(i, whole);
      return whole;
    }
    const reader = response.body.getReader();
    const parts = [];
    for (;;) {
      let chunk;
      try {
        chunk = await reader.read();
      } catch (e) {
        throw new Error(`${name} could not be downloaded (the network failed)`);
      }
      if (chunk.done) break;
      parts.push(chunk.value);
      received[i] += chunk.value.length;
      report();
    }
    expected[i] = received[i];
    const whole = new Uint8Array(received[i]);
    let at = 0;
    for (const part of parts) {
      whole.set(part, at);
      at += part.length;
    }
    onFile(i, whole);
    return whole;
  });
}

function runScript(source) {
  return new Promise((resolve, reject) => {
    const script = document.createElement('script');
    script.src = source;
    script.onload = resolve;
    script.onerror = () => reject(new Error(`${source} could not be run`));
    document.body.appendChild(script);
  });
}

// The object emscripten's script reads: the canvas, where output goes, and the page's hooks.
window.Module = {
  canvas,
  print() {},
  printErr(text) { (window.Module.messages = window.Module.messages || []).push(text); },
  // The files are already here: every address is the page's own folder.
  locateFile: (name) => name,
  // The page's readers, run by the game before each pass (touch_controls.js, gamepad_reader.js).
  beforePass: [],
  // Called by the game once it runs (web/tavok_library.js).
  onGameStarted() {
    performance.mark('tavok-game-set-up');
    window.Module.gameStarted = true;
  },
  // Called by the game after its first pass, in the same task: the loader gives way to the canvas in
  // the display frame that shows the game's first picture. A canvas shown any earlier has its old
  // content read back and composited in a frame of its own, which a browser compositing in software
  // pays for by waiting on all the GL work queued before it (160 ms at the start here).
  onFirstFrame() {
    if (stopped) return;
    loader.hidden = true;
    canvas.style.visibility = 'visible';
    // The browser's SDL drops the canvas's CSS size when it opens the window.
    fitCanvas();
    canvas.focus();
  },
  onGameEnded(exitCode) {
    canvas.style.visibility = 'hidden';
    showEnd(exitCode === 0 ? 'The game has ended.' : 'The game has ended after an error.', 'play again');
  },
  // The browser refused the wasm, or the game's code stopped.
  onAbort(what) {
    fail(`The game could not start: ${String(what || 'the browser refused its code')}.`);
  },
  // A won game's page for the printer, the same bytes the desktop edition writes.
  offerPrintPage(bytes) {
    const link = document.querySelector('#print-page a');
    link.href = URL.createObjectURL(new Blob([bytes], { type: 'text/html' }));
    document.getElementById('print-page').style.display = 'block';
    window.Module.printPageOffered = true;
  },
};

// The game's script and code start as soon as they are in, while the data still downloads: the game
// opens its window and warms up the GL (web/main_web.cpp), and waits. Once the data is in the game is
// started, taking its resource files from it; the loader's screen stays until then.
async function load() {
  const names = [kFiles.script, kFiles.wasm, kFiles.data];
  let compiled = null;
  const downloads = fetchAll(names, (fraction, bytes) => {
    if (stopped) return;
    if (fraction === null) {
      bar.removeAttribute('value'); // a bar that says "busy" rather than a wrong share
      message.textContent = `loading ${Math.round(bytes / 1024)} KB`;
    } else {
      bar.value = fraction;
      message.textContent = `loading ${Math.round(fraction * 100)} %`;
    }
  }, (i, bytes) => {
    // The browser compiles the game's code on its own threads while the data still downloads.
    if (names[i] === kFiles.wasm) compiled = WebAssembly.compile(bytes);
  });
  const everything = Promise.all(downloads);
  // Made while the requests are out, so that the browser sets the context up as the bytes arrive. The
  // canvas stays hidden until the game runs: a browser that composites in software reads a visible
  // WebGL canvas back after every change (each resize, the game's set-up), which held the start up.
  canvas.style.visibility = 'hidden';
  const context = makeGameContext();
  if (!context) {
    everything.catch(() => {});
    fail('taVok cannot start: this browser has no WebGL (it may be switched off), and the game draws with it.');
    return;
  }
  everything.then(() => performance.mark('tavok-files-in'), // read by bench/web/load_time.mjs
                  (error) => fail(`taVok could not be loaded: ${error.message}.`));
  const [script] = await Promise.all([downloads[0], downloads[1]]);
  window.Module.preinitializedWebGLContext = context;
  window.Module.instantiateWasm = (imports, receive) => {
    compiled.then((module) => WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module)))
      .catch((error) => fail(`The game could not start: ${String(error && error.message || error)}.`));
    return {}; // the exports arrive through receive
  };
  // Called by the game's main once its window is open (web/tavok_library.js); a game that could not
  // open one has ended instead.
  const displayReady = new Promise((resolve) => { window.Module.onDisplayReady = resolve; });
  await runScript(URL.createObjectURL(new Blob([script], { type: 'text/javascript' })));
  const [, , data] = await everything;
  if (!stopped) message.textContent = 'starting';
  await displayReady;
  if (stopped) return;
  // The game takes its resource files from the bundle as it asks for them (web/tavok_library.js).
  window.Module.resourceFiles = openBundle(data);
  if (!window.Module.resourceFiles) {
    fail(`taVok could not be loaded: ${kFiles.data} is damaged.`);
    return;
  }
  window.Module._tavok_start_game();
}

startTouchControls();
startFittingCanvas(canvas);
startGamepadReader();
startPageLife();
load().catch((error) => fail(`taVok could not be loaded: ${error.message}.`));
