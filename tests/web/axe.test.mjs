// The page checked by axe at a phone's size and a desktop's: the title, the
// game, the options panel, the keypad, the page that says the game has ended
// and the one that says another tab plays. Each is reached by keys, as the
// player by ear reaches it.
import assert from "node:assert/strict";
import { test } from "node:test";
import { AxeBuilder } from "@axe-core/playwright";
import { sessionForTests, waitForGame } from "./browser.mjs";
import { PlayerByEar } from "./by_ear.mjs";
import { collectErrors, pagePoint } from "./support.mjs";

const { session } = sessionForTests();

const VIEWPORTS = {
  phone: { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
  desktop: { viewport: { width: 1280, height: 800 } },
};

async function violations(page) {
  const results = await new AxeBuilder({ page }).analyze();
  return results.violations.map((v) => `${v.id}: ${v.help} (${v.nodes.map((n) => n.target.join(" ")).join(", ")})`);
}

for (const [name, options] of Object.entries(VIEWPORTS)) {
  test(`axe finds nothing on any page of the game at the ${name}'s size`, async () => {
    const context = await session.browser.newContext(options);
    const page = await context.newPage();
    const errors = collectErrors(page);
    await page.goto(session.url);
    await page.getByRole("application", { name: "Pivotwarden" }).waitFor();
    const found = {};
    found.title = await violations(page);

    const player = new PlayerByEar(page);
    let puzzle = await player.startGame();
    found.game = await violations(page);
    await player.pressUntil("o", /^Options: /);
    found.options = await violations(page);
    await player.pressUntil("Enter", /^Options closed\./);
    puzzle = await player.chooseLevel(1, 10);
    await player.balanceHiddenMatch(puzzle);
    found.keypad = await violations(page);

    // Another tab of the game waits for this one.
    const second = await context.newPage();
    await second.goto(session.url);
    await second.getByRole("status").filter({ hasText: "open in another tab" }).waitFor();
    found.elsewhere = await violations(second);
    await second.close();

    // The close icon has no key: a press ends the game.
    const close = await pagePoint(page, 228, 12);
    await page.mouse.click(close.x, close.y);
    await page.getByRole("button", { name: "Play again" }).waitFor();
    found.ended = await violations(page);

    assert.deepEqual(found, { title: [], game: [], options: [], keypad: [], elsewhere: [], ended: [] });
    assert.deepEqual(errors, []);
    await context.close();
  });
}

test("in forced colours the buttons and dialogs keep their edges and focus shows; less motion asked for, a first visit offers How to play", async () => {
  const context = await session.browser.newContext({ firstVisit: true, viewport: { width: 820, height: 600 },
    forcedColors: "active", reducedMotion: "reduce" });
  const page = await context.newPage();
  const errors = collectErrors(page);
  await page.goto(session.url);
  await waitForGame(page);
  await page.waitForFunction(() => /How to play/.test(document.getElementById("caption").textContent), null,
    { timeout: 5000 });
  await page.waitForTimeout(1500);
  assert.ok(await page.locator("#hand").evaluate((hand) => hand.hasAttribute("hidden")), "How to play did not start");

  const edge = (selector) => page.locator(selector).evaluate((element) => {
    const style = getComputedStyle(element);
    return style.borderTopStyle !== "none" && parseFloat(style.borderTopWidth) >= 1;
  });
  assert.ok(await edge("#sound"), "a button keeps its edge");
  await page.locator("#display").focus();
  await page.keyboard.press("Tab");  // the title has no weight: on to the bar
  await page.waitForFunction(() => document.activeElement.id === "sound", null, { timeout: 5000 });
  assert.notEqual(await page.locator("#sound").evaluate((b) => getComputedStyle(b).outlineStyle), "none",
    "focus shows on a button");
  assert.deepEqual(await violations(page), []);
  await page.locator("#progress").press("Enter");
  await page.locator("#progress-view").waitFor({ state: "visible" });
  assert.ok(await edge("#progress-view"), "a dialog keeps its edge");
  assert.deepEqual(errors, []);
  await context.close();
});
