// The results history in the browser: a puzzle played to the end in the page
// is kept as the desktop keeps it, Progress shows the chart and the tables
// drawn from it and downloads the same rows as CSV, and never waits for ever
// nor hides every row for one it cannot read; Share a set gives a link that
// plays a new set at the level played.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { test } from "node:test";
import { AxeBuilder } from "@axe-core/playwright";
import { RESULTS, sessionForTests, waitForGame } from "./browser.mjs";
import { AUTOPLAY, DESKTOP, collectErrors, pagePoint } from "./support.mjs";
import { replayEvents, strokes } from "./replays.mjs";

const { session, work } = sessionForTests({ work: true });

// The rows kept in the page's storage, as their CSV lines.
const storedRows = (page) => page.evaluate(({ database, version, store }) => new Promise((resolve, reject) => {
  const asked = indexedDB.open(database, version);
  asked.onupgradeneeded = () => asked.result.createObjectStore(store, { autoIncrement: true });
  asked.onerror = () => reject(asked.error);
  asked.onsuccess = () => {
    const read = asked.result.transaction(store).objectStore(store).getAll();
    read.onsuccess = () => { asked.result.close(); resolve(read.result); };
  };
}), RESULTS);

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

// What does not depend on the clock: all but the date and the seconds.
const played = (line) => {
  const fields = line.split(",");
  return [...fields.slice(1, 8), fields[9]].join(",");
};

