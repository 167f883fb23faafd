// The player's settings in the browser's storage: kept across reloads,
// mended after corruption, never shared by two tabs at once, and the game
// still starting with the network gone.
import assert from "node:assert/strict";
import { test } from "node:test";
import { dumpOf, sessionForTests, waitForGame, waitForPicture } from "./browser.mjs";
import { KEY_LINE, STORAGE_ITEM, collectErrors, pagePoint } from "./support.mjs";

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

test("after one visit the game starts and plays with the network off", async () => {
  const context = await session.browser.newContext();
  const page = await context.newPage();
  await page.goto(session.url);
  await waitForGame(page);
  await page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    if (!navigator.serviceWorker.controller)
      await new Promise((r) => navigator.serviceWorker.addEventListener("controllerchange", r, { once: true }));
  });
  await context.setOffline(true);
  await page.reload();
  await waitForPicture(page);
  await waitForGame(page);
  await click(page, 120, 160);
  await page.waitForFunction(() => JSON.parse(window.Pivotwarden.dump()).screen === "game");
  await context.close();
});
