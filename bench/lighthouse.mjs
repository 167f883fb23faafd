// Lighthouse's scores for the site as the project's own server serves it:
// five loads with its mobile preset (performance, layout shift,
// accessibility, best practices; goals 95, under 0.05, 100, 100), then the
// layout shift of one load each at a tablet's and a laptop's viewport and at
// 400 % zoom of a 1280 x 720 screen. Debian's chromium, 127.0.0.1.
//   node bench/lighthouse.mjs [SITE] [LOADS]   (after scripts/build-web.sh)
import * as chromeLauncher from "chrome-launcher";
import lighthouse from "lighthouse";
import { startServer } from "../scripts/serve-web.mjs";
import { CHROMIUM, SITE } from "../tests/web/browser.mjs";

const site = process.argv[2] || SITE;
const loads = Number(process.argv[3] || 5);
const CATEGORIES = ["performance", "accessibility", "best-practices"];
const VIEWPORTS = [
  { name: "tablet 768 x 1024 @2", formFactor: "mobile", width: 768, height: 1024, deviceScaleFactor: 2, mobile: true },
  { name: "laptop 1350 x 940 @1", formFactor: "desktop", width: 1350, height: 940, deviceScaleFactor: 1, mobile: false },
  { name: "400 % zoom, 320 x 180 @4", formFactor: "desktop", width: 320, height: 180, deviceScaleFactor: 4, mobile: false },
];

const server = await startServer(site);
const chrome = await chromeLauncher.launch({
  chromePath: CHROMIUM,
  chromeFlags: ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-background-networking"],
});
async function audit(settings) {
  const { lhr } = await lighthouse(server.url, { port: chrome.port, output: "json", logLevel: "error",
    onlyCategories: CATEGORIES }, settings ? { extends: "lighthouse:default", settings } : undefined);
  const score = (name) => Math.round(lhr.categories[name].score * 100);
  return {
    performance: score("performance"), accessibility: score("accessibility"),
    practices: score("best-practices"), shift: lhr.audits["cumulative-layout-shift"].numericValue,
    failed: Object.values(lhr.audits).filter((a) => a.score !== null && a.score < 1 &&
      a.scoreDisplayMode === "binary").map((a) => a.id),
  };
}
let met = true;
try {
  console.log("mobile preset     performance  layout shift  accessibility  best practices");
  for (let load = 1; load <= loads; ++load) {
    const r = await audit(null);
    met &&= r.performance >= 95 && r.shift < 0.05 && r.accessibility === 100 && r.practices === 100;
    console.log(`load ${load}            ${String(r.performance).padStart(3)}         ${r.shift.toFixed(3)}` +
      `         ${String(r.accessibility).padStart(3)}            ${String(r.practices).padStart(3)}` +
      (r.failed.length ? `   (${r.failed.join(", ")})` : ""));
  }
  console.log("goal              >= 95        < 0.05        100            100");
  for (const { name, formFactor, ...screenEmulation } of VIEWPORTS) {
    const r = await audit({ formFactor, screenEmulation: { ...screenEmulation, disabled: false } });
    met &&= r.shift < 0.05;
    console.log(`${name}: layout shift ${r.shift.toFixed(3)} (goal < 0.05), performance ${r.performance}`);
  }
} finally {
  await chrome.kill();
  server.close();
}
console.log(met ? "all goals met" : "a goal is missed");
process.exitCode = met ? 0 : 1;
