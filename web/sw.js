// Keeps the site's files on the first visit and answers from them first, so that
// afterwards the game loads and plays offline. Every file but the page and this worker
// is named after its contents, so a new build brings new names and a cache of its own.
// Each file is asked of the server again before it is kept ('no-cache'): a copy that an
// HTTP cache held for the old version never gets in, while a file that the page has
// just loaded comes back as a bodiless "not modified" instead of a second download.
const PREFIX = 'tornel-site-';
const CACHE = PREFIX + '@SITE_HASH@';
const FILES = [@SITE_FILES@];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: 'no-cache' }))))
    .then(() => self.skipWaiting()));
});

// Only the game's own older caches go; whatever else shares the origin stays.
self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names
      .filter((name) => name.startsWith(PREFIX) && name !== CACHE)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(request.mode === 'navigate' ? './' : request, { ignoreSearch: true }))
    .then((kept) => kept || fetch(request)));
});
