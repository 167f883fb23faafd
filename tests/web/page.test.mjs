// The page as a player meets it: the title, a click into the game, drags by
// mouse and by touch, the close icon, and the keypad level at a phone's size.
import assert from "node:assert/strict";
import { readFileSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { test } from "node:test";
import { SOURCE, dumpOf, sessionForTests, waitForGame, waitForPicture } from "./browser.mjs";
import { countInstances, instancesOf } from "./instances.mjs";
import { replayEvents, strokes } from "./replays.mjs";
import {
  STORAGE_ITEM, canvasPixels, collectErrors, desktopRun, differingPixels, pagePoint, pngPixels, touchDrag,
} from "./support.mjs";

const { session, work } = sessionForTests({ work: true });

// The sizes a player meets: a phone upright and on its side, a tablet and a
// desktop screen.
const touch = { isMobile: true, hasTouch: true };
const SIZES = {
  phonePortrait: { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, ...touch },
  phoneLandscape: { viewport: { width: 844, height: 390 }, deviceScaleFactor: 3, ...touch },
  tablet: { viewport: { width: 820, height: 1180 }, deviceScaleFactor: 2, ...touch },
  desktop: { viewport: { width: 1280, height: 800 } },
};

// Waits until the live game's dump and canvas are those of the desktop's
// replay: the same state and the very same pixels.
async function expectDesktopEnd(page, desktop) {
  const expected = JSON.parse(desktop.dump);
  try {
    await page.waitForFunction((want) => window.Pivotwarden.dump() === want, desktop.dump, { timeout: 5000 });
  } catch (error) {
    assert.deepEqual(await dumpOf(page), expected);
  }
  const want = await pngPixels(page, desktop.screenshot);
  let differing = -1;
  for (let tries = 0; tries < 20 && differing !== 0; ++tries) {
    await page.waitForTimeout(100);  // the last repaint may still be due
    differing = differingPixels(await canvasPixels(page), want);
  }
  assert.equal(differing, 0, "canvas pixels differing from the desktop's picture");
}

test("the page shows the title without an error and a click starts the game", async () => {
  const context = await session.browser.newContext();
  const page = await context.newPage();
  const errors = collectErrors(page);
  await page.goto(session.url);
  await waitForPicture(page);
  assert.equal((await waitForGame(page)).screen, "title");
  const desktop = desktopRun(null, work.path);
  assert.equal(differingPixels(await canvasPixels(page), await pngPixels(page, desktop.screenshot)), 0);
  const centre = await pagePoint(page, 120, 160);
  await page.mouse.click(centre.x, centre.y);
  await page.waitForFunction(() => JSON.parse(window.Pivotwarden.dump()).screen === "game");
  assert.deepEqual(errors, []);
  await context.close();
});

// Drags the first tray weight onto the right pan and compares the end with
// the desktop's replay of the same presses.
async function dragOntoRightPan(contextOptions, drag) {
  const context = await session.browser.newContext(contextOptions);
  const page = await context.newPage();
  const errors = collectErrors(page);
  await page.goto(session.url + "?seed=42");
  await waitForGame(page);
  await drag(page, [[120, 160]]);
  await page.waitForFunction(() => JSON.parse(window.Pivotwarden.dump()).screen === "game");
  const path = [[30, 295], [110, 220], [190, 160], [190, 150]];
  await drag(page, path);
  const replay = join(work.path, "drag.replay");
  writeFileSync(replay, [
    "pivotwarden-replay 1", "seed 42", "at 1000 down 120 160", "at 1050 up 120 160",
    "at 1500 down 30 295", "at 1530 move 110 220", "at 1560 move 190 160", "at 1590 move 190 150",
    "at 1620 up 190 150", "at 3000 end", ""].join("\n"));
  const desktop = desktopRun(replay, work.path);
  const moved = JSON.parse(desktop.dump).elements.filter((e) => e.kind === "Weight" && !e.grey && e.pan);
  assert.deepEqual(moved.map((e) => e.pan), ["right"], "the desktop's replay puts one weight on the right pan");
  await expectDesktopEnd(page, desktop);
  assert.deepEqual(errors, []);
  await context.close();
}

test("a mouse drag carries a tray weight onto a pan", async () => {
  await dragOntoRightPan({}, async (page, points) => {
    const first = await pagePoint(page, ...points[0]);
    await page.mouse.move(first.x, first.y);
    await page.mouse.down();
    for (const point of points.slice(1)) {
      await page.waitForTimeout(30);
      const p = await pagePoint(page, ...point);
      await page.mouse.move(p.x, p.y);
    }
    await page.mouse.up();
  });
});

test("a touch drag carries a tray weight onto a pan, and a second finger does nothing", async () => {
  await dragOntoRightPan({ hasTouch: true }, async (page, points) => {
    await touchDrag(page, points, 30, points.length > 1 ? [60, 295] : null);
  });
});

test("a press whose pointer cannot be captured does nothing, and touch floods raise no error", async () => {
  const context = await session.browser.newContext({ hasTouch: true });
  const page = await context.newPage();
  const errors = collectErrors(page);
  await page.goto(session.url);
  await waitForGame(page);
  // The pointer has gone by the time the page asks to capture it.
  await page.evaluate(() => {
    const canvas = document.getElementById("display");
    canvas.setPointerCapture = () => {
      delete canvas.setPointerCapture;
      throw new DOMException("No active pointer with the given id is found.", "NotFoundError");
    };
  });
  const centre = await pagePoint(page, 120, 160);
  await page.mouse.click(centre.x, centre.y);
  await page.waitForTimeout(200);
  assert.equal((await dumpOf(page)).screen, "title", "the failed press did nothing");
  await page.mouse.click(centre.x, centre.y);
  await page.waitForFunction(() => JSON.parse(window.Pivotwarden.dump()).screen === "game");

  // Two fingers moving as fast as the browser takes them.
  const cdp = await context.newCDPSession(page);
  const fingers = (dy) => [{ x: centre.x - 40, y: centre.y + dy, id: 1 }, { x: centre.x + 40, y: centre.y - dy, id: 2 }];
  await cdp.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: fingers(0) });
  for (let step = 1; step <= 300; ++step)
    await cdp.send("Input.dispatchTouchEvent", { type: "touchMove", touchPoints: fingers(step % 120) });
  await cdp.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
  await page.waitForTimeout(200);
  assert.deepEqual(errors, []);
  await context.close();
});

