// Helpers of the browser tests: collecting a page's console errors, reading
// the canvas, running the desktop game for comparison, and the display's
// pixel positions in the page.
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

export const DESKTOP = process.env.PW_DESKTOP || "";
export const AUTOPLAY = process.env.PW_AUTOPLAY || "";

// Every console error and uncaught exception of the page, to assert none.
export function collectErrors(page) {
  const errors = [];
  page.on("console", (message) => {
    if (message.type() === "error") errors.push(message.text());
  });
  page.on("pageerror", (error) => errors.push(error.message));
  return errors;
}

// The canvas's pixels as 0xRRGGBB numbers, row by row.
export async function canvasPixels(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById("display");
    const data = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
    const pixels = new Array(data.length / 4);
    for (let i = 0; i < pixels.length; ++i)
      pixels[i] = (data[4 * i] << 16) | (data[4 * i + 1] << 8) | data[4 * i + 2];
    return pixels;
  });
}

// A PNG's pixels as 0xRRGGBB numbers, decoded by the browser itself.
export async function pngPixels(page, path) {
  const base64 = readFileSync(path).toString("base64");
  return page.evaluate(async (data) => {
    const image = new Image();
    image.src = "data:image/png;base64," + data;
    await image.decode();
    const canvas = new OffscreenCanvas(image.width, image.height);
    const context = canvas.getContext("2d");
    context.drawImage(image, 0, 0);
    const rgba = context.getImageData(0, 0, image.width, image.height).data;
    const pixels = new Array(rgba.length / 4);
    for (let i = 0; i < pixels.length; ++i)
      pixels[i] = (rgba[4 * i] << 16) | (rgba[4 * i + 1] << 8) | rgba[4 * i + 2];
    return pixels;
  }, base64);
}

// How many pixels differ, so that a failure says how far off it is.
export function differingPixels(a, b) {
  if (a.length !== b.length) return Math.max(a.length, b.length);
  let count = 0;
  for (let i = 0; i < a.length; ++i) if (a[i] !== b[i]) ++count;
  return count;
}

// Plays a replay file (or none) on the desktop game headless, on settings
// of its own, and returns its dump text and the path of its screenshot.
export function desktopRun(replayPath, work) {
  const dump = join(work, "desktop.json");
  const shot = join(work, "desktop.png");
  const args = ["--headless", "--dump", dump, "--screenshot", shot];
  if (replayPath) args.push("--replay", replayPath);
  execFileSync(DESKTOP, args, { env: { ...process.env, XDG_CONFIG_HOME: join(work, "config") } });
  return { dump: readFileSync(dump, "utf8"), screenshot: shot };
}

export function workFolder() {
  const path = mkdtempSync(join(tmpdir(), "pivotwarden-web-test-"));
  return { path, remove: () => rmSync(path, { recursive: true, force: true }) };
}

// The page position of the centre of display pixel (x, y).
export async function pagePoint(page, x, y) {
  const box = await page.locator("#display").boundingBox();
  return { x: box.x + ((x + 0.5) * box.width) / 240, y: box.y + ((y + 0.5) * box.height) / 320 };
}

// A touch drag through display points, as a finger makes it (needs a context
// with hasTouch). With secondFinger, another finger presses that display
// point and moves during the drag, and lifts with the first.
export async function touchDrag(page, points, stepMs = 30, secondFinger = null) {
  const session = await page.context().newCDPSession(page);
  const touch = async (type, fingers) => {
    const touchPoints = [];
    for (const [id, point] of fingers) {
      const p = await pagePoint(page, point[0], point[1]);
      touchPoints.push({ x: p.x, y: p.y, id });
    }
    await session.send("Input.dispatchTouchEvent", { type, touchPoints });
  };
  await touch("touchStart", [[1, points[0]]]);
  for (const [index, point] of points.slice(1).entries()) {
    await page.waitForTimeout(stepMs);
    await touch("touchMove", [[1, point]]);
    if (secondFinger && index === 0) {
      await touch("touchStart", [[1, point], [2, secondFinger]]);
      await page.waitForTimeout(stepMs);
      await touch("touchMove", [[1, point], [2, [secondFinger[0] + 40, secondFinger[1] - 60]]]);
    }
  }
  await page.waitForTimeout(stepMs);
  await touch("touchEnd", []);
  await session.detach();
}

export const STORAGE_ITEM = "Marblequill/Pivotwarden/settings.reg";
export const KEY_LINE = "[HKEY_CURRENT_USER\\Software\\Marblequill\\Pivotwarden]";
