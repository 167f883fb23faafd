// Starts Debian's chromium through playwright-core: never a downloaded
// browser, a fresh profile each time, nothing reaching beyond this machine.
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { chromium } from "playwright-core";

export const CHROMIUM = process.env.PW_CHROMIUM || "/usr/bin/chromium";

export async function launchBrowser() {
  const profile = mkdtempSync(join(tmpdir(), "pivotwarden-chromium-"));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    args: [
      "--no-sandbox",
      "--disable-gpu",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-sync",
      "--no-first-run",
      "--autoplay-policy=user-gesture-required",
    ],
  });
  const close = async () => {
    await context.close();
    rmSync(profile, { recursive: true, force: true });
  };
  return { context, close };
}
