// The game played with eyes closed: the player in by_ear.mjs hears the page's
// live region, presses keys, and does its own arithmetic. It turns automatic
// levelling off, solves four puzzles of level 1, raises the level to 10 on
// the options panel and solves a puzzle whose number is hidden, typing it on
// the keypad: five puzzles in a row.
import assert from "node:assert/strict";
import { test } from "node:test";
import { sessionForTests } from "./browser.mjs";
import { PlayerByEar } from "./by_ear.mjs";
import { collectErrors } from "./support.mjs";

const { session } = sessionForTests();

test("a player who only listens and presses keys solves five puzzles, one of them hidden", async () => {
  const context = await session.browser.newContext();
  const page = await context.newPage();
  const errors = collectErrors(page);
  await page.goto(session.url);
  // What a screen reader finds: one application area, named.
  assert.match(await page.locator("body").ariaSnapshot(), /- application "Pivotwarden"/);

  const player = new PlayerByEar(page);
  let puzzle = await player.startGame();

  await player.pressUntil("o", /^Options: level 1, automatic leveling on, reset score off\./);
  await player.pressUntil("a", /^Automatic leveling off\./);
  await player.pressUntil("Enter", /^Options closed\./);

  for (let solved = 1; solved <= 4; ++solved) {
    assert.ok(!puzzle.left.includes(null) && !puzzle.right.includes(null), "level 1 shows its numbers");
    puzzle = await player.solveShown(puzzle);
  }
  const [, score] = await player.pressUntil("b", /^Level 1, score (\d+)\./);
  assert.equal(Number(score), 4 * 48, "four puzzles at par");

  puzzle = await player.chooseLevel(1, 10);
  assert.ok(puzzle.left.includes(null) || puzzle.right.includes(null), "level 10 hides its number");
  const hidden = await player.balanceHiddenMatch(puzzle);
  puzzle = await player.typeNumber(hidden);

  const [, finalScore] = await player.pressUntil("b", /^Level 10, score (\d+)\./);
  assert.ok(Number(finalScore) > 4 * 48, "the hidden puzzle earned points");
  assert.deepEqual(errors, []);
  await context.close();
});
