// Keeps the game's files, so that after one visit it starts with no network.
// The cache is named after a digest of the files: a new build installs a new
// cache and removes the old one.
const CACHE = "pivotwarden-@PW_CACHE_VERSION@";
const FILES = [
  "./",
@PW_CACHED_FILES@];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches.keys()
      .then((names) => Promise.all(names.filter((n) => n.startsWith("pivotwarden-") && n !== CACHE)
        .map((n) => caches.delete(n))))
      .then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith(
    caches.open(CACHE)
      .then((cache) => cache.match(event.request, { ignoreSearch: true }))
      .then((kept) => kept || fetch(event.request)));
});
