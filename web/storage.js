// The player's folder of the web page: the options and the paintings live in the browser's
// IndexedDB, mounted at /tafu. They are read in before the game starts; the game stores them
// back itself after each save and delete. The game's own files are unpacked into /game, which
// is then made read-only, so that the game keeps the player's files in the player's folder.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  ENV.XDG_DATA_HOME = '/';
  FS.mkdir('/tafu');
  FS.mount(IDBFS, {}, '/tafu');
  addRunDependency('player-files');
  FS.syncfs(true, function (error) {
    if (error) console.error('The stored paintings could not be read:', error);
    removeRunDependency('player-files');
  });
});
Module.onRuntimeInitialized = function () {
  FS.chmod('/game', 0o555);
};
