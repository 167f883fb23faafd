// The page under hostile or unlucky conditions: an endless or broken set
// link, a results database that a newer page wants, that lacks its store or
// holds a bad row, and two builds of the game on one origin.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { cpSync, readFileSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { test } from "node:test";
import { RESULTS, SITE, sessionForTests, startSession, waitForGame } from "./browser.mjs";
import { replayEvents, strokes } from "./replays.mjs";
import { AUTOPLAY, collectErrors, pagePoint, workFolder } from "./support.mjs";

const { session, work } = sessionForTests({ work: true });

// Waits until the page is controlled by its service worker.
async function controlled(page) {
  await page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    if (!navigator.serviceWorker.controller)
      await new Promise((r) => navigator.serviceWorker.addEventListener("controllerchange", r, { once: true }));
  });
}

test("a set link of 1.4 million characters, or with a NUL in it, is refused in words and the own game plays", async () => {
  const context = await session.browser.newContext();
  const page = await context.newPage();
  const errors = collectErrors(page);
  await page.goto(session.url);
  await waitForGame(page);
  // Served by the service worker, as no server would serve it.
  await controlled(page);
  await page.goto(session.url + "?set=" + "4".repeat(1400000));
  assert.equal((await waitForGame(page)).level, 1);
  assert.match(await page.locator("#set-line").textContent(),
    /^The link's text \(1400000 characters\) is not a puzzle set/);

  await page.goto(session.url + "?set=4711-6%00junk");
  assert.equal((await waitForGame(page)).level, 1);
  const line = await page.locator("#set-line").textContent();
  assert.match(line, /is not a puzzle set/);
  assert.doesNotMatch(line, /NaN/);
  assert.deepEqual(errors, []);
  await context.close();
});

// Stores rows in the page's results database, made with its store.
const storeRows = (page, rows) => page.evaluate(([kept, { database, version, store }]) =>
  new Promise((resolve, reject) => {
    const asked = indexedDB.open(database, version);
    asked.onupgradeneeded = () => asked.result.createObjectStore(store, { autoIncrement: true });
    asked.onsuccess = () => {
      const write = asked.result.transaction(store, "readwrite");
      for (const row of kept) write.objectStore(store).add(row);
      write.oncomplete = () => { asked.result.close(); resolve(); };
      write.onerror = () => reject(write.error);
    };
  }), [rows, RESULTS]);

// Opens Progress and answers what it says once it has read the results.
async function progressSays(page) {
  await page.getByRole("button", { name: "Progress" }).click();
  await page.waitForFunction(() => !document.getElementById("progress-said").textContent.startsWith("Reading"),
    null, { timeout: 5000 });
  return page.locator("#progress-said").textContent();
}

test("Progress reads past a bad stored row and a database without its store", async () => {
  const context = await session.browser.newContext({ acceptDownloads: true });
  const page = await context.newPage();
  await page.goto(session.url);
  await waitForGame(page);
  // A database made by someone else, with no store.
  await page.evaluate(({ database, version }) => new Promise((resolve) => {
    const asked = indexedDB.open(database, version);
    asked.onsuccess = () => { asked.result.close(); resolve(); };
  }), RESULTS);
  assert.equal(await progressSays(page), "No puzzle played yet.");
  await page.getByRole("button", { name: "Close" }).click();
  await page.evaluate(({ database }) => new Promise((resolve) => {
    indexedDB.deleteDatabase(database).onsuccess = resolve;
  }), RESULTS);

  const good = ["2026-11-01 10:00:00,3,10,5,3,3,0,0,12.5,1,", "2026-11-02 10:00:00,4,12,6,4,3,0,0,20.5,1,"];
  await storeRows(page, [good[0], "not a row at all", 42, "2026-11-01 10:00:00,3,10\nx", good[1]]);
  assert.equal(await progressSays(page), "3 stored rows cannot be read and are left out.");
  await page.frameLocator("#progress-page").locator("svg").first().waitFor();
  const [download] = await Promise.all([page.waitForEvent("download"),
    page.getByRole("link", { name: "Download results (CSV)" }).click()]);
  const csv = readFileSync(await download.path(), "utf8");
  assert.deepEqual(csv.split("\n").slice(1), [...good, ""]);
  await context.close();
});

test("the game lets go of its results when a newer page needs them, and Progress says what it cannot read", async () => {
  const solved = join(work.path, "set.replay");
  execFileSync(AUTOPLAY, ["--seed", "4711", "--level", "3", "--puzzles", "1", "--out", solved]);
  const context = await session.browser.newContext();
  const page = await context.newPage();
  await page.goto(session.url + "?set=4711-3");
  await waitForGame(page);
  for (const stroke of strokes(replayEvents(solved))) {
    await page.waitForTimeout(stroke.pause);
    const [first, ...rest] = await Promise.all(stroke.points.map(([x, y]) => pagePoint(page, x, y)));
    await page.mouse.move(first.x, first.y);
    await page.mouse.down();
    for (const point of rest) await page.mouse.move(point.x, point.y);
    await page.mouse.up();
  }
  await page.waitForFunction(() => JSON.parse(window.Pivotwarden.dump()).score > 0);
  // The game has written its row, and holds the database open.
  const count = () => page.evaluate(({ database, version, store }) => new Promise((resolve) => {
    const asked = indexedDB.open(database, version);
    asked.onupgradeneeded = () => asked.result.createObjectStore(store, { autoIncrement: true });
    asked.onsuccess = () => {
      const counted = asked.result.transaction(store).objectStore(store).count();
      counted.onsuccess = () => { asked.result.close(); resolve(counted.result); };
    };
  }), RESULTS);
  for (let tries = 0; tries < 100 && (await count()) === 0; ++tries) await page.waitForTimeout(100);
  assert.equal(await count(), 1);

  // A newer version of the page opens the database: it is not kept waiting.
  const upgraded = await page.evaluate(({ database, version }) => new Promise((resolve) => {
    const asked = indexedDB.open(database, version + 1);
    asked.onblocked = () => resolve("blocked");
    asked.onsuccess = () => { asked.result.close(); resolve("opened"); };
    asked.onerror = () => resolve(String(asked.error));
  }), RESULTS);
  assert.equal(upgraded, "opened");
  assert.match(await progressSays(page), /^Your results cannot be read here \(/);
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
      await controlled(a);
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
      await controlled(b);
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
