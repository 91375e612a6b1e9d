// Keeps the whole page in the browser after the first visit, so that TAFU plays offline.
// The cache's name changes with every build of the site; an old one is thrown away.
const cacheName = 'tafu-@VERSION@';
const siteFiles = ['./', 'index.html', 'tafu.js', 'tafu.wasm', 'tafu.data', 'manifest.webmanifest', 'tafu.svg',
  'menu.jpg', 'grown-ups.html', 'grown-ups.js', 'fflate.js', 'fflate-LICENSE.txt'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(siteFiles)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(
    caches.keys()
      .then((names) => Promise.all(names.filter((name) => name !== cacheName).map((name) => caches.delete(name))))
      .then(() => self.clients.claim()));
});

// The kept copy first; whatever is not kept comes from the network.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.match(event.request, { ignoreSearch: true }).then((kept) => kept || fetch(event.request)));
});
