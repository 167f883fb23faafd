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

// key(code, shift, repeat) hands a key to the game: 0 not the game's, 1
// taken, 2 the game's but a held key that does not repeat. goesOn(event)
// answers false for a key already used (the one that ended How to play);
// viewOpen() whether a view over the page has the keys; listen() makes the
// live region listen; taken() hears of every key the game took.
export function setUpKeys({ key, goesOn, viewOpen, fullScreen, listen, taken }) {
  document.addEventListener("keydown", (event) => {
    if (!goesOn(event)) return;
    if (event.ctrlKey || event.altKey || event.metaKey) return;
    if (event.code === "F11") {
      event.preventDefault();
      fullScreen();
      return;
    }
    if (viewOpen()) return;
    const onButton = event.target instanceof Element && event.target.closest("button");
    if (onButton && ["Enter", "NumpadEnter", "Space", "Tab"].includes(event.code)) return;
    if (!key(event.code, event.shiftKey, event.repeat)) return;
    event.preventDefault();
    listen();
    taken();
  });
}
