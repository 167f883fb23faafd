// What the browser tests and the benchmark share: the site served from
// 127.0.0.1 and Debian's chromium started through playwright-core (never a
// downloaded browser; playwright gives every launch a fresh profile).
import { after, before } from "node:test";
import { fileURLToPath } from "node:url";
import { chromium } from "playwright-core";
import { startServer } from "../../scripts/serve-web.mjs";
import { workFolder } from "./support.mjs";
import { SHOWN_HOW } from "../../platform/web/site/page/names.js";

export const SOURCE = fileURLToPath(new URL("../..", import.meta.url));
export const SITE = process.env.PW_SITE || SOURCE + "build-web/site";
export const CHROMIUM = process.env.PW_CHROMIUM || "/usr/bin/chromium";

export async function launchBrowser() {
  return chromium.launch({
    executablePath: CHROMIUM,
    headless: true,
    args: [
      "--no-sandbox",
      "--disable-gpu",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-sync",
      "--no-first-run",
    ],
  });
}

// The page's note that "How to play" was shown once, and where it keeps the
// results history, as the page names them.
export { SHOWN_HOW as SHOWN_ITEM, RESULTS } from "../../platform/web/site/page/names.js";

// A browser and the served site (the build's, or the folder given), stopped
// together. Its pages are those of a player who has been here before, so
// that "How to play" does not start by itself, unless the context is made
// with { firstVisit: true }.
export async function startSession(site = SITE) {
  const server = await startServer(site);
  const browser = await launchBrowser();
  const violations = [];
  const newContext = browser.newContext.bind(browser);
  browser.newContext = async ({ firstVisit = false, ...options } = {}) => {
    const context = await newContext(options);
    // Every page of every test is watched for content policy violations.
    await context.exposeFunction("__pwPolicyViolation", (said) => violations.push(said));
    await context.addInitScript(() => {
      document.addEventListener("securitypolicyviolation", (event) => window.__pwPolicyViolation(
        `${event.effectiveDirective} refused ${event.blockedURI || "inline"} in ${event.documentURI}`));
    });
    if (!firstVisit) {
      await context.addInitScript((name) => {
        try {
          localStorage.setItem(name, "1");
        } catch (error) { /* a page without storage */ }
      }, SHOWN_HOW);
    }
    return context;
  };
  return {
    url: server.url,
    browser,
    served: server.served,
    violations,
    async stop() {
      await browser.close();
      server.close();
      if (violations.length > 0) throw new Error(`content policy violations:\n${violations.join("\n")}`);
    },
  };
}

// The session a test file's tests share: started before the first test,
// stopped after the last (its url and browser are there once tests run).
// With { work: true }, also a scratch folder for the desktop game's files,
// removed at the end.
export function sessionForTests({ work = false } = {}) {
  const session = {};
  const folder = work ? workFolder() : null;
  before(async () => {
    Object.assign(session, await startSession());
  });
  after(async () => {
    if (session.stop) await session.stop();
    if (folder) folder.remove();
  });
  return { session, work: folder };
}

// Waits until the game has drawn its first picture.
export async function waitForPicture(page) {
  await page.waitForFunction(() => performance.getEntriesByName("pivotwarden-first-picture").length > 0);
}

// Waits until the live game has started and answers its dump.
export async function waitForGame(page) {
  await page.waitForFunction(() => window.Pivotwarden && window.Pivotwarden.dump() !== null);
  return dumpOf(page);
}

export async function dumpOf(page) {
  const text = await page.evaluate(() => window.Pivotwarden.dump());
  return text === null ? null : JSON.parse(text);
}

// Waits until the page is controlled by the site's service worker (it
// registers once the page has loaded and shows the game).
export async function waitForServiceWorker(page) {
  try {
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, null, { polling: 100 });
  } catch (error) {
    const state = await page.evaluate(async () => {
      const found = await navigator.serviceWorker.getRegistration();
      return found ? ["installing", "waiting", "active"].map((k) => `${k} ${found[k] && found[k].state}`).join(", ")
        : "no registration";
    });
    throw new Error(`the service worker does not control the page (${state})`);
  }
}
