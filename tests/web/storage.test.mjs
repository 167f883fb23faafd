// The player's settings in the browser's storage: kept across reloads,
// mended after corruption, never shared by two tabs at once, and the game
// still starting with the network gone, two builds on one origin keeping
// each their own offline copy.
import assert from "node:assert/strict";
import { cpSync, readFileSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { test } from "node:test";
import {
  SITE, dumpOf, sessionForTests, startSession, waitForGame, waitForPicture, waitForServiceWorker,
} from "./browser.mjs";
import { PlayerByEar } from "./by_ear.mjs";
import { KEY_LINE, STORAGE_ITEM, collectErrors, pagePoint, workFolder } from "./support.mjs";

const { session } = sessionForTests();

async function click(page, x, y) {
  const p = await pagePoint(page, x, y);
  await page.mouse.click(p.x, p.y);
  await page.waitForTimeout(120);
}

// From the title, opens the options panel, raises the level `steps` times
// and closes the panel.
async function raiseLevel(page, steps) {
  await click(page, 120, 160);
  await click(page, 15, 15);
  for (let i = 0; i < steps; ++i) await click(page, 16, 117);
  await click(page, 205, 175);
}

const stored = (page) => page.evaluate((name) => localStorage.getItem(name), STORAGE_ITEM);
// Waits, on a loaded machine too, until the stored text matches.
const storedMatches = (page, pattern) =>
  page.waitForFunction(([name, source]) => new RegExp(source).test(localStorage.getItem(name) || ""),
    [STORAGE_ITEM, pattern.source]);
const storeText = (page, text) =>
  page.evaluate(([name, value]) => localStorage.setItem(name, value), [STORAGE_ITEM, text]);

test("settings survive a reload; a corrupt store loads as the defaults and the next write mends it", async () => {
  const context = await session.browser.newContext();
  const page = await context.newPage();
  await page.goto(session.url);
  await waitForGame(page);
  await raiseLevel(page, 3);
  await storedMatches(page, /"level"="4"/);
  assert.equal((await dumpOf(page)).level, 4);
  await page.reload();
  assert.equal((await waitForGame(page)).level, 4);

  for (const corrupt of ["\u0000\u0001 not settings at all", `${KEY_LINE}\n"level"="eleventy"\n"score"="-5"\n`]) {
    await storeText(page, corrupt);
    await page.reload();
    const dump = await waitForGame(page);
    assert.deepEqual([dump.score, dump.level], [0, 1], JSON.stringify(corrupt));
    await raiseLevel(page, 1);
    await storedMatches(page, /"level"="2"/);
    const mended = await stored(page);
    assert.match(mended, /^Windows Registry Editor Version 5\.00\r?\n/);
    assert.match(mended, /"level"="2"/);
    await page.reload();
    assert.equal((await waitForGame(page)).level, 2);
  }
  await context.close();
});

test("a lone surrogate in the stored text costs no other character, however often the settings are written", async () => {
  const context = await session.browser.newContext();
  const page = await context.newPage();
  await page.goto(session.url);
  await storeText(page, `${KEY_LINE}\n"note"="a\uD800bc\uDC00de"\n"level"="2"\n`);
  await page.reload();
  assert.equal((await waitForGame(page)).level, 2);
  for (const level of [3, 4]) {
    await raiseLevel(page, 1);
    await storedMatches(page, new RegExp(`"level"="${level}"`));
    await page.reload();
    await waitForGame(page);
  }
  assert.match(await stored(page), /"note"="a\uFFFDbc\uFFFDde"/);
  await context.close();
});

test("a second tab waits while the first plays, keeps its score intact, and takes over when it closes", async () => {
  const context = await session.browser.newContext();
  const first = await context.newPage();
  await first.goto(session.url);
  await storeText(first, `${KEY_LINE}\n"score"="500"\n"level"="6"\n`);
  await first.reload();
  assert.equal((await waitForGame(first)).score, 500);

  const second = await context.newPage();
  const errors = collectErrors(second);
  await second.goto(session.url);
  await second.locator("#elsewhere").waitFor({ state: "visible" });
  await second.waitForTimeout(300);
  assert.equal(await second.evaluate(() => window.Pivotwarden.dump()), null, "no second game");
  await raiseLevel(first, 1);
  await storedMatches(second, /"level"="7"/);
  assert.match(await stored(second), /"score"="500"/);

  await first.close();
  await second.locator("#elsewhere").waitFor({ state: "hidden" });
  const dump = await waitForGame(second);
  assert.deepEqual([dump.score, dump.level], [500, 7]);
  assert.deepEqual(errors, []);
  await context.close();
});

test("\"Play here\" takes the game over with the score intact, and the first tab writes nothing more", async () => {
  const context = await session.browser.newContext({ viewport: { width: 1280, height: 800 } });
  // Every write a tab makes to its storage, counted.
  await context.addInitScript(() => {
    const setItem = Storage.prototype.setItem;
    window.writesCounted = 0;
    Storage.prototype.setItem = function (...args) {
      ++window.writesCounted;
      return setItem.apply(this, args);
    };
  });
  const writes = (page) => page.evaluate(() => window.writesCounted);
  const first = await context.newPage();
  await first.goto(session.url);
  await storeText(first, `${KEY_LINE}\n"score"="500"\n"level"="6"\n`);
  await first.reload();
  assert.equal((await waitForGame(first)).score, 500);
  await raiseLevel(first, 1);
  await storedMatches(first, /"level"="7"/);

  // The second tab's page: no empty canvas, its text within the viewport.
  const second = await context.newPage();
  const errors = collectErrors(second);
  await second.goto(session.url);
  await second.locator("#elsewhere").waitFor({ state: "visible" });
  assert.equal(await second.locator("#display").isHidden(), true);
  assert.equal(await second.locator("#bar").isHidden(), true);
  const page = await second.locator("#elsewhere").boundingBox();
  assert.ok(page.x >= 0 && page.x + page.width <= 1280, `the page runs from ${page.x} to ${page.x + page.width}`);
  assert.equal(await second.evaluate(() => document.documentElement.scrollWidth <= innerWidth), true);

  await second.getByRole("button", { name: "Play here" }).click();
  const taken = await waitForGame(second);
  assert.deepEqual([taken.score, taken.level], [500, 7]);
  await first.locator("#elsewhere").waitFor({ state: "visible" });
  assert.equal(await first.locator("#display").isHidden(), true);
  const firstWrites = await writes(first);
  await first.keyboard.press("m");  // would store the sound, were it still playing
  await raiseLevel(second, 1);
  await storedMatches(second, /"level"="8"/);
  await first.waitForTimeout(300);
  assert.equal(await writes(first), firstWrites, "writes from the tab that was taken over");
  assert.match(await stored(second), /"score"="500"/);
  assert.doesNotMatch(await stored(second), /"sound"/);

  // And back: the first tab starts afresh from what the second stored.
  await first.getByRole("button", { name: "Play here" }).click();
  const back = await waitForGame(first);
  assert.deepEqual([back.score, back.level], [500, 8]);
  await second.locator("#elsewhere").waitFor({ state: "visible" });
  assert.deepEqual(errors, []);
  await context.close();
});

test("the bar switches the sound and full screen, shows the stored level, and says how to start", async () => {
  const context = await session.browser.newContext({
    viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true,
  });
  const page = await context.newPage();
  const errors = collectErrors(page);
  await page.goto(session.url);
  await waitForGame(page);
  const caption = page.locator("#caption");
  const shows = async (locator, text) => {
    await page.waitForFunction(([element, want]) => element.textContent === want,
      [await locator.elementHandle(), text]);
  };
  await shows(caption, "Tap the picture to play");
  const level = page.locator("#level");
  await shows(level, "Level 1");

  // The sound button and the M key are one switch, stored as "sound".
  await page.getByRole("button", { name: "Sound on" }).tap();
  await storedMatches(page, /"sound"="0"/);
  await page.getByRole("button", { name: "Sound off" }).waitFor();
  await page.keyboard.press("m");
  await storedMatches(page, /"sound"="1"/);
  await page.getByRole("button", { name: "Sound on" }).waitFor();
  await shows(caption, "Press Enter to play");

  await page.getByRole("button", { name: "Full screen" }).tap();
  await page.waitForFunction(() => document.fullscreenElement !== null);
  await page.getByRole("button", { name: "Leave full screen" }).tap();
  await page.waitForFunction(() => document.fullscreenElement === null);
  await page.getByRole("button", { name: "Full screen" }).waitFor();

  // The level the game stores, by automatic levelling (five puzzles solved)
  // and on the options panel.
  const player = new PlayerByEar(page);
  await page.locator("#display").focus();
  let puzzle = await player.startGame();
  await shows(caption, "");
  for (let solved = 0; solved < 5; ++solved) puzzle = await player.solveShown(puzzle);
  await storedMatches(page, /"level"="2"/);
  await shows(level, "Level 2");
  await player.chooseLevel(2, 4);
  await shows(level, "Level 4");
  assert.deepEqual(errors, []);
  await context.close();
});

test("after one visit the game starts and plays with the network off", async () => {
  const context = await session.browser.newContext();
  const page = await context.newPage();
  await page.goto(session.url);
  await waitForGame(page);
  await waitForServiceWorker(page);
  await context.setOffline(true);
  await page.reload();
  await waitForPicture(page);
  await waitForGame(page);
  await click(page, 120, 160);
  await page.waitForFunction(() => JSON.parse(window.Pivotwarden.dump()).screen === "game");
  await context.close();
});

test("two builds on one origin keep each other's offline copy", async () => {
  const folder = workFolder();
  try {
    cpSync(SITE, join(folder.path, "a"), { recursive: true });
    cpSync(SITE, join(folder.path, "b"), { recursive: true });
    // Another build: the cache's version differs.
    const worker = join(folder.path, "b", "sw.js");
    writeFileSync(worker, readFileSync(worker, "utf8").replace(/[0-9a-f]{16}";/, "0123456789abcdef\";"));
    const both = await startSession(folder.path);
    try {
      const context = await both.browser.newContext();
      const a = await context.newPage();
      await a.goto(both.url + "a/");
      await waitForGame(a);
      await waitForServiceWorker(a);
      const cachesOf = (page) => page.evaluate(() => caches.keys());
      const ofA = await cachesOf(a);
      assert.equal(ofA.length, 1);
      // Caches named before the scope was: one holding /a/'s page, one /b/'s.
      await a.evaluate((url) => Promise.all(["a", "b"].map(async (side) => {
        const cache = await caches.open(`pivotwarden-${side.repeat(16)}`);
        await cache.put(new URL(`/${side}/index.html`, url).href, new Response("old"));
      })), both.url);

      // One tab plays at a time on the origin: /a/'s lets go first.
      await a.close();
      const b = await context.newPage();
      await b.goto(both.url + "b/");
      await waitForGame(b);
      await waitForServiceWorker(b);
      const after = await cachesOf(b);
      assert.ok(ofA.every((name) => after.includes(name)), `/a/'s copy kept: ${after}`);
      assert.ok(after.includes(`pivotwarden-${"a".repeat(16)}`), "an old copy of another scope kept");
      assert.ok(!after.includes(`pivotwarden-${"b".repeat(16)}`), "/b/'s own old copy removed");
      assert.equal(after.length, 3);

      await b.close();
      await context.setOffline(true);
      const again = await context.newPage();
      await again.goto(both.url + "a/");
      assert.equal((await waitForGame(again)).screen, "title");
      await context.close();
    } finally {
      await both.stop();
    }
  } finally {
    folder.remove();
  }
});
