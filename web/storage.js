// The player's folder of the web page: the options and the paintings live in the browser's
// IndexedDB, mounted at /tafu. They are read in before the game starts; the game stores them
// back itself after each save and delete. The game's own files are unpacked into /game, which
// is then made read-only, so that the game keeps the player's files in the player's folder.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  ENV.XDG_DATA_HOME = '/';
  FS.mkdir('/tafu');
  FS.mount(IDBFS, {}, '/tafu');
  answerEveryStore();
  addRunDependency('player-files');
  FS.syncfs(true, function (error) {
    if (error) console.error('The stored paintings could not be read:', error);
    removeRunDependency('player-files');
  });
});
Module.onRuntimeInitialized = function () {
  FS.chmod('/game', 0o555);
};

// IDBFS answers a store that the browser refused (its quota full, storage denied) with
// nothing at all, or with success when a single file failed; the game would wait for ever
// or call a lost painting saved. Here a refused store always answers with its error.
function answerEveryStore() {
  var reconcile = IDBFS.reconcile;
  IDBFS.reconcile = function (source, target, callback) {
    var answered = false;
    var answer = function (error) {
      if (answered) return;
      answered = true;
      if (error) console.error('The player\'s files could not be stored:', error);
      callback(error);
    };
    var db = source.type === 'remote' ? source.db : target.db;
    var open = db.transaction;
    db.transaction = function () {
      var transaction = open.apply(db, arguments);
      var refused = function (event) { answer(event.target.error || transaction.error || new Error('refused')); };
      transaction.addEventListener('error', refused);
      transaction.addEventListener('abort', refused);
      return transaction;
    };
    try {
      reconcile(source, target, answer);
    } catch (error) {
      answer(error);
    } finally {
      db.transaction = open;
    }
  };
}

// Browsers may clear a site's storage when the disk runs short, unless the site's storage is
// persistent: it is asked for at the child's first gesture (an installed app is granted it).
// Whatever the browser answers, the game plays on.
(function () {
  var gestures = ['pointerup', 'touchend', 'keydown'];
  var ask = function () {
    gestures.forEach(function (gesture) { document.removeEventListener(gesture, ask, true); });
    if (navigator.storage && navigator.storage.persist) navigator.storage.persist().catch(function () {});
  };
  gestures.forEach(function (gesture) { document.addEventListener(gesture, ask, true); });
})();
