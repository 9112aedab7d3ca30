// Makes the page work offline (web/service_worker.js). The worker is registered only once the game has
// started, so that its first filling never competes with the game's own download. A newer build found
// by the browser installs in the background; once it is installed, and the game on this page has
// started (so this page fetches nothing more), it is told to take over, and the next visit opens it.
(function() {
  if (!('serviceWorker' in navigator) || !window.isSecureContext) return;

  function whenGameStarted(then) {
    var poll = setInterval(function() {
      if (typeof Module !== 'undefined' && (Module.gameStarted || Module.exitCode !== undefined)) {
        clearInterval(poll);
        then();
      }
    }, 250);
  }

  function takeOverWhenInstalled(worker) {
    if (!worker) return;
    var tell = function() {
      if (worker.state === 'installed') worker.postMessage('tavok-take-over');
    };
    worker.addEventListener('statechange', tell);
    tell();
  }

  whenGameStarted(function() {
    navigator.serviceWorker.register('tavok-sw.js').then(function(registration) {
      // Only a build replacing one that controls this page waits; a first one starts by itself.
      if (!navigator.serviceWorker.controller) return;
      takeOverWhenInstalled(registration.waiting || registration.installing);
      registration.addEventListener('updatefound', function() {
        takeOverWhenInstalled(registration.installing);
      });
    }).catch(function() {
      // No worker (a page opened from a file, a host without the worker): the page plays online only.
    });
  });
})();