test("the close icon ends the game and the page offers to play again", async () => {
  const context = await session.browser.newContext();
  const page = await context.newPage();
  await page.goto(session.url);
  await waitForGame(page);
  for (const [x, y] of [[120, 160], [225, 15]]) {
    const p = await pagePoint(page, x, y);
    await page.mouse.click(p.x, p.y);
    await page.waitForTimeout(100);
  }
  await page.locator("#ended").waitFor({ state: "visible" });
  assert.equal(await page.locator("#display").isHidden(), true);
  await page.locator("#again").click();
  await page.waitForFunction(() => window.Pivotwarden && window.Pivotwarden.dump() !== null);
  assert.equal((await dumpOf(page)).screen, "title");
  await context.close();
});

test("at a phone's size the picture fills the width, stays sharp and the keypad level plays by touch", async () => {
  const context = await session.browser.newContext(SIZES.phonePortrait);
  const page = await context.newPage();
  const errors = collectErrors(page);
  await page.goto(session.url + "?seed=42");
  await waitForGame(page);
  const box = await page.locator("#display").boundingBox();
  assert.ok(box.width >= 0.96 * 390, `width ${box.width}`);
  assert.ok(Math.abs(box.height - (box.width * 4) / 3) < 0.1, `height ${box.height}`);

  // The keypad replay, pressed by a finger in real time.
  const replay = join(SOURCE, "docs/replays/keypad.replay");
  for (const stroke of strokes(replayEvents(replay))) {
    await page.waitForTimeout(stroke.pause);
    await touchDrag(page, stroke.points, 20);
  }
  await expectDesktopEnd(page, desktopRun(replay, work.path));

  // Scaled by a factor that is not whole, every screen pixel still has the
  // colour of a display pixel it lies on or beside: nearest neighbour, never
  // a blend. The canvas starts on a whole device pixel.
  const origin = [box.x * 3, box.y * 3];
  assert.deepEqual(origin.map((v) => Math.abs(v - Math.round(v)) < 0.1), [true, true], `origin ${origin}`);
  const shot = await page.screenshot({ scale: "device" });
  const blurred = await page.evaluate(async ([data, left, top, step]) => {
    const image = new Image();
    image.src = "data:image/png;base64," + data;
    await image.decode();
    const want = document.getElementById("display").getContext("2d").getImageData(0, 0, 240, 320).data;
    const width = Math.floor(240 * step), height = Math.floor(320 * step);
    const screen = new OffscreenCanvas(width, height);
    screen.getContext("2d").drawImage(image, -left, -top);
    const got = screen.getContext("2d").getImageData(0, 0, width, height).data;
    let bad = 0;
    for (let y = 0; y < height; ++y)
      for (let x = 0; x < width; ++x) {
        const g = 4 * (y * width + x);
        const cx = Math.floor((x + 0.5) / step), cy = Math.floor((y + 0.5) / step);
        let near = false;
        for (let dy = -1; dy <= 1 && !near; ++dy)
          for (let dx = -1; dx <= 1 && !near; ++dx) {
            const px = Math.min(239, Math.max(0, cx + dx)), py = Math.min(319, Math.max(0, cy + dy));
            const w = 4 * (py * 240 + px);
            near = got[g] === want[w] && got[g + 1] === want[w + 1] && got[g + 2] === want[w + 2];
          }
        if (!near) ++bad;
      }
    return bad;
  }, [shot.toString("base64"), Math.round(origin[0]), Math.round(origin[1]), (box.width * 3) / 240]);
  assert.equal(blurred, 0, "screen pixels that are not a display pixel's colour");
  assert.deepEqual(errors, []);
  await context.close();
});

