// Keeps the game's files, so that after one visit it starts with no network.
// The cache is named after a digest of the files: a new build installs a new
// cache and removes the old one.
const CACHE = "pivotwarden-@PW_CACHE_VERSION@";
// Each file with the SHA-256 digest of the build's copy.
const FILES = [
@PW_CACHED_FILES@];

function hex(buffer) {
  return Array.from(new Uint8Array(buffer), (b) => b.toString(16).padStart(2, "0")).join("");
}

// The page has just loaded these files: they are taken from the browser's
// HTTP cache when it holds this build's copy, so that a first visit fetches
// each byte once, and from the network otherwise (an older copy, or none).
async function keep(cache, [file, digest]) {
  for (const mode of ["force-cache", "reload"]) {
    let response;
    try {
      response = await fetch(new Request(file, { cache: mode }));
    } catch (error) {
      continue;
    }
    if (!response.ok) continue;
    const body = await response.clone().arrayBuffer();
    if (hex(await crypto.subtle.digest("SHA-256", body)) === digest) return cache.put(file, response);
  }
  throw new Error(`cannot keep ${file}`);
}

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE)
    .then((cache) => Promise.all(FILES.map((entry) => keep(cache, entry))))
    .then(() => self.skipWaiting()));
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
