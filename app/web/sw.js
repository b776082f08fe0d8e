// The page offline: every file of one build in a cache named by that build's version, served
// from there first, so that a page never mixes two builds. A new build's worker fills its own
// cache and waits until a page of the old one has finished loading and lets it take over; it
// then deletes the old cache, and the next load is the new build's, whole.
const CACHE = 'tessarline-@VERSION@';
const FILES = [@FILES@];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) =>
    cache.addAll(FILES.map((file) => new Request(file, { cache: 'reload' })))));
});

self.addEventListener('message', (event) => {
  if (event.data === 'take over') self.skipWaiting();
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name !== CACHE).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET') return;
  // Every page in the worker's scope is the one page.
  const key = request.mode === 'navigate' ? './' : request;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(key, { ignoreSearch: true }))
    .then((cached) => cached || fetch(request)));
});
