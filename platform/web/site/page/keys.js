// Keys: the page's own (F11 for full screen) are the page's; the game names
// the rest by their code and says whether they are its. A button of the page
// keeps its own keys, and an open view over the page keeps them all. The
// first key the game takes makes the live region listen, a screen reader
// speaking the game's descriptions from it.

// The live region: the game's descriptions, one paragraph each, the last few kept.
const said = document.getElementById("said");
const KEPT_LINES = 20;
export function say(line) {
  const paragraph = document.createElement("p");
  paragraph.textContent = line;
  said.append(paragraph);
  while (said.childElementCount > KEPT_LINES) said.firstElementChild.remove();
}

// The page's focus goes round: the game (its ring over the weights), then
// the bar's controls in order, then the game again. The game says when Tab
// leaves it (leave("after") past the last weight, leave("before") with
// Shift+Tab before the first); enter(backward) tells it that the focus is back.
const canvas = document.getElementById("display");
const bar = document.getElementById("bar");
function barControls() {
  return [...bar.querySelectorAll("button, a[href]")].filter((control) => !control.disabled &&
    control.getClientRects().length > 0);
}
export function leaveGame(where) {
  if (document.activeElement !== canvas) return;
  const controls = barControls();
  const to = where === "before" ? controls.at(-1) : controls[0];
  if (to) to.focus();
}
function backToGame(event, enter) {
  const controls = barControls();
  const edge = event.shiftKey ? controls[0] : controls.at(-1);
  if (event.code !== "Tab" || canvas.hidden || event.target !== edge) return false;
  event.preventDefault();
  canvas.focus();
  enter(event.shiftKey);
  return true;
}

// key(code, shift, repeat) hands a key to the game: 0 not the game's, 1
// taken, 2 the game's but a held key that does not repeat. goesOn(event)
// answers false for a key already used (the one that ended How to play);
// viewOpen() whether a view over the page has the keys; listen() makes the
// live region listen; taken() hears of every key the game took.
export function setUpKeys({ key, enter, goesOn, viewOpen, fullScreen, listen, taken }) {
  document.addEventListener("keydown", (event) => {
    if (!goesOn(event)) return;
    if (event.ctrlKey || event.altKey || event.metaKey) return;
    if (event.code === "F11") {
      event.preventDefault();
      fullScreen();
      return;
    }
    if (viewOpen()) return;
    if (backToGame(event, enter)) return taken();
    const onButton = event.target instanceof Element && event.target.closest("button");
    if (onButton && ["Enter", "NumpadEnter", "Space", "Tab"].includes(event.code)) return;
    if (!key(event.code, event.shiftKey, event.repeat)) return;
    event.preventDefault();
    listen();
    taken();
  });
}
