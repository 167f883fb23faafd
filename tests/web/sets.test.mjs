// A puzzle set by link: ?set=4711-6 plays the set's first puzzle, the same
// board the desktop's game gives for seed 4711 at level 6 with automatic
// levelling off, on settings of its own, with its line and a way to leave;
// text that is no set is said, and the player's own game plays.
import assert from "node:assert/strict";
import { test } from "node:test";
import { AxeBuilder } from "@axe-core/playwright";
import { writeFileSync } from "node:fs";
import { join } from "node:path";
import { dumpOf, sessionForTests, waitForGame, waitForServiceWorker } from "./browser.mjs";
import { collectErrors, desktopRun, pagePoint } from "./support.mjs";

const { session, work } = sessionForTests({ work: true });

const boardOf = (dump) =>
  dump.elements
    .filter((e) => e.kind === "Weight")
    .map(({ value, initialValue, grey, homeX, homeY, pan, showNumber }) =>
      JSON.stringify({ value, initialValue, grey, homeX, homeY, pan, showNumber }))
    .sort();

test("a set's link gives the desktop's board for that set, its line and a way back", async () => {
  const replay = join(work.path, "set.replay");
  writeFileSync(replay, "pivotwarden-replay 1\nseed 4711\nscore 0\nlevel 6\nauto 1\n" +
    "at 1000 down 120 160\nat 1060 up 120 160\nat 1200 end\n");
  const desktop = JSON.parse(desktopRun(replay, work.path).dump);
  assert.equal(desktop.screen, "game");

  // A phone on its side, where the line once went under the display.
  const context = await session.browser.newContext({ viewport: { width: 844, height: 390 }, deviceScaleFactor: 3 });
  const page = await context.newPage();
  const errors = collectErrors(page);
  await page.goto(session.url + "?set=4711-6");
  const start = await waitForGame(page);
  assert.equal(start.level, 6);
  assert.equal(start.auto, false);
  assert.equal(start.score, 0);
  assert.equal((await page.locator("#bar #set-line").textContent()).trim(), "Set 4711 \u00b7 level 6 Leave");
  const display = await page.locator("#display").boundingBox();
  const leave = await page.locator("#set-line a").boundingBox();
  assert.ok(leave.width >= 48 && leave.height >= 48, `Leave is ${leave.width}\u00d7${leave.height}`);
  assert.ok(leave.x >= display.x + display.width || leave.y >= display.y + display.height,
    "Leave is beside or below the display, never under it");
  assert.ok(leave.x + leave.width <= 844 && leave.y + leave.height <= 390, "Leave is in sight");
  const found = await new AxeBuilder({ page }).analyze();
  assert.deepEqual(found.violations.map((v) => v.id), []);
  const point = await pagePoint(page, 120, 160);
  await page.mouse.click(point.x, point.y);
  await page.waitForFunction(() => JSON.parse(window.Pivotwarden.dump()).screen === "game");
  const browser = await dumpOf(page);
  assert.ok(boardOf(desktop).length > 0);
  assert.deepEqual(boardOf(browser), boardOf(desktop));
  // The player's own settings were not touched by the set.
  assert.equal(await page.evaluate(() => Object.keys(localStorage).filter((k) => /score|level/.test(localStorage[k])).length), 0);

  await page.locator("#set-line a").click();
  await page.waitForURL((url) => !url.search.includes("set="));
  const own = await waitForGame(page);
  assert.equal(own.level, 1);
  assert.deepEqual(errors, []);
  await context.close();
});

test("text that is no set is said, and the player's own game plays: a wrong set, one with a NUL, one of 1.4 million characters", async () => {
  const context = await session.browser.newContext();
  const page = await context.newPage();
  const errors = collectErrors(page);
  await page.goto(session.url + "?set=99-x");
  const start = await waitForGame(page);
  assert.equal(start.level, 1);
  assert.match(await page.locator("#bar #set-line").textContent(), /is not a puzzle set/);
  // The page that registered the service worker is the one it surely takes
  // over: the links after it are served by it, the longest as no server
  // would serve it.
  await waitForServiceWorker(page);

  // Markup and script-like text in a link is said as text, never made into markup.
  const markup = "<img src=x onerror=alert(1)></script>javascript:x";
  await page.goto(session.url + "?set=" + encodeURIComponent(markup));
  assert.equal((await waitForGame(page)).level, 1);
  assert.match(await page.locator("#set-line").textContent(), /^\u201c<img src=x onerror=alert\(1\)><\/script>javascript:x\u201d/);
  assert.equal(await page.locator("img").count(), 0);

  await page.goto(session.url + "?set=4711-6%00junk");
  assert.equal((await waitForGame(page)).level, 1);
  const line = await page.locator("#set-line").textContent();
  assert.match(line, /is not a puzzle set/);
  assert.doesNotMatch(line, /NaN/);

  // Made in the page, so that the link never crosses to the browser's driver.
  await Promise.all([page.waitForNavigation(),
    page.evaluate(() => { location.href = "?set=" + "4".repeat(1400000); })]);
  assert.equal((await waitForGame(page)).level, 1);
  assert.match(await page.locator("#set-line").textContent(),
    /^The link's text \(1400000 characters\) is not a puzzle set/);
  assert.deepEqual(errors, []);
  await context.close();
});