test("at each size the display fills the space the bar leaves, and the bar's buttons, a finger wide, stay off it", async () => {
  const found = {};
  for (const [name, options] of Object.entries(SIZES)) {
    const context = await session.browser.newContext(options);
    const page = await context.newPage();
    await page.goto(session.url);
    await waitForGame(page);
    await page.locator("#bar").waitFor({ state: "visible" });
    const { width: vw, height: vh } = options.viewport;
    const ratio = options.deviceScaleFactor || 1;
    const display = await page.locator("#display").boundingBox();
    const bar = await page.locator("#bar").boundingBox();
    const buttons = [];
    for (const button of await page.locator("#bar button:visible").all()) buttons.push(await button.boundingBox());
    const inside = (b) => b.x >= -0.01 && b.y >= -0.01 && b.x + b.width <= vw + 0.01 && b.y + b.height <= vh + 0.01;
    const apart = (a, b) =>
      a.x + a.width <= b.x + 0.01 || b.x + b.width <= a.x + 0.01 || a.y + a.height <= b.y + 0.01 || b.y + b.height <= a.y + 0.01;
    const below = bar.y >= display.y + display.height - 0.01;
    // The display as large as the space beside the bar allows, in one direction at least.
    const fill = below
      ? Math.max(display.width / vw, display.height / (vh - bar.height))
      : Math.max(display.width / (vw - bar.width), display.height / vh);
    found[name] = {
      side: below ? "below" : "beside",
      inside: inside(display) && inside(bar) && buttons.every(inside),
      apart: apart(display, bar) && buttons.every((b) => apart(b, display)),
      buttons: buttons.length >= 2 && buttons.every((b) => b.width >= 48 && b.height >= 48),
      scale: ratio >= 2 ? fill >= 0.99 : Number.isInteger((display.width * ratio) / 240) && fill >= 0.5,
    };
    if (ratio >= 2 && vh > vw) assert.ok(display.width >= 0.96 * vw, `${name}: width ${display.width}`);
    if (ratio === 1) assert.equal(display.width, 480, `${name}: twice the display's size`);
    await context.close();
  }
  const good = (side) => ({ side, inside: true, apart: true, buttons: true, scale: true });
  assert.deepEqual(found, {
    phonePortrait: good("below"), phoneLandscape: good("beside"), tablet: good("below"), desktop: good("beside"),
  });
});

