// The page makes one WebAssembly instance: the player's game, How to play
// and Pivotwarden.replay are games inside it, and the player's game comes
// out of How to play and a replay as it went in.
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { test } from "node:test";
import { SOURCE, sessionForTests, waitForGame } from "./browser.mjs";
import { countInstances, instancesOf } from "./instances.mjs";
import { collectErrors, pagePoint } from "./support.mjs";

const { session } = sessionForTests();

test("playing, How to play and a replay make one WebAssembly instance and leave the player's game alone", async () => {
  const context = await session.browser.newContext();
  await context.addInitScript(countInstances);
  const page = await context.newPage();
  const errors = collectErrors(page);
  await page.goto(session.url + "?seed=42");
  await waitForGame(page);
  const centre = await pagePoint(page, 120, 160);
  await page.mouse.click(centre.x, centre.y);
  await page.waitForFunction(() => JSON.parse(window.Pivotwarden.dump()).screen === "game");
  await page.waitForTimeout(500);
  const before = await page.evaluate(() => window.Pivotwarden.dump());

  await page.getByRole("button", { name: "How to play" }).click();
  await page.waitForFunction(() => performance.getEntriesByName("pivotwarden-how-to-play").length > 0);
  await page.waitForFunction(() => document.getElementById("hand").classList.contains("down"));
  await page.keyboard.press("Escape");
  await page.locator("#hand").waitFor({ state: "hidden" });
  const replayed = await page.evaluate((text) => window.Pivotwarden.replay(text),
    readFileSync(SOURCE + "docs/replays/keypad.replay", "utf8"));
  assert.equal(JSON.parse(replayed).screen, "game");

  assert.equal((await instancesOf(page)).count, 1, "WebAssembly instances made");
  assert.equal(await page.evaluate(() => window.Pivotwarden.dump()), before, "the player's game is untouched");
  assert.deepEqual(errors, []);
  await context.close();
});
