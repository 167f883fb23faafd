// Pivotwarden.replay(text) in the page against `pivotwarden --headless
// --replay`: the same dump, the same picture, and the player's own game and
// stored settings untouched.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { test } from "node:test";
import { SOURCE, dumpOf, sessionForTests, waitForGame } from "./browser.mjs";
import {
  AUTOPLAY, STORAGE_ITEM, canvasPixels, collectErrors, desktopRun, differingPixels, pngPixels,
} from "./support.mjs";

const { session, work } = sessionForTests({ work: true });

test("replays give the desktop's dump and picture, and leave the player's game alone", async () => {
  const solved = join(work.path, "five.replay");
  execFileSync(AUTOPLAY, ["--seed", "7", "--puzzles", "5", "--out", solved]);
  const replays = [solved, join(SOURCE, "docs/replays/options.replay"), join(SOURCE, "docs/replays/keypad.replay")];

  const context = await session.browser.newContext();
  const page = await context.newPage();
  const errors = collectErrors(page);
  await page.goto(session.url);
  const stored = "Windows Registry Editor Version 5.00\r\n\r\n" +
    "[HKEY_CURRENT_USER\\Software\\Marblequill\\Pivotwarden]\r\n\"score\"=\"321\"\r\n\"level\"=\"3\"\r\n";
  await page.evaluate(([name, text]) => localStorage.setItem(name, text), [STORAGE_ITEM, stored]);
  await page.reload();
  const before = await waitForGame(page);
  assert.deepEqual([before.score, before.level], [321, 3]);

  for (const replay of replays) {
    const desktop = desktopRun(replay, work.path);
    const dump = await page.evaluate((text) => window.Pivotwarden.replay(text), readFileSync(replay, "utf8"));
    assert.equal(dump, desktop.dump, `dump of ${replay}`);
    const differing = differingPixels(await canvasPixels(page), await pngPixels(page, desktop.screenshot));
    assert.equal(differing, 0, `canvas pixels differing from the desktop's picture of ${replay}`);
  }
  assert.ok(JSON.parse(readFileSync(join(work.path, "desktop.json"), "utf8")).score > 0);
  assert.equal(JSON.parse(await page.evaluate((t) => window.Pivotwarden.replay(t), readFileSync(solved, "utf8")))
    .screen, "game");

  assert.deepEqual(await dumpOf(page), before, "the player's game is untouched");
  assert.equal(await page.evaluate((name) => localStorage.getItem(name), STORAGE_ITEM), stored);
  await assert.rejects(page.evaluate(() => window.Pivotwarden.replay("pivotwarden-replay 1\nat x down\n")),
    /replay line 2/);
  // A NUL byte is refused as the desktop refuses it, not taken for the text's end.
  await assert.rejects(
    page.evaluate(() => window.Pivotwarden.replay("pivotwarden-replay 1\nat 10 end\u0000\nat 5 down 1 1\n")),
    /replay line 2: contains a NUL byte/);
  assert.deepEqual(errors, []);
  await context.close();
});
