// The first puzzle of a seed solved in the page by the keyboard alone, as
// the desktop's keyboard test solves it: the ring shows on the ringed
// weight, and the points are the ones a stylus would have earned.
import assert from "node:assert/strict";
import { test } from "node:test";
import { dumpOf, sessionForTests, waitForGame } from "./browser.mjs";
import { collectErrors, pagePoint } from "./support.mjs";

const { session } = sessionForTests();

test("the keyboard alone plays a puzzle to solved, with the ring on the ringed weight", async () => {
  const context = await session.browser.newContext();
  const page = await context.newPage();
  const errors = collectErrors(page);
  await page.goto(session.url + "?seed=11");
  await waitForGame(page);
  await page.keyboard.press("Enter");
  await page.waitForFunction(() => JSON.parse(window.Pivotwarden.dump()).screen === "game");

  // Level 1 asks for the tray weight that carries the grey weight's number,
  // on the other pan.
  const board = (await dumpOf(page)).elements.filter((e) => e.kind === "Weight");
  const grey = board.find((e) => e.grey);
  const wanted = board.find((e) => !e.grey && e.value === grey.value);
  const index = board.filter((e) => !e.grey && e.homeX < wanted.homeX).length;
  for (let i = 0; i < index; ++i) await page.keyboard.press("ArrowRight");

  const ring = await page.locator("#ring").boundingBox();
  assert.ok(ring, "the ring is shown");
  const centre = await pagePoint(page, wanted.x + wanted.width / 2, wanted.y + wanted.height / 2);
  assert.ok(centre.x > ring.x && centre.x < ring.x + ring.width, "the ring is around the wanted weight");
  assert.ok(centre.y > ring.y && centre.y < ring.y + ring.height, "the ring is around the wanted weight");

  await page.keyboard.press("Enter");
  await page.keyboard.press(grey.pan === "right" ? "ArrowLeft" : "ArrowRight");
  await page.keyboard.press("Enter");
  await page.waitForFunction(() => JSON.parse(window.Pivotwarden.dump()).score === 48, null, { timeout: 10000 });
  const end = await dumpOf(page);
  assert.equal(end.level, 1);
  assert.deepEqual(errors, []);
  await context.close();
});
