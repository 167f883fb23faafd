// What the page costs in memory once the player has played, watched How to
// play and had a replay played: the WebAssembly instances and their
// memories, the JavaScript heap, and the renderer processes' resident and
// proportional set sizes. Not a test: run by hand, on any build's site.
//   node tests/web/memory.mjs [SITE]
import { readFileSync } from "node:fs";
import { SITE, SOURCE, startSession, waitForGame } from "./browser.mjs";
import { countInstances, instancesOf } from "./instances.mjs";
import { pagePoint } from "./support.mjs";

const site = process.argv[2] || SITE;
const session = await startSession(site);
const kib = (bytes) => `${(bytes / 1024).toFixed(0)} KiB`;

// The renderers' sizes from /proc, in KiB: every renderer of the browser
// (the page and its service worker share one).
async function renderers(browser) {
  const cdp = await browser.newBrowserCDPSession();
  const { processInfo } = await cdp.send("SystemInfo.getProcessInfo");
  await cdp.detach();
  const sizes = { rss: 0, pss: 0, count: 0, each: [] };
  for (const { id, type } of processInfo) {
    if (type !== "renderer") continue;
    try {
      const rollup = readFileSync(`/proc/${id}/smaps_rollup`, "utf8");
      sizes.rss += Number(/^Rss:\s+(\d+)/m.exec(rollup)[1]);
      sizes.pss += Number(/^Pss:\s+(\d+)/m.exec(rollup)[1]);
      ++sizes.count;
      sizes.each.push(Number(/^Pss:\s+(\d+)/m.exec(rollup)[1]));
    } catch (error) { /* gone meanwhile */ }
  }
  return sizes;
}

try {
  const context = await session.browser.newContext({ viewport: { width: 1280, height: 800 } });
  await context.addInitScript(countInstances);
  const page = await context.newPage();
  await page.goto(session.url + "?seed=42");
  await waitForGame(page);
  const centre = await pagePoint(page, 120, 160);
  await page.mouse.click(centre.x, centre.y);
  await page.waitForFunction(() => JSON.parse(window.Pivotwarden.dump()).screen === "game");
  await page.getByRole("button", { name: "How to play" }).click();
  await page.waitForFunction(() => performance.getEntriesByName("pivotwarden-how-to-play").length > 0);
  await page.waitForTimeout(3000);
  await page.keyboard.press("Escape");
  await page.locator("#hand").waitFor({ state: "hidden" });
  await page.evaluate((text) => window.Pivotwarden.replay(text),
    readFileSync(SOURCE + "docs/replays/keypad.replay", "utf8"));
  await page.waitForTimeout(1000);

  const cdp = await context.newCDPSession(page);
  await cdp.send("HeapProfiler.collectGarbage");
  await cdp.send("Performance.enable");
  const { metrics } = await cdp.send("Performance.getMetrics");
  const metric = (name) => metrics.find((m) => m.name === name).value;
  const wasm = await instancesOf(page);
  const sizes = await renderers(session.browser);
  console.log(`site: ${site}`);
  console.log(`WebAssembly instances: ${wasm.count}; their memories: ${wasm.bytes.map(kib).join(" + ")} ` +
    `= ${kib(wasm.bytes.reduce((a, b) => a + b, 0))}`);
  console.log(`JavaScript heap: ${kib(metric("JSHeapUsedSize"))} used of ${kib(metric("JSHeapTotalSize"))}`);
  console.log(`renderer processes: ${sizes.count}, resident ${sizes.rss} KiB, proportional ${sizes.pss} KiB ` +
    `(${sizes.each.join(" + ")} KiB)`);
  await context.close();
} finally {
  await session.stop();
}
