// The first puzzle of a seed solved in the page by the keyboard alone, as
// the desktop's keyboard test solves it: the ring shows on the ringed
// weight, and the points are the ones a stylus would have earned.
import assert from "node:assert/strict";
import { test } from "node:test";
import { join } from "node:path";
import { SOURCE, dumpOf, sessionForTests, waitForGame } from "./browser.mjs";
import { replayEvents, strokes } from "./replays.mjs";
import { STORAGE_ITEM, collectErrors, pagePoint } from "./support.mjs";

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

// Every key the README lists, pressed in the page, each checked by what it
// does to the game as the dump shows it (or to the page: full screen, the
// stored sound).
function waitFor(page, check, arg, what) {
  return page.waitForFunction(check, arg, { timeout: 5000 }).catch(() => assert.fail(what));
}
// The weights as the dump shows them, in a fixed order (a carried weight
// is moved to the top of the scene's list).
function weightsOf(page) {
  return page.evaluate(() => JSON.stringify(JSON.parse(window.Pivotwarden.dump()).elements
    .filter((e) => e.kind === "Weight").map((e) => JSON.stringify(e)).sort()));
}
// Waits until the weights differ from (or, with same, equal) was.
function weightsBecome(page, was, same, what) {
  return waitFor(page, ([w, s]) => (JSON.stringify(JSON.parse(window.Pivotwarden.dump()).elements
    .filter((e) => e.kind === "Weight").map((e) => JSON.stringify(e)).sort()) === w) === s, [was, same], what);
}
// Waits until the grey weight on pan shows value (or, with null, hides its
// number).
function greyShows(page, pan, value, what) {
  return waitFor(page, ([p, v]) => {
    const weight = JSON.parse(window.Pivotwarden.dump()).elements
      .find((e) => e.kind === "Weight" && e.grey && e.pan === p);
    return v === null ? !weight.showNumber : weight.showNumber && weight.value === v;
  }, [pan, value], what);
}

// A fresh page on seed 42 whose game Enter has started.
async function gameByEnter() {
  const context = await session.browser.newContext();
  const page = await context.newPage();
  const errors = collectErrors(page);
  await page.goto(session.url + "?seed=42");
  await waitForGame(page);
  await page.keyboard.press("Enter");
  await waitFor(page, () => JSON.parse(window.Pivotwarden.dump()).screen === "game", null,
    "Enter did not start the game");
  return { context, page, errors };
}

test("every key the README lists does its job in the page: the ring, carrying, options, sound, full screen", async () => {
  const { context, page, errors } = await gameByEnter();

  // The ring: Right and Tab move it on, Left and Shift+Tab back. The game
  // takes a key at its next frame, so the ring is waited for.
  // The ring's left edge in display pixels, whatever the page's layout
  // does around the display meanwhile (the bar's caption changes as the
  // game starts).
  const ringLeft = () => {
    const ring = document.getElementById("ring").getBoundingClientRect();
    const display = document.getElementById("display").getBoundingClientRect();
    return Math.round(((ring.x - display.x) * document.getElementById("display").width) / display.width);
  };
  const ringX = () => page.evaluate(ringLeft);
  // Polled from here: the page's content policy allows no eval, so the
  // measure cannot be handed to the page as text.
  const ringMoves = async (key, from, to, what) => {
    await page.keyboard.press(key);
    for (const until = Date.now() + 5000; ; await new Promise((r) => setTimeout(r, 20))) {
      const x = await ringX();
      if (to === null ? x !== from : x === to) return;
      if (Date.now() > until) assert.fail(what);
    }
  };
  // Enter, the first key, already showed the ring: Tab moves it on.
  await waitFor(page, () => !document.getElementById("ring").hidden, null, "Enter showed no ring");
  await ringMoves("Tab", await ringX(), null, "Tab did not move the ring");
  const first = await ringX();
  await ringMoves("ArrowRight", first, null, "Right did not move the ring");
  const second = await ringX();
  await ringMoves("ArrowLeft", second, first, "Left did not move the ring back");
  await ringMoves("Tab", first, second, "Tab did not move the ring on");
  await ringMoves("Shift+Tab", second, first, "Shift+Tab did not move the ring back");

  // Space picks the ringed weight up, Right carries it, Escape puts it back.
  const before = await weightsOf(page);
  await page.keyboard.press("Space");
  await page.keyboard.press("ArrowRight");
  await weightsBecome(page, before, false, "Space and Right did not carry a weight");
  await page.keyboard.press("Escape");
  await weightsBecome(page, before, true, "Escape did not put the weight back");

  // The options panel: O opens it, Up and Down pick the level, A and R tick,
  // Enter presses OK.
  const start = await dumpOf(page);
  for (const key of ["KeyO", "ArrowUp", "ArrowUp", "ArrowDown", "KeyA", "KeyR", "Enter"])
    await page.keyboard.press(key);
  await waitFor(page, () => JSON.parse(window.Pivotwarden.dump()).level === 2, null,
    "the options panel did not set level 2");
  assert.notEqual((await dumpOf(page)).auto, start.auto, "A did not switch automatic levelling");

  // M: the sound's stored value; F11: the page's full screen, on and off.
  await page.keyboard.press("KeyM");
  await waitFor(page, (item) => /"sound"="0"/.test(localStorage.getItem(item) || ""), STORAGE_ITEM,
    "M did not store the sound off");
  await page.keyboard.press("F11");
  await waitFor(page, () => document.fullscreenElement !== null, null, "F11 did not go full screen");
  await page.keyboard.press("F11");
  await waitFor(page, () => document.fullscreenElement === null, null, "F11 did not leave full screen");
  assert.deepEqual(errors, []);
  await context.close();
});

