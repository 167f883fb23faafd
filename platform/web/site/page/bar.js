// The bar of controls beside the display: what to do on the title, the
// sound switch, full screen and the level, as the game tells them.
import { canvas, fit } from "./layout.js";

const bar = document.getElementById("bar");
const caption = document.getElementById("caption");
const soundButton = document.getElementById("sound");
const fullButton = document.getElementById("fullscreen");
const levelShown = document.getElementById("level");

export function toggleFullScreen() {
  if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
  else document.documentElement.requestFullscreen().catch(() => {});
}
function showFullScreen() {
  fullButton.textContent = document.fullscreenElement ? "Leave full screen" : "Full screen";
}
fullButton.hidden = !document.fullscreenEnabled;
document.addEventListener("fullscreenchange", () => { showFullScreen(); fit(); });
fullButton.addEventListener("click", toggleFullScreen);
// A button pressed by finger or mouse hands the keys back to the game; one
// pressed by a key keeps them, so the keys can go on through the bar.
bar.addEventListener("click", (event) => {
  if (event.detail > 0 && !canvas.hidden) canvas.focus();
});

// The sound button is the M key (pressSound), so the game stores the choice itself.
export function setUpBar({ pressSound }) {
  soundButton.addEventListener("click", pressSound);
  let told = null;
  let keysUsed = false;
  let captionKept = false;  // How to play's captions are shown meanwhile
  // What to do on the title: by finger until a key is used.
  function showCaption() {
    if (told === null || captionKept) return;
    const text = told.screen !== "title" ? "" : keysUsed ? "Press Enter to play" : "Tap the picture to play";
    if (caption.textContent !== text) caption.textContent = text;
  }
  return {
    // What the game told of the player's game: { screen, level, sound }.
    told(state) {
      told = state;
      soundButton.textContent = state.sound ? "Sound on" : "Sound off";
      levelShown.textContent = `Level ${state.level}`;
      showCaption();
    },
    keyUsed() {
      if (keysUsed) return;
      keysUsed = true;
      document.body.classList.add("keys");
      showCaption();
    },
    // The caption line for another's text (How to play's), or, with null, back to the game's.
    caption(text) {
      captionKept = text !== null;
      caption.textContent = text === null ? "" : text;
      showCaption();
    },
  };
}
