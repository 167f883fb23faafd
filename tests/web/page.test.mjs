// The page as a player meets it: the title, a click into the game, drags by
// mouse and by touch, the close icon, and the keypad level at a phone's size.
import assert from "node:assert/strict";
import { writeFileSync } from "node:fs";
import { join } from "node:path";
import { test } from "node:test";
import { SOURCE, dumpOf, sessionForTests, waitForGame, waitForPicture } from "./browser.mjs";
import { replayEvents, strokes } from "./replays.mjs";
import {
  canvasPixels, collectErrors, desktopRun, differingPixels, pagePoint, pngPixels, touchDrag,
} from "./support.mjs";

const { session, work } = sessionForTests({ work: true });

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

test("at a phone's size the picture is crisp at four device pixels and the keypad level plays by touch", async () => {
  const context = await session.browser.newContext({
    viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true,
  });
  const page = await context.newPage();
  const errors = collectErrors(page);
  await page.goto(session.url + "?seed=42");
  await waitForGame(page);
  const box = await page.locator("#display").boundingBox();
  assert.equal(box.width, 320);
  assert.ok(Math.abs(box.height - (320 * 4) / 3) < 0.1, `height ${box.height}`);
  assert.equal(await page.locator("#display").getAttribute("data-factor"), "4");

  // The keypad replay, pressed by a finger in real time.
  const replay = join(SOURCE, "docs/replays/keypad.replay");
  for (const stroke of strokes(replayEvents(replay))) {
    await page.waitForTimeout(stroke.pause);
    await touchDrag(page, stroke.points, 20);
  }
  await expectDesktopEnd(page, desktopRun(replay, work.path));

  // Every display pixel is a 4 x 4 block of its own colour on the screen,
  // the canvas starting on a whole device pixel (layout keeps 1/64 CSS pixel).
  const origin = [box.x * 3, box.y * 3];
  assert.deepEqual(origin.map((v) => Math.abs(v - Math.round(v)) < 0.1), [true, true], `origin ${origin}`);
  const shot = await page.screenshot({ scale: "device" });
  const blurred = await page.evaluate(async ([data, left, top]) => {
    const image = new Image();
    image.src = "data:image/png;base64," + data;
    await image.decode();
    const want = document.getElementById("display").getContext("2d").getImageData(0, 0, 240, 320).data;
    const screen = new OffscreenCanvas(960, 1280);
    screen.getContext("2d").drawImage(image, -left, -top);
    const got = screen.getContext("2d").getImageData(0, 0, 960, 1280).data;
    let bad = 0;
    for (let y = 0; y < 1280; ++y)
      for (let x = 0; x < 960; ++x) {
        const g = 4 * (y * 960 + x), w = 4 * ((y >> 2) * 240 + (x >> 2));
        if (got[g] !== want[w] || got[g + 1] !== want[w + 1] || got[g + 2] !== want[w + 2]) ++bad;
      }
    return bad;
  }, [shot.toString("base64"), Math.round(origin[0]), Math.round(origin[1])]);
  assert.equal(blurred, 0, "screen pixels that are not their display pixel's colour");
  assert.deepEqual(errors, []);
  await context.close();
});
