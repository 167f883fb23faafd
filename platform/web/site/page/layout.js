// The display on the page: the canvas sized to the game's display and
// scaled by the page, the bar of controls beside it, the focus ring over it,
// and the conversions between display pixels and the page's.
export const canvas = document.getElementById("display");
const context = canvas.getContext("2d", { alpha: false });
const bar = document.getElementById("bar");
const ring = document.getElementById("ring");

// The game's display size: the page's canvas has it from the start, so that
// the display and the bar take their places before the game loads; the game
// confirms it when it starts.
let WIDTH = canvas.width;
let HEIGHT = canvas.height;

// The focus ring the keys move, drawn over the canvas in the page, never
// into the game's picture; its area is in display pixels. Hidden while
// another game is shown.
let placing = "";
let ringArea = null;
let ringHeld = false;
function placeRing() {
  ring.hidden = ringArea === null || canvas.hidden || ringHeld;
  if (ringArea === null) return;
  const [left, top, right, bottom] = ringArea;
  ring.style.width = `${right - left}px`;
  ring.style.height = `${bottom - top}px`;
  ring.style.transform = `${placing} translate(${left}px, ${top}px)`;
}
export function showFocusRing(left, top, right, bottom) {
  ringArea = right > left && bottom > top ? [left, top, right, bottom] : null;
  placeRing();
}
export function holdRing(held) {
  ringHeld = held;
  placeRing();
}

export function setDisplaySize(width, height) {
  if (width === WIDTH && height === HEIGHT && canvas.style.width !== "") return;
  WIDTH = width;
  HEIGHT = height;
  canvas.width = width;
  canvas.height = height;
  canvas.style.width = `${width}px`;
  canvas.style.height = `${height}px`;
  fit();
}

// The first picture is marked, for the tests and the benchmark.
let showPicture;
export const pictureShown = new Promise((shown) => { showPicture = shown; });
let firstPicture = true;
export function drawOnCanvas(rgba, x, y, w, h) {
  context.putImageData(new ImageData(new Uint8ClampedArray(rgba), w, h), x, y);
  if (firstPicture) {
    firstPicture = false;
    performance.mark("pivotwarden-first-picture");
    showPicture();
  }
}

// A page position as a display pixel, inside the display.
export function displayPoint(clientX, clientY) {
  const box = canvas.getBoundingClientRect();
  const x = Math.floor(((clientX - box.left) * WIDTH) / box.width);
  const y = Math.floor(((clientY - box.top) * HEIGHT) / box.height);
  return [Math.min(WIDTH - 1, Math.max(0, x)), Math.min(HEIGHT - 1, Math.max(0, y))];
}
// The page position of a display pixel's centre.
export function pagePoint(x, y) {
  const box = canvas.getBoundingClientRect();
  return [box.left + ((x + 0.5) * box.width) / WIDTH, box.top + ((y + 0.5) * box.height) / HEIGHT];
}

// The bar of controls goes below the display or beside it, whichever
// leaves the display larger: below on a phone held upright, beside on one
// turned on its side and on most desktop screens.
function barSpace(side, width, height) {
  bar.className = side;
  const box = bar.getBoundingClientRect();
  // Whole CSS pixels, so that the bar placed on a whole pixel still fits.
  const barWidth = Math.ceil(box.width) + 1, barHeight = Math.ceil(box.height) + 1;
  const spareWidth = side === "beside" ? width - barWidth : width;
  const spareHeight = side === "below" ? height - barHeight : height;
  return {
    side, spareWidth, spareHeight, barWidth, barHeight,
    scale: Math.max(0, Math.min(spareWidth / WIDTH, spareHeight / HEIGHT)),
  };
}

// Where a display pixel covers two device pixels or more (phones and
// tablets), the display fills all the space the bar leaves, at any factor:
// the one-device-pixel differences between columns cannot be seen there.
// Otherwise it takes the largest whole number of device pixels per display
// pixel that fits, so that every display pixel stays sharp. Either way it
// starts on a whole device pixel, nearest-neighbour scaled.
export function fit() {
  if (WIDTH === 0) return;
  const ratio = window.devicePixelRatio || 1;
  const width = document.documentElement.clientWidth;
  const height = document.documentElement.clientHeight;
  let space = { side: "below", spareWidth: width, spareHeight: height, barWidth: 0, barHeight: 0,
    scale: Math.min(width / WIDTH, height / HEIGHT) };
  if (!bar.hidden) {
    const below = barSpace("below", width, height);
    const beside = barSpace("beside", width, height);
    space = beside.scale > below.scale ? beside : below;
    bar.className = space.side;
  }
  const factor = Math.floor(space.scale * ratio);
  let scale = space.scale;
  if (ratio < 2 && factor >= 1) scale = factor / ratio;
  const onDevice = (v) => Math.round(v * ratio) / ratio;
  const shownWidth = WIDTH * scale, shownHeight = HEIGHT * scale;
  // The display and the bar are centred together.
  let left, top;
  if (space.side === "beside") {
    left = onDevice((width - shownWidth - space.barWidth) / 2);
    top = onDevice((height - shownHeight) / 2);
    bar.style.left = `${Math.ceil(left + shownWidth)}px`;
    bar.style.top = `${Math.max(0, (height - space.barHeight) / 2)}px`;
  } else {
    left = onDevice((width - shownWidth) / 2);
    top = onDevice((height - shownHeight - space.barHeight) / 2);
    bar.style.left = "0px";
    bar.style.top = `${Math.ceil(top + shownHeight)}px`;
  }
  // A transform, not a CSS size: layout rounds sizes and offsets to 1/64 of
  // a CSS pixel, which at a ratio of 3 would smear rows of the picture.
  canvas.style.transform = `translate(${left}px, ${top}px) scale(${scale})`;
  placing = `translate(${left}px, ${top}px) scale(${scale})`;
  placeRing();
  canvas.dataset.factor = String(Math.round(scale * ratio * 1000) / 1000);
}
function watchRatio() {
  // A move to another screen or a zoom changes the ratio without a resize.
  matchMedia("(resolution: " + (window.devicePixelRatio || 1) + "dppx)")
    .addEventListener("change", () => { fit(); watchRatio(); }, { once: true });
}
window.addEventListener("resize", fit);
setDisplaySize(WIDTH, HEIGHT);
watchRatio();

// Which of the page's panels shows: the game with its bar ("playing"), the
// note that another tab plays ("elsewhere") or the end ("ended").
export function showPanel(name) {
  const playing = name === "playing";
  canvas.hidden = !playing;
  bar.hidden = !playing;
  document.getElementById("elsewhere").hidden = name !== "elsewhere";
  document.getElementById("ended").hidden = name !== "ended";
  placeRing();
  if (playing) fit();
}
