// The page around the game: it starts the player's game once this tab holds
// the game's lock, wires the page's parts to it, and offers
// window.Pivotwarden.replay(text) and .dump() for tests and for sharing a game.
import { setUpBar, toggleFullScreen } from "./bar.js";
import { Message, View, loadGame } from "./game.js";
import { neverShown, setUpHowToPlay } from "./howtoplay.js";
import { leaveGame, say, setUpKeys } from "./keys.js";
import { canvas, drawOnCanvas, pictureShown, setDisplaySize, showFocusRing, showPanel } from "./layout.js";
import { setUpProgress, setUpResults } from "./results.js";
import { playSet, setUpSharing, showSet } from "./sets.js";
import { sounds } from "./sound.js";
import { setUpStylus } from "./stylus.js";
import { setUpTabLock } from "./tablock.js";

let game = null;           // Module.game, once the player's game plays in this tab
let told = null;           // what the game last told of the player's game
let repaintFirst = false;  // a replay's picture is on the canvas
let listening = false;     // the live region speaks the game's descriptions

const lock = setUpTabLock({ elsewhere: () => howToPlay.end(), started: () => game !== null });
const playing = () => (game && lock.holding() ? game : null);
const bar = setUpBar({ pressSound: () => { sounds.unlock(); pressKey("KeyM", false, false); } });
const howToPlay = setUpHowToPlay({
  gameReady: playing, caption: (text) => bar.caption(text), Message, View,
  ended: (shown) => { if (shown && game) game.post(View.player, Message.paint, 0, 0, false); },
});
const results = setUpResults({ mayStore: () => lock.holding() });
const progress = setUpProgress({ gameReady: () => game, written: results.written, beforeShowing: howToPlay.end });
const sharing = setUpSharing({ level: () => (game && told ? told.level : null), beforeShowing: howToPlay.end });
for (const view of document.querySelectorAll("dialog")) {
  view.querySelector(".close").addEventListener("click", () => view.close());
  // Closed, the keys go back to the game.
  view.addEventListener("close", () => { if (!canvas.hidden) canvas.focus(); });
}

// A key for the game, by its KeyboardEvent.code: 0 when it is not the
// game's, 1 when the game took it, 2 when it is a held key that does not repeat.
function pressKey(code, shift, repeat) {
  if (!game || canvas.hidden || !lock.holding()) return 0;
  const taken = game.key(code, shift, repeat, repaintFirst);
  if (taken === 1) repaintFirst = false;
  return taken;
}
setUpKeys({
  key: pressKey,
  enter(backward) {
    if (game && lock.holding()) game.enter(backward);
  },
  goesOn: howToPlay.goesOn,
  viewOpen: () => progress.isOpen() || sharing.isOpen(),
  fullScreen: toggleFullScreen,
  listen() {
    if (listening || !game) return;
    listening = true;
    game.describe(true);
  },
  taken() {
    sounds.unlock();
    bar.keyUsed();
  },
});
setUpStylus({
  Message,
  down(event) {
    sounds.unlock();
    return howToPlay.goesOn(event);
  },
  press(type, x, y, primaryOnly) {
    if (!game || !lock.holding()) return;
    if (type === Message.down && repaintFirst) {
      repaintFirst = false;
      game.post(View.player, Message.paint, 0, 0, false);
    }
    game.post(View.player, type, x, y, primaryOnly);
  },
});

document.getElementById("again").addEventListener("click", () => location.reload());

// What the game asks of the page (platform/web/PageContract.js), by view:
// the player's game owns the canvas, the ring, the sound and the storage;
// How to play's draws over it while it shows; a replay's picture is drawn
// as the player's until the next press.
const loading = loadGame({
  draw(view, rgba, x, y, w, h) {
    if (view === View.shown) howToPlay.draw(rgba, x, y, w, h);
    else if (!howToPlay.showing()) drawOnCanvas(rgba, x, y, w, h);
  },
  closed(view) {
    if (view !== View.player) return;
    showPanel("ended");
    document.getElementById("again").focus();
    lock.release();
  },
  ring(view, left, top, right, bottom) {
    if (view === View.player) showFocusRing(left, top, right, bottom);
  },
  displaySize(view, width, height) {
    if (view === View.player) setDisplaySize(width, height);
  },
  told(state) {
    told = state;
    bar.told(state);
    showSet(state.set);
  },
  say,
  // F1 and P as on the desktop; Tab past the ends of the ring of weights.
  asked(what) {
    if (what === "help") howToPlay.show();
    else if (what === "progress") progress.show();
    else leaveGame(what);
  },
  sounds,
  mayStore: () => lock.holding(),
  addResults: results.add,
});

lock.hold()
  .then(() => loading)
  .then((module) => {
    game = module;
    // ?set=SEED-LEVEL plays a puzzle set, as the desktop's --set does;
    // ?seed=N seeds the puzzles, as the desktop's --seed does.
    const params = new URLSearchParams(location.search);
    const set = params.get("set");
    if (set === null || !playSet(game, set)) {
      const seed = params.get("seed");
      const seeded = seed !== null && /^[0-9]{1,10}$/.test(seed) && Number(seed) <= 4294967295;
      game.play(seeded ? Number(seed) : null);
    }
    canvas.focus();
    // The very first visit: nothing stored yet, and How to play never shown.
    if (told && told.fresh && neverShown()) howToPlay.firstVisit();
  });

// Replays play as games of their own in the one instance: their settings,
// random numbers and clock are their own, and the player's game and stored
// score are untouched. The replay's last picture is shown until the next press.
async function replay(text) {
  const module = await loading;
  const { played, text: result } = module.replay(String(text));
  if (!played) throw new Error(result);
  if (!canvas.hidden) {
    module.showReplay();
    repaintFirst = true;
  }
  return result;
}
// The game's state as the desktop's --dump writes it, or null before it starts.
function dump() {
  return game ? game.dump() : null;
}
window.Pivotwarden = Object.freeze({ replay, dump });

// The offline copy is made once the page has loaded and the game shows,
// so that making it never slows the game's start.
if ("serviceWorker" in navigator) {
  const loaded = document.readyState === "complete" ? Promise.resolve()
    : new Promise((done) => window.addEventListener("load", done, { once: true }));
  Promise.all([loaded, pictureShown]).then(() => navigator.serviceWorker.register("sw.js")).catch(() => {});
}
