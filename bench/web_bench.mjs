// The browser build's figures, with their goals: the site's transfer size
// (gzip), load to the title drawn (median of 10 fresh loads), animation
// frames asked for over 10 s idle on the game screen, press to changed
// canvas pixels, and the start of "How to play" (on a first visit, from the
// page's load; from a press on its button). Headless Debian chromium on
// 127.0.0.1.
//   node bench/web_bench.mjs [SITE]   (after scripts/build-web.sh)
import { readdirSync, readFileSync, statSync } from "node:fs";
import { join, relative } from "node:path";
import { gzipSync } from "node:zlib";
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

// Counts animation frames asked for and notes when the canvas was drawn.
function instrument() {
  window.__frames = 0;
  const request = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => {
    window.__frames += 1;
    return request(callback);
  };
  window.__drawn = [];
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (...args) {
    window.__drawn.push(performance.now());
    return put.apply(this, args);
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
console.log(`transfer size, whole site, gzip: ${(total / 1024).toFixed(1)} KiB ` +
  `(${(totalRaw / 1024).toFixed(1)} KiB raw); goal at most 300 KB`);

const session = await startSession();
try {
  const loads = [];
  for (let i = 0; i < 10; ++i) {
    const context = await session.browser.newContext();
    const page = await context.newPage();
    await page.goto(session.url);
    await waitForPicture(page);
    loads.push(await page.evaluate(() => performance.getEntriesByName("pivotwarden-first-picture")[0].startTime));
    await context.close();
  }
  console.log(`load to title drawn, median of 10: ${ms(median(loads))} ` +
    `(${ms(Math.min(...loads))} to ${ms(Math.max(...loads))}); goal under 300 ms`);

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

  // Presses on a tray weight: it lifts at once, so the canvas changes.
  const delays = [];
  for (let i = 0; i < 10; ++i) {
    await page.evaluate(() => {
      window.__drawn = [];
      window.addEventListener("pointerdown", (e) => { window.__pressed = e.timeStamp; }, { once: true, capture: true });
    });
    await page.mouse.move(...at(30, 295));
    await page.mouse.down();
    await page.waitForTimeout(150);
    delays.push(await page.evaluate(() => window.__drawn.find((t) => t >= window.__pressed) - window.__pressed));
    await page.mouse.up();
    await page.waitForTimeout(400);
  }
  const frame = await page.evaluate(() => new Promise((done) => {
    requestAnimationFrame((a) => requestAnimationFrame((b) => done(b - a)));
  }));
  console.log(`press to changed canvas pixels, 10 presses: median ${ms(median(delays))}, ` +
    `at most ${ms(Math.max(...delays))}; goal within one frame (${ms(frame)}) + 43 ms`);
  await context.close();
} finally {
  await session.stop();
}
