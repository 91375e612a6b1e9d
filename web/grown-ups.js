// The grown-ups' page: the game's own module, started without its game, reads the player's
// storage as the game does and turns every painting into a PNG with the game's exporter
// (its --export-paintings); the pictures are shown, each can be downloaded, all of them as
// one ZIP file; the paintings deleted lately wait in the bin, shown by the same exporter,
// and can be brought back.
var exportFolder = '/export';
var playerFolder = '/tafu';
var binFolder = playerFolder + '/bin';
// The bin's paintings laid out as a player's paintings folder, and their PNG files: in the
// module's memory only, outside /tafu, so that none of it is ever stored.
var binPaintingsFolder = '/bin-paintings';
var binExportFolder = '/bin-export';
// Where a painting of the player's folder lives: only such a file is brought back.
var paintingPath = /^\/tafu\/(?:[^/.][^/]*\/)*draw\/(?:big|small)\/[1-9]\d*\.tga$/;

function element(id) { return document.getElementById(id); }

function sizeText(bytes) {
  return bytes < 1024 * 1024 ? Math.round(bytes / 1024) + ' kB' : (bytes / 1024 / 1024).toFixed(1) + ' MB';
}

function showStorage() {
  if (!navigator.storage || !navigator.storage.estimate) {
    element('storage').textContent = 'This browser does not tell how its storage is kept.';
    return;
  }
  Promise.all([navigator.storage.persisted(), navigator.storage.estimate()]).then(function (answers) {
    element('storage').textContent = (answers[0]
      ? 'The browser keeps this storage for good.'
      : 'The browser may clear this storage when the disk runs short: install the game as an app, or download the paintings.') +
      ' In use: ' + sizeText(answers[1].usage || 0) + ' of ' + sizeText(answers[1].quota || 0) + '.';
  });
}

function entries(folder) {
  try {
    return FS.readdir(folder).filter(function (name) { return name !== '.' && name !== '..'; });
  } catch (error) {
    return [];
  }
}

function pngUrl(bytes) { return URL.createObjectURL(new Blob([bytes], { type: 'image/png' })); }

// "big-12.png" first by size, then by number.
function paintingOrder(a, b) {
  var pa = a.match(/^(\w+)-(\d+)\.png$/), pb = b.match(/^(\w+)-(\d+)\.png$/);
  return pa[1] !== pb[1] ? (pa[1] === 'big' ? -1 : 1) : pa[2] - pb[2];
}

function emptyFolder(folder) {
  entries(folder).forEach(function (name) { FS.unlink(folder + '/' + name); });
}

// The game's exporter run on the player's paintings, or on those of the paintings folder
// given: its PNG files by name ("big-12.png"). A painting it cannot read has none.
function exportedPictures(folder, paintingsFolder) {
  emptyFolder(folder);
  callMain(['--export-paintings', folder].concat(paintingsFolder ? ['--paintings', paintingsFolder] : []));
  var pictures = {};
  entries(folder).forEach(function (name) {
    if (/^(big|small)-\d+\.png$/.test(name)) pictures[name] = FS.readFile(folder + '/' + name);
  });
  return pictures;
}

function showPaintings() {
  var zipped = exportedPictures(exportFolder);
  var names = Object.keys(zipped).sort(paintingOrder);
  var list = element('paintings');
  list.textContent = '';
  names.forEach(function (name) {
    var url = pngUrl(zipped[name]);
    var item = document.createElement('li');
    var picture = document.createElement('img');
    picture.src = url;
    picture.alt = 'Painting ' + name.replace('.png', '').replace('-', ' ');
    var link = document.createElement('a');
    link.href = url;
    link.download = name;
    link.textContent = 'Download ' + name;
    item.append(picture, link);
    list.append(item);
  });
  element('none').hidden = names.length > 0;
  var zip = element('zip');
  zip.hidden = names.length === 0;
  if (names.length) zip.href = URL.createObjectURL(new Blob([fflate.zipSync(zipped, { level: 0 })], { type: 'application/zip' }));
}

