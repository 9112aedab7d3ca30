// Runs before the game starts: the address's switches become the command line, and the persistent
// folder is mounted and read, so that a marker left by a won game is in the working directory when the
// game looks for it, as a file left on the disk would be. It is taken out of storage at once: the
// finished field shows once, as on the desktop.
Module['arguments'] = Module['arguments'] ||
    (typeof location !== 'undefined' ? location.search.replace(/^\?/, '').split(/[&+]/).filter(Boolean) : []);
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  FS.mkdirTree('/home/web_user/Desktop');
  FS.mkdir('/persist');
  FS.mount(IDBFS, {}, '/persist');
  addRunDependency('tavok-persist');
  FS.syncfs(true, function(error) {
    Module['storageReadable'] = !error;
    try {
      FS.writeFile('/delete_me.html', FS.readFile('/persist/delete_me.html'));
      FS.unlink('/persist/delete_me.html');
      FS.syncfs(false, function() {});
    } catch (e) {
      // no marker stored: an ordinary new game
    }
    removeRunDependency('tavok-persist');
  });
});
