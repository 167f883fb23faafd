// The browser build's figures, with their goals: what a first visit
// transfers (the page and the service worker's copy together) beside the
// files the game needs, animation frames asked for over 10 s idle on the
// game screen, press to changed canvas pixels, the start of "How to play"
// (on a first visit, from the page's load; from a press on its button), and
// navigation to the first picture beside a minimal Emscripten page that
// fills a 240 x 320 canvas once (bench/web_baseline.c), the two loaded in
// turns, 10 fresh loads each. Headless Debian chromium on 127.0.0.1, the
// site served by scripts/serve-web.mjs (no compression, no validators).
//   node bench/web_bench.mjs [SITE]   (after scripts/build-web.sh)
import { execFileSync } from "node:child_process";
import { mkdtempSync, readdirSync, readFileSync, rmSync, statSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, relative } from "node:path";
import { fileURLToPath } from "node:url";
import { gzipSync } from "node:zlib";
import { startServer } from "../scripts/serve-web.mjs";
import { SITE, startSession, waitForGame, waitForPicture } from "../tests/web/browser.mjs";

const site = process.argv[2] || SITE;
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor((values.length - 1) / 2)];
const ms = (value) => value.toFixed(1) + " ms";

function files(folder) {
  return readdirSync(folder).flatMap((name) => {
    const path = join(folder, name);
    return statSync(path).isDirectory() ? files(path) : [path];
  });
}

// Counts animation frames asked for and notes when the canvas was drawn,
// and whether that changed any of its pixels.
function instrument() {
  window.__frames = 0;
  const request = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => {
    window.__frames += 1;
    return request(callback);
  };
  window.__drawn = [];
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (image, x, y, ...rest) {
    const at = performance.now();
    const before = this.getImageData(x, y, image.width, image.height).data;
    const result = put.call(this, image, x, y, ...rest);
    const after = image.data;
    let changed = false;
    for (let i = 0; i < after.length && !changed; ++i) changed = after[i] !== before[i];
    window.__drawn.push({ at, changed });
    return result;
  };
}

console.log(`date: ${new Date().toISOString().slice(0, 16).replace("T", " ")} UTC`);
let total = 0;
let totalRaw = 0;
for (const path of files(site).sort()) {
  const bytes = readFileSync(path);
  const packed = gzipSync(bytes, { level: 9 }).length;
  total += packed;
  totalRaw += bytes.length;
  console.log(`  ${relative(site, path).padEnd(28)} ${String(bytes.length).padStart(9)} B, gzip ${packed} B`);
}
console.log(`every file of the site, gzip: ${(total / 1024).toFixed(1)} KiB ` +
  `(${(totalRaw / 1024).toFixed(1)} KiB raw)`);