// What bin/info/NAME.trashinfo says: the painting's own path and when it was deleted.
function binInfo(name) {
  var text = '';
  try {
    text = FS.readFile(binFolder + '/info/' + name + '.trashinfo', { encoding: 'utf8' });
  } catch (error) {
    return null;
  }
  var path = /^Path=(.*)$/m.exec(text);
  var date = /^DeletionDate=(.*)$/m.exec(text);
  if (!path) return null;
  try {
    // The player's folder is "/" + "/tafu": the path may begin with two slashes.
    return { path: decodeURIComponent(path[1]).replace(/\/+/g, '/'), date: date ? date[1].replace('T', ' ') : '' };
  } catch (error) {
    return null;
  }
}

// The painting's own number when it is free, else the next number after the highest, as
// the game numbers a new painting.
function freePath(path) {
  var slash = path.lastIndexOf('/');
  var folder = path.slice(0, slash);
  if (!FS.analyzePath(path).exists) return path;
  var highest = entries(folder).reduce(function (most, name) { return Math.max(most, parseInt(name, 10) || 0); }, 0);
  return folder + '/' + (highest + 1) + '.tga';
}

function bringBack(name, info) {
  try {
    var target = freePath(info.path);
    FS.mkdirTree(target.slice(0, target.lastIndexOf('/')));
    FS.rename(binFolder + '/files/' + name, target);
    FS.unlink(binFolder + '/info/' + name + '.trashinfo');
  } catch (error) {
    console.error('The painting could not be brought back:', error);
  }
  FS.syncfs(false, function (error) {
    if (error) console.error('The painting brought back could not be stored:', error);
    showAll();
  });
}

// The PNG of each painting in the bin, or none for a file the game cannot read: each file is
// copied under a number of its own into the size's folder of binPaintingsFolder (its size is
// the folder it was deleted from) and the game's exporter is run on that folder.
function binPictures(deleted) {
  ['big', 'small'].forEach(function (size) {
    FS.mkdirTree(binPaintingsFolder + '/draw/' + size);
    emptyFolder(binPaintingsFolder + '/draw/' + size);
  });
  deleted.forEach(function (painting, index) {
    try {
      FS.writeFile(binPaintingsFolder + '/draw/' + painting.size + '/' + (index + 1) + '.tga',
                   FS.readFile(binFolder + '/files/' + painting.name));
    } catch (error) {
      console.error('A deleted painting could not be read:', error);
    }
  });
  var pictures = exportedPictures(binExportFolder, binPaintingsFolder);
  return deleted.map(function (painting, index) { return pictures[painting.size + '-' + (index + 1) + '.png']; });
}

function showBin() {
  var list = element('bin');
  list.textContent = '';
  var deleted = [];
  entries(binFolder + '/files').sort().reverse().forEach(function (name) {
    var info = binInfo(name);
    if (info && paintingPath.test(info.path)) deleted.push({ name: name, info: info, size: /(big|small)\/[^/]*$/.exec(info.path)[1] });
  });
  var pictures = binPictures(deleted);
  deleted.forEach(function (painting, index) {
    var item = document.createElement('li');
    var shownPath = painting.info.path.slice(painting.info.path.lastIndexOf('/draw/') + 1);
    if (pictures[index]) {
      var picture = document.createElement('img');
      picture.src = pngUrl(pictures[index]);
      picture.alt = 'Deleted painting ' + shownPath;
      item.append(picture);
    }
    var button = document.createElement('button');
    button.textContent = 'Bring back';
    button.addEventListener('click', function () { bringBack(painting.name, painting.info); });
    item.append(shownPath + ', deleted ' + painting.info.date + ' ', button);
    list.append(item);
  });
  element('empty-bin').hidden = deleted.length > 0;
}

function showAll() {
  showPaintings();
  showBin();
  showStorage();
  document.body.dataset.ready = 'yes';
}

Module.postRun = Module.postRun || [];
Module.postRun.push(showAll);
