// The grown-ups' page: the game's own module, started without its game, reads the player's
// storage as the game does and turns every painting into a PNG with the game's exporter
// (its --export-paintings); the pictures are shown, each can be downloaded, all of them as
// one ZIP file; the paintings deleted lately wait in the bin and can be brought back.
var exportFolder = '/export';
var playerFolder = '/tafu';
var binFolder = playerFolder + '/bin';
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

function showPaintings() {
  entries(exportFolder).forEach(function (name) { FS.unlink(exportFolder + '/' + name); });
  callMain(['--export-paintings', exportFolder]);
  var names = entries(exportFolder).filter(function (name) { return /^(big|small)-\d+\.png$/.test(name); }).sort(paintingOrder);
  var list = element('paintings');
  list.textContent = '';
  var zipped = {};
  names.forEach(function (name) {
    var bytes = FS.readFile(exportFolder + '/' + name);
    zipped[name] = bytes;
    var url = pngUrl(bytes);
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

function showBin() {
  var list = element('bin');
  list.textContent = '';
  var names = entries(binFolder + '/files').sort().reverse();
  var shown = 0;
  names.forEach(function (name) {
    var info = binInfo(name);
    if (!info || !paintingPath.test(info.path)) return;
    var item = document.createElement('li');
    item.textContent = info.path.slice(info.path.lastIndexOf('/draw/') + 1) + ', deleted ' + info.date + ' ';
    var button = document.createElement('button');
    button.textContent = 'Bring back';
    button.addEventListener('click', function () { bringBack(name, info); });
    item.append(button);
    list.append(item);
    ++shown;
  });
  element('empty-bin').hidden = shown > 0;
}

function showAll() {
  showPaintings();
  showBin();
  showStorage();
  document.body.dataset.ready = 'yes';
}

Module.postRun = Module.postRun || [];
Module.postRun.push(showAll);