test("every keypad key the README lists does its job in the page: digits, Backspace, Delete, H", async () => {
  const context = await session.browser.newContext();
  const page = await context.newPage();
  const errors = collectErrors(page);
  await page.goto(session.url + "?seed=42");
  await waitForGame(page);
  // The keypad replay's presses bring the keypad up.
  for (const stroke of strokes(replayEvents(join(SOURCE, "docs/replays/keypad.replay")))) {
    await page.waitForTimeout(stroke.pause);
    const [x, y] = stroke.points[0];
    const from = await pagePoint(page, x, y);
    await page.mouse.move(from.x, from.y);
    await page.mouse.down();
    for (const [px, py] of stroke.points.slice(1)) {
      const to = await pagePoint(page, px, py);
      await page.mouse.move(to.x, to.y, { steps: 2 });
    }
    await page.mouse.up();
  }
  await page.waitForTimeout(2500);  // the scale settles and the keypad shows
  const hidden = (await dumpOf(page)).elements.find((e) => e.kind === "Weight" && e.grey && !e.showNumber);
  assert.ok(hidden, "the keypad level shows a hidden number");

  // Each digit shows on the hidden weight (after another first where it
  // alone would be the answer), then the bin clears it.
  const answer = hidden.initialValue;
  const other = (answer % 9) + 1;
  let clear = "Backspace";
  for (const row of ["Digit", "Numpad"])
    for (let digit = 0; digit <= 9; ++digit) {
      let shown = digit;
      if (digit === answer) {
        await page.keyboard.press(`${row}${other}`);
        shown = other * 10 + digit;
      }
      await page.keyboard.press(`${row}${digit}`);
      await greyShows(page, hidden.pan, shown, `${row}${digit} did not type ${shown}`);
      await page.keyboard.press(clear);
      await greyShows(page, hidden.pan, null, `${clear} did not clear the keypad`);
      clear = clear === "Backspace" ? "Delete" : "Backspace";
    }
  await page.keyboard.press("KeyH");
  await greyShows(page, hidden.pan, answer, "H did not show the hidden number");
  assert.deepEqual(errors, []);
  await context.close();
});

test("keys alone go from the weights through every bar control and back, and F1 and P open their views", async () => {
  const { context, page, errors } = await gameByEnter();
  const focused = () => page.evaluate(() => document.activeElement.id);
  const ring = () => page.evaluate(() => JSON.stringify(document.getElementById("ring").getBoundingClientRect()));
  const controls = await page.evaluate(() => [...document.querySelectorAll("#bar button")]
    .filter((b) => b.getClientRects().length > 0).map((b) => b.id));
  assert.ok(controls.length >= 4, `the bar shows its controls (${controls})`);

  // Tab rings each weight once, then leaves for the bar's first control.
  const ringed = [await ring()];
  for (let i = 0; i < 20 && (await focused()) === "display"; ++i) {
    await page.keyboard.press("Tab");
    await page.waitForTimeout(100);
    if ((await focused()) === "display") ringed.push(await ring());
  }
  assert.equal(await focused(), controls[0], "Tab never left the game");
  assert.ok(ringed.length >= 3 && new Set(ringed).size === ringed.length,
    `the ring went over the weights once each before leaving (${ringed.length})`);
  for (const id of controls.slice(1)) {
    await page.keyboard.press("Tab");
    assert.equal(await focused(), id, "Tab went through the bar in order");
  }
  // Back in, the ring starts from the first weight; Shift+Tab from there goes to the bar's last control.
  await page.keyboard.press("Tab");
  assert.equal(await focused(), "display", "Tab from the bar's last control did not come back to the game");
  await waitFor(page, (first) => JSON.stringify(document.getElementById("ring").getBoundingClientRect()) === first,
    ringed[0], "the ring did not start again from the first weight");
  await page.keyboard.press("Shift+Tab");
  await waitFor(page, (last) => document.activeElement.id === last, controls.at(-1),
    "Shift+Tab from the first weight did not go to the bar's last control");
  await page.keyboard.press("Shift+Tab");
  assert.equal(await focused(), controls.at(-2), "Shift+Tab went back through the bar");
  await page.keyboard.press("Tab");
  await page.keyboard.press("Tab");
  assert.equal(await focused(), "display", "Tab did not come back to the game");

  // F1 shows How to play, any key ends it; P opens Progress, Escape closes it back to the game.
  await page.keyboard.press("F1");
  const handShown = () => !document.getElementById("hand").hasAttribute("hidden");  // an SVG element
  await waitFor(page, handShown, null, "F1 did not show How to play");
  await page.keyboard.press("Escape");
  await waitFor(page, `!(${handShown})()`, null, "a key did not end How to play");
  await page.keyboard.press("KeyP");
  await waitFor(page, () => document.getElementById("progress-view").open, null, "P did not open Progress");
  await page.keyboard.press("Escape");
  await waitFor(page, () => !document.getElementById("progress-view").open &&
    document.activeElement.id === "display", null, "Escape did not close Progress back to the game");
  assert.deepEqual(errors, []);
  await context.close();
});
