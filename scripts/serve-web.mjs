// A small static web server for the browser build, on 127.0.0.1 only.
//   node scripts/serve-web.mjs [FOLDER] [PORT]
// serves FOLDER (default build-web/site) and prints its address; PORT 0 (the
// default) takes any free port. Tests and benchmarks import startServer.
import { createServer } from "node:http";
import { readFile, stat } from "node:fs/promises";
import { extname, join, normalize, resolve, sep } from "node:path";
import { fileURLToPath } from "node:url";

// The site's content policy, sent with every file as the page's head
// carries it.
const POLICY = (await readFile(new URL("../platform/web/site/content-security-policy", import.meta.url), "utf8")).trim();

const TYPES = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".mjs": "text/javascript; charset=utf-8",
  ".wasm": "application/wasm",
  ".webmanifest": "application/manifest+json",
  ".json": "application/json",
  ".png": "image/png",
  ".css": "text/css; charset=utf-8",
};

export function startServer(folder, port = 0) {
  const root = resolve(folder);
  let served = 0;  // bytes of the files sent, for the benchmark
  const server = createServer(async (request, response) => {
    try {
      const path = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
      let file = normalize(join(root, path));
      if (file !== root && !file.startsWith(root + sep)) throw new Error("outside the site");
      if ((await stat(file)).isDirectory()) file = join(file, "index.html");
      const body = await readFile(file);
      // Always asked again, so that a new build is seen at once.
      response.writeHead(200, {
        "Content-Type": TYPES[extname(file)] || "application/octet-stream",
        "Cache-Control": "no-cache",
        "Content-Security-Policy": POLICY,
        "X-Content-Type-Options": "nosniff",
      });
      if (request.method !== "HEAD") served += body.length;
      response.end(request.method === "HEAD" ? undefined : body);
    } catch (error) {
      response.writeHead(404, { "Content-Type": "text/plain" });
      response.end("not found\n");
    }
  });
  return new Promise((started, failed) => {
    server.once("error", failed);
    server.listen(port, "127.0.0.1", () => {
      started({
        url: `http://127.0.0.1:${server.address().port}/`,
        close: () => server.close(),
        served: () => served,
      });
    });
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const here = fileURLToPath(new URL("..", import.meta.url));
  const folder = process.argv[2] || join(here, "build-web", "site");
  const port = Number(process.argv[3] || 0);
  const { url } = await startServer(folder, port);
  console.log(`Pivotwarden is served at ${url} (Ctrl+C stops it)`);
}