test("a touch drag at a phone's size turned sideways carries a tray weight onto a pan", async () => {
  await dragOntoRightPan(SIZES.phoneLandscape, async (page, points) => {
    await touchDrag(page, points, 30);
  });
});

test("How to play starts by itself on a first visit only, ends on any press or key, and leaves the player's game as it was; it and the replays are games in the page's one WebAssembly instance", async () => {
  const context = await session.browser.newContext({ firstVisit: true, ...SIZES.phonePortrait });
  await context.addInitScript(countInstances);
  const page = await context.newPage();
  const errors = collectErrors(page);
  const hand = page.locator("#hand");
  const caption = page.locator("#caption");
  // Waits for the demonstration's hand over the game, then ends it and
  // checks that the player's dump and picture (pixels, taken before the
  // demonstration could draw) are back as they were.
  const showAndEnd = async (pixels, end) => {
    const dump = await page.evaluate(() => window.Pivotwarden.dump());
    await hand.waitFor({ state: "visible" });
    await page.waitForFunction(() => document.getElementById("caption").textContent === "Drag a yellow weight onto a pan");
    await page.waitForFunction(() => document.getElementById("hand").classList.contains("down"));
    let shown = 0;
    for (let tries = 0; tries < 50 && shown <= 1000; ++tries) {
      await page.waitForTimeout(200);
      shown = differingPixels(await canvasPixels(page), pixels);
    }
    assert.ok(shown > 1000, "the demonstration is shown on the canvas");
    assert.equal(await page.evaluate(() => window.Pivotwarden.dump()), dump, "the player's game takes nothing from it");
    await end();
    await hand.waitFor({ state: "hidden" });
    // The player's game repaints at its next frame, which a loaded machine
    // may hold back a while.
    let differing = -1;
    for (let tries = 0; tries < 50 && differing !== 0; ++tries) {
      await page.waitForTimeout(100);
      differing = differingPixels(await canvasPixels(page), pixels);
    }
    assert.equal(await page.evaluate(() => window.Pivotwarden.dump()), dump);
    assert.equal(differing, 0, "the player's picture is back");
  };

  // On a first visit it starts as soon as the game does: the title's
  // picture is taken from a page that is no first visit.
  const other = await session.browser.newContext(SIZES.phonePortrait);
  const titlePage = await other.newPage();
  await titlePage.goto(session.url + "?seed=42");
  await waitForGame(titlePage);
  const title = await canvasPixels(titlePage);
  await other.close();
  await page.goto(session.url + "?seed=42");
  await waitForGame(page);
  await showAndEnd(title, async () => {
    const p = await pagePoint(page, 120, 160);
    await page.touchscreen.tap(p.x, p.y);
  });
  assert.equal(await caption.textContent(), "Tap the picture to play");
  assert.equal(await page.evaluate((name) => localStorage.getItem(name), STORAGE_ITEM), null,
    "nothing stored in the player's settings");

  // A second visit: not by itself; from the bar, in the middle of a game.
  await page.reload();
  await waitForGame(page);
  await page.waitForTimeout(1500);
  assert.equal(await hand.isHidden(), true);
  const p = await pagePoint(page, 120, 160);
  await page.touchscreen.tap(p.x, p.y);
  await page.waitForFunction(() => JSON.parse(window.Pivotwarden.dump()).screen === "game");
  await page.waitForTimeout(1000);
  const board = await canvasPixels(page);
  await page.getByRole("button", { name: "How to play" }).tap();
  await showAndEnd(board, () => page.keyboard.press("Enter"));
  const played = await page.evaluate(() => window.Pivotwarden.dump());
  const replayed = await page.evaluate((text) => window.Pivotwarden.replay(text),
    readFileSync(join(SOURCE, "docs/replays/keypad.replay"), "utf8"));
  assert.equal(JSON.parse(replayed).screen, "game");
  assert.equal(await page.evaluate(() => window.Pivotwarden.dump()), played, "the player's game is untouched");
  assert.equal((await instancesOf(page)).count, 1, "WebAssembly instances made");
  assert.deepEqual(errors, []);
  await context.close();
});
