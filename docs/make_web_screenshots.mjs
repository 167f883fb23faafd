// The browser build's page at a phone's size (390 x 844 CSS pixels, three
// device pixels each) and at a desktop's (1280 x 800): the keypad replay
// played in the page, as a player would see it.
//   node docs/make_web_screenshots.mjs   (after scripts/build-web.sh)
import { readFileSync } from "node:fs";
import { SOURCE, startSession, waitForGame } from "../tests/web/browser.mjs";

const replay = readFileSync(SOURCE + "docs/replays/keypad.replay", "utf8");
const session = await startSession();
try {
  for (const [name, options] of [
    ["web-phone.png", { viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, isMobile: true, hasTouch: true }],
    ["web-desktop.png", { viewport: { width: 1280, height: 800 } }],
  ]) {
    const context = await session.browser.newContext(options);
    const page = await context.newPage();
    await page.goto(session.url);
    await waitForGame(page);
    await page.evaluate((text) => window.Pivotwarden.replay(text), replay);
    await page.screenshot({ path: SOURCE + "docs/" + name, scale: "device" });
    await context.close();
  }
} finally {
  await session.stop();
}
