// The browser build's page at a phone's size (390 x 844 CSS pixels, three
// device pixels each) with the bar below the game, and at a desktop's
// (1280 x 800) with the bar beside it: the keypad replay pressed in the page
// by finger or mouse, as a player would see it; and "How to play" on a
// phone's first visit.
//   node docs/make_web_screenshots.mjs   (after scripts/build-web.sh)
import { SOURCE, startSession, waitForGame } from "../tests/web/browser.mjs";
import { replayEvents, strokes } from "../tests/web/replays.mjs";
import { pagePoint, touchDrag } from "../tests/web/support.mjs";

const presses = strokes(replayEvents(SOURCE + "docs/replays/keypad.replay"));
const session = await startSession();
try {
  for (const [name, options] of [
    ["web-phone.png", { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true }],
    ["web-desktop.png", { viewport: { width: 1280, height: 800 } }],
  ]) {
    const context = await session.browser.newContext(options);
    const page = await context.newPage();
    await page.goto(session.url + "?seed=42");
    await waitForGame(page);
    for (const stroke of presses) {
      await page.waitForTimeout(stroke.pause);
      if (options.hasTouch) {
        await touchDrag(page, stroke.points, 20);
        continue;
      }
      for (const [index, [x, y]] of stroke.points.entries()) {
        const p = await pagePoint(page, x, y);
        await page.mouse.move(p.x, p.y);
        if (index === 0) await page.mouse.down();
        await page.waitForTimeout(20);
      }
      await page.mouse.up();
    }
    await page.waitForTimeout(2500);  // the scale settles and the keypad comes up
    await page.screenshot({ path: SOURCE + "docs/" + name, scale: "device" });
    await context.close();
  }
  // "How to play" on a phone's first visit: the hand dragging a weight, its
  // caption in the bar.
  const context = await session.browser.newContext({
    firstVisit: true, viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true,
  });
  const page = await context.newPage();
  await page.goto(session.url);
  await waitForGame(page);
  await page.waitForFunction(() => {
    const hand = document.getElementById("hand");
    return hand.classList.contains("down") &&
      document.getElementById("caption").textContent === "Drag a yellow weight onto a pan";
  });
  await page.waitForTimeout(1500);  // the title pressed: now the drag
  await page.waitForFunction(() => document.getElementById("hand").classList.contains("down"));
  await page.waitForTimeout(400);
  await page.screenshot({ path: SOURCE + "docs/web-how-to-play.png", scale: "device" });
  await context.close();
} finally {
  await session.stop();
}