test("a set played to the end is kept, shown in Progress and downloaded as the desktop writes it", async () => {
  const solved = join(work.path, "set.replay");
  execFileSync(AUTOPLAY, ["--seed", "4711", "--level", "3", "--puzzles", "1", "--out", solved]);
  // The desktop's history of the same play.
  const desktopHistory = join(work.path, "results.csv");
  execFileSync(DESKTOP, ["--headless", "--replay", solved, "--history", desktopHistory],
    { env: { ...process.env, XDG_CONFIG_HOME: join(work.path, "config") } });
  const desktopLines = readFileSync(desktopHistory, "utf8").split("\n");

  const context = await session.browser.newContext({ acceptDownloads: true });
  const page = await context.newPage();
  const errors = collectErrors(page);
  await page.goto(session.url + "?set=4711-3");
  await waitForGame(page);
  // A full history: its oldest row goes as the new one comes.
  const kept = Array.from({ length: 50000 }, (_, i) => `2026-11-01 10:00:00,1,10,5,3,3,0,0,${i % 100}.5,1,`);
  kept[0] = kept[0].replace("11-01", "10-31");
  await storeRows(page, kept);
  for (const stroke of strokes(replayEvents(solved))) {
    await page.waitForTimeout(stroke.pause);
    const [first, ...rest] = await Promise.all(stroke.points.map(([x, y]) => pagePoint(page, x, y)));
    await page.mouse.move(first.x, first.y);
    await page.mouse.down();
    for (const point of rest) await page.mouse.move(point.x, point.y);
    await page.mouse.up();
  }
  // The puzzle's row is written once the next puzzle is on the board.
  await page.waitForFunction(() => window.Pivotwarden && JSON.parse(window.Pivotwarden.dump()).score > 0);
  let rows = [];
  for (let tries = 0; tries < 100 && (rows.length === 0 || rows.at(-1) === kept.at(-1)); ++tries) {
    await page.waitForTimeout(100);
    rows = await storedRows(page);
  }
  assert.equal(rows.length, 50000, "the newest 50,000 rows kept");
  assert.equal(rows[0], kept[1], "the oldest dropped");
  const fields = rows.at(-1).split(",");
  assert.equal(fields[1], "3", "played at the set's level");
  assert.equal(fields[9], "1", "finished");
  assert.equal(fields[10], "4711-3", "carries the set's name");
  assert.deepEqual([played(rows.at(-1))], desktopLines.slice(1, 2).map(played), "as the desktop keeps the same play");

  const progress = page.getByRole("button", { name: "Progress" });
  const box = await progress.boundingBox();
  assert.ok(box.width >= 48 && box.height >= 48, `Progress is ${box.width}×${box.height}`);
  await progress.click();
  const view = page.frameLocator("#progress-page");
  await view.locator("svg").first().waitFor();
  assert.ok(await view.locator("table").count() >= 2, "the days' table and a table per level");
  const levelRow = view.locator("table").last().locator("tr").last().locator("th, td");
  assert.equal((await levelRow.first().textContent()).trim(), "3", "the puzzle in the table of level 3");
  const [download] = await Promise.all([page.waitForEvent("download"),
    page.getByRole("link", { name: "Download results (CSV)" }).click()]);
  const csv = readFileSync(await download.path(), "utf8");
  assert.equal(csv, desktopLines[0] + "\n" + rows.map((row) => row + "\n").join(""), "the header and the stored rows");
  await page.getByRole("button", { name: "Close" }).click();
  assert.equal(await page.locator("#progress-view").evaluate((d) => d.open), false);

  // The replays and demonstration write nothing of the player's.
  await page.evaluate((text) => window.Pivotwarden.replay(text), readFileSync(solved, "utf8"));
  await page.waitForTimeout(300);
  assert.equal((await storedRows(page)).at(-1), rows.at(-1));

  // A newer version of the page opens the results: the game, which holds
  // them open, lets go at once, and Progress says what it cannot read
  // rather than reading for ever.
  const upgraded = await page.evaluate(({ database, version }) => new Promise((resolve) => {
    const asked = indexedDB.open(database, version + 1);
    asked.onblocked = () => resolve("blocked");
    asked.onsuccess = () => { asked.result.close(); resolve("opened"); };
    asked.onerror = () => resolve(String(asked.error));
  }), RESULTS);
  assert.equal(upgraded, "opened");
  assert.match(await progressSays(page), /^Your results cannot be read here \(/);
  assert.deepEqual(errors, []);
  await context.close();
});

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

test("Progress on a phone held sideways: opened by P, it takes the keys, scrolls by them, keeps Close in sight", async () => {
  const context = await session.browser.newContext({ viewport: { width: 844, height: 390 }, deviceScaleFactor: 3 });
  const page = await context.newPage();
  const errors = collectErrors(page);
  await page.goto(session.url);
  await waitForGame(page);
  await storeRows(page, ["2026-11-01 10:00:00,3,10,5,3,3,0,0,12.5,1,"]);
  await page.locator("#display").focus();
  await page.keyboard.press("KeyP");
  const view = page.frameLocator("#progress-page");
  await view.locator("svg").first().waitFor();
  assert.match(await view.locator("p").first().textContent(), /^1 puzzle in the history\./);
  await page.waitForFunction(() => document.activeElement.id === "progress-page", null, { timeout: 5000 });
  const frame = page.frame({ url: "about:srcdoc" });
  assert.equal(await frame.evaluate(() => scrollY), 0);
  await page.keyboard.press("PageDown");
  await frame.waitForFunction(() => scrollY > 0, null, { timeout: 5000 });
  const close = await page.getByRole("button", { name: "Close" }).boundingBox();
  assert.ok(close.y >= 0 && close.y + close.height <= 390, `Close is in sight (${close.y}+${close.height})`);
  // Escape in the drawn page closes the view, back to the game.
  await page.keyboard.press("Escape");
  await page.waitForFunction(() => document.activeElement.id === "display", null, { timeout: 5000 });
  assert.deepEqual(errors, []);

  // axe on the page with the view open, and on the drawn page alone: axe
  // cannot run in a frame that runs no script (its newer mode waits for
  // ever on one, its older one leaves it out).
  await page.keyboard.press("KeyP");
  await view.locator("svg").first().waitFor();
  const violations = async (on) => (await new AxeBuilder({ page: on }).setLegacyMode(true).analyze()).violations
    .map((v) => `${v.id} (${v.nodes.map((n) => n.target.join(" ")).join(", ")})`);
  const alone = await context.newPage();
  await alone.setContent(await page.locator("#progress-page").getAttribute("srcdoc"));
  assert.deepEqual({ page: await violations(page), drawn: await violations(alone) }, { page: [], drawn: [] });
  await context.close();
});

test("Share a set gives a link to a new set at the level played, which opens it", async () => {
  const context = await session.browser.newContext();
  const page = await context.newPage();
  await page.goto(session.url + "?set=12-5");
  await waitForGame(page);
  await page.evaluate(() => { Object.defineProperty(navigator, "share", { value: undefined }); });
  await page.getByRole("button", { name: "Share a set" }).click();
  const link = await page.locator("#share-link").textContent();
  const found = /\?set=([0-9]+)-5$/.exec(link);
  assert.ok(found, link);
  assert.equal(await page.locator("#share-link").getAttribute("href"), link);
  await page.getByRole("button", { name: "Close" }).click();

  await page.goto(link);
  const start = await waitForGame(page);
  assert.equal(start.level, 5);
  assert.equal((await page.locator("#set-line").textContent()).trim(), `Set ${found[1]} \u00b7 level 5 Leave`);
  await context.close();
});
