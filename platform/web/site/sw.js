// Keeps the game's files, so that after one visit it starts with no network.
// The cache is named after the worker's scope and a digest of the files: a
// new build installs a new cache and removes the old one of its own scope,
// never another build's on the same origin (/a/ and /b/, say).
const SCOPE_CACHES = `pivotwarden ${self.registration.scope} `;
const CACHE = SCOPE_CACHES + "@PW_CACHE_VERSION@";
// Caches named before the scope was part of the name: removed only where
// they hold this scope's page.
const UNSCOPED = /^pivotwarden-[0-9a-f]{16}$/;
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

async function ownOld(name) {
  if (name.startsWith(SCOPE_CACHES)) return name !== CACHE;
  if (!UNSCOPED.test(name)) return false;
  const cache = await caches.open(name);
  return (await cache.match(new URL("index.html", self.registration.scope).href)) !== undefined;
}

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches.keys()
      .then((names) => Promise.all(names.map(async (name) => { if (await ownOld(name)) await caches.delete(name); })))
      .then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith(
    caches.open(CACHE)
      .then((cache) => cache.match(event.request, { ignoreSearch: true }))
      .then((kept) => kept || fetch(event.request)));
});