// The files the game needs, as the service worker lists them.
const needed = [...readFileSync(join(site, "sw.js"), "utf8").matchAll(/^ {2}\[?"([^"]+)"/gm)]
  .map((m) => m[1]).filter((file) => file !== "./");
const neededRaw = needed.reduce((sum, file) => sum + statSync(join(site, file)).size, 0);
const neededGzip = needed.reduce((sum, file) => sum + gzipSync(readFileSync(join(site, file)), { level: 9 }).length, 0);

const session = await startSession(site);
try {
  // A first visit: the page, then the service worker keeping the files.
  {
    const context = await session.browser.newContext();
    const page = await context.newPage();
    const before = session.served();
    await page.goto(session.url);
    await waitForPicture(page);
    await page.evaluate(async () => {
      await navigator.serviceWorker.ready;
    });
    // Until nothing more is fetched for a second.
    for (let last = -1, tries = 0; session.served() !== last && tries < 20; ++tries) {
      last = session.served();
      await page.waitForTimeout(1000);
    }
    const sent = session.served() - before;
    console.log(`first visit, bytes served (page and service worker): ${(sent / 1024).toFixed(1)} KiB; ` +
      `the ${needed.length} files the game needs: ${(neededRaw / 1024).toFixed(1)} KiB raw, ` +
      `${(neededGzip / 1024).toFixed(1)} KiB gzip; ${(sent / neededRaw).toFixed(2)}x; ` +
      "goal each byte once (1.00x), at most 300 KB");
    await context.close();
  }

  // The floor, built as the game is (Release: -O3), with a page of its own.
  const floor = mkdtempSync(join(tmpdir(), "pw-web-floor-"));
  const source = fileURLToPath(new URL("web_baseline.c", import.meta.url));
  execFileSync("emcc", ["-O3", "-sENVIRONMENT=web", "-sFILESYSTEM=0", source, "-o", join(floor, "baseline.js")],
    { env: { ...process.env, NODE_PATH: "/usr/share/nodejs" }, stdio: "inherit" });
  writeFileSync(join(floor, "index.html"), "<!doctype html>\n<html lang=\"en\">\n<head><meta charset=\"utf-8\">" +
    "<title>baseline</title></head>\n<body><canvas id=\"display\" width=\"240\" height=\"320\"></canvas>\n" +
    "<script src=\"baseline.js\"></script></body>\n</html>\n");
  const floorServer = await startServer(floor);
  const firstPicture = async (url, mark) => {
    const context = await session.browser.newContext();
    const page = await context.newPage();
    await page.goto(url);
    await page.waitForFunction((name) => performance.getEntriesByName(name).length > 0, mark);
    const at = await page.evaluate((name) => performance.getEntriesByName(name)[0].startTime, mark);
    await context.close();
    return at;
  };
  const loads = [];
  const floorLoads = [];
  for (let i = 0; i < 10; ++i) {
    loads.push(await firstPicture(session.url, "pivotwarden-first-picture"));
    floorLoads.push(await firstPicture(floorServer.url, "baseline-first-picture"));
  }
  floorServer.close();
  rmSync(floor, { recursive: true, force: true });
  console.log(`navigation to the title drawn, median of 10: ${ms(median(loads))} ` +
    `(${ms(Math.min(...loads))} to ${ms(Math.max(...loads))}); goal under 300 ms`);
  console.log(`  beside a minimal Emscripten page filling its canvas once: ${ms(median(floorLoads))} ` +
    `(${ms(Math.min(...floorLoads))} to ${ms(Math.max(...floorLoads))}); ` +
    `${(median(loads) / median(floorLoads)).toFixed(2)}x; goal at most 1.5x`);

  // "How to play": on a first visit it starts by itself once the game has
  // loaded; afterwards from its button, its recordings and game kept.
  const firstVisits = [];
  const pressed = [];
  for (let i = 0; i < 5; ++i) {
    const context = await session.browser.newContext({ firstVisit: true });
    const page = await context.newPage();
    await page.goto(session.url);
    const shown = () => page.waitForFunction(() => performance.getEntriesByName("pivotwarden-how-to-play").length > 0)
      .then(() => page.evaluate(() => performance.getEntriesByName("pivotwarden-how-to-play")[0].startTime));
    firstVisits.push(await shown());
    await page.keyboard.press("Escape");
    await page.locator("#hand").waitFor({ state: "hidden" });
    await page.evaluate(() => {
      performance.clearMarks("pivotwarden-how-to-play");
      window.addEventListener("click", (e) => { window.__pressed = performance.now(); }, { once: true, capture: true });
    });
    await page.getByRole("button", { name: "How to play" }).click();
    pressed.push((await shown()) - (await page.evaluate(() => window.__pressed)));
    await context.close();
  }
  console.log(`How to play shown, first visit, from load, median of 5: ${ms(median(firstVisits))} ` +
    `(${ms(Math.min(...firstVisits))} to ${ms(Math.max(...firstVisits))})`);
  console.log(`How to play shown after its button, median of 5: ${ms(median(pressed))} ` +
    `(${ms(Math.min(...pressed))} to ${ms(Math.max(...pressed))})`);

  const context = await session.browser.newContext();
  await context.addInitScript(instrument);
  const page = await context.newPage();
  await page.goto(session.url + "?seed=42");
  await waitForGame(page);
  const box = await page.locator("#display").boundingBox();
  const at = (x, y) => [box.x + ((x + 0.5) * box.width) / 240, box.y + ((y + 0.5) * box.height) / 320];
  await page.mouse.click(...at(120, 160));
  await page.waitForTimeout(1000);
  const before = await page.evaluate(() => window.__frames);
  await page.waitForTimeout(10000);
  const idle = (await page.evaluate(() => window.__frames)) - before;
  console.log(`animation frames asked for over 10 s idle on the game screen: ${idle}; goal 0`);

  // Presses on the options icon, which opens the panel, and on the panel's
  // OK, which closes it: each changes the picture, and a press whose first
  // drawing changed no pixel is reported as such.
  const delays = [];
  let unchanged = 0;
  for (let i = 0; i < 10; ++i) {
    await page.evaluate(() => {
      window.__drawn = [];
      window.addEventListener("pointerdown", (e) => { window.__pressed = e.timeStamp; }, { once: true, capture: true });
    });
    await page.mouse.move(...at(...(i % 2 === 0 ? [15, 15] : [205, 175])));
    await page.mouse.down();
    await page.waitForTimeout(150);
    await page.mouse.up();
    await page.waitForTimeout(400);
    const drawn = await page.evaluate(() => window.__drawn.filter((d) => d.at >= window.__pressed)
      .map((d) => ({ after: d.at - window.__pressed, changed: d.changed })));
    const first = drawn.find((d) => d.changed);
    if (!first) ++unchanged;
    else delays.push(first.after);
  }
  const frame = await page.evaluate(() => new Promise((done) => {
    requestAnimationFrame((a) => requestAnimationFrame((b) => done(b - a)));
  }));
  console.log(`press to changed canvas pixels, options icon and OK, ${delays.length} presses: ` +
    `median ${ms(median(delays))}, at most ${ms(Math.max(...delays))}` +
    `${unchanged ? `; ${unchanged} presses changed no pixel` : ""}; goal within one frame (${ms(frame)}) + 43 ms`);
  await context.close();
} finally {
  await session.stop();
}
