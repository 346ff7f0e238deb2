// The service worker that lets the page work offline after one visit. build-site.js writes it
// into the site with this version of the site before it:
//   SITE.cache   the name of the cache that holds this version, made from a hash of its files
//   SITE.shell   the files that the page loads, and its address: kept as the worker installs
//   SITE.rest    each program's script and module, and the cases: kept once the page asks,
//                when it is idle, so that they never slow its first view
// Every file is served from the cache, and from the network only until it is kept. A new
// version installs beside the one in use, and waits until the page asks it to take over (on
// the student's reload) or until no page uses the old one; it then removes the old one's cache.
"use strict";

const CACHE_PREFIX = "five-console-programs-";

// Fetched past the browser's HTTP cache, which may hold the files of an older version.
const keep = (cache, files) =>
  cache.addAll(files.map((file) => new Request(file, {cache: "no-cache"})));

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(SITE.cache).then((cache) => keep(cache, SITE.shell)));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) =>
        Promise.all(
          names
            .filter((name) => name.startsWith(CACHE_PREFIX) && name !== SITE.cache)
            .map((name) => caches.delete(name)),
        ),
      ),
  );
});

// Keeps the files of SITE.rest that are not kept yet, all or none, so that no program's script
// is ever kept without its module; resolves to how many there were.
async function keepRest() {
  const cache = await caches.open(SITE.cache);
  const kept = await Promise.all(SITE.rest.map((file) => cache.match(file)));
  const missing = SITE.rest.filter((_, index) => !kept[index]);
  await keep(cache, missing);
  return missing.length;
}

// The page's messages: "keep-rest", answered with {kept: the number of files newly kept}
// once all are kept, and "take-over", which a new version waiting receives.
self.addEventListener("message", (event) => {
  if (event.data === "take-over") {
    self.skipWaiting();
  } else if (event.data === "keep-rest") {
    event.waitUntil(
      keepRest().then(
        (kept) => event.source.postMessage({kept}),
        () => {}, // offline before all is kept: the next visit asks again
      ),
    );
  }
});

// The page's address stands for its index.html, which is kept under it.
function keyOf(request) {
  const url = new URL(request.url);
  url.pathname = url.pathname.replace(/\/index\.html$/, "/");
  return url.href;
}

self.addEventListener("fetch", (event) => {
  const {request} = event;
  if (request.method !== "GET" || !request.url.startsWith(self.registration.scope)) {
    return;
  }
  event.respondWith(
    caches
      .open(SITE.cache)
      .then((cache) => cache.match(keyOf(request), {ignoreSearch: true}))
      .then((kept) => kept || fetch(request)),
  );
});
