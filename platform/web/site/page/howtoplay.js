// How to play: two short recordings (a puzzle whose numbers show, then a
// hidden number typed on the keypad) played as How to play's own game in
// the one instance, on private settings, shown on the canvas, with a hand
// drawn by the page at the recorded stylus and one caption at a time. Any
// press or key ends it, and the player's game, which took no input
// meanwhile, is painted again.
import { canvas, holdRing, pagePoint } from "./layout.js";
import { SHOWN_HOW } from "./names.js";

const DEMO = [
  { file: "demo/demo-shown.replay",
    captions: ["Drag a yellow weight onto a pan", "Make both sides weigh the same"] },
  { file: "demo/demo-hidden.replay",
    captions: ["Make both sides weigh the same", "Type the hidden number"] },
];
// Asked for less motion, a first visit offers How to play rather than playing it.
const LESS_MOTION = "(prefers-reduced-motion: reduce)";
const OFFER = "Tap the picture to play, or see How to play";
const SLOWER = 2.5;        // the recordings are a machine's pace; shown at a person's
const BETWEEN_MS = 1200;   // the solved first puzzle stays a moment
const hand = document.getElementById("hand");
const context = canvas.getContext("2d", { alpha: false });

function recordedEvents(text) {
  const events = [];
  for (const raw of text.split("\n")) {
    const words = raw.replace(/#.*/, "").trim().split(/\s+/);
    if (words[0] !== "at" || words.length < 3) continue;
    events.push({ at: Number(words[1]), type: words[2], x: Number(words[3]) || 0, y: Number(words[4]) || 0 });
  }
  return events;
}
function placeHand(x, y, down) {
  const [left, top] = pagePoint(x, y);
  hand.style.transform = `translate(${left - 14}px, ${top - 6}px) scale(${down ? 0.9 : 1})`;
  hand.classList.toggle("down", down);
  hand.removeAttribute("hidden");  // an SVG element has no hidden property
}

// Whether this is the very first visit (the game tells whether settings
// were stored), that is, How to play never shown.
export function neverShown() {
  try {
    return localStorage.getItem(SHOWN_HOW) === null;
  } catch (e) {
    return false;  // no storage: no demonstration by itself
  }
}

// gameReady() answers the game (Module.game) once the player's game plays,
// else null; caption(text) shows a caption (null: the game's again); ended()
// hears of its end; Message and View are the contract's numbers.
export function setUpHowToPlay({ gameReady, caption, ended, Message, View }) {
  let demo = null;
  let endedBy = null;        // the press or key that ended it goes no further

  function later(ms, then) {
    demo.timers.push(setTimeout(then, ms));
  }
  // Plays one recording from its start; then calls next.
  function playPart(game, index, next) {
    const part = DEMO[index];
    const text = demo.texts[index];
    if (!game.show(text)) return end();
    caption(part.captions[0]);
    let dragged = false, moved = false;
    for (const event of recordedEvents(text)) {
      later(event.at * SLOWER, () => {
        if (event.type === "end") return next();
        const type = { down: Message.down, move: Message.move, up: Message.up }[event.type];
        if (type === undefined) return;
        if (type === Message.down) moved = false;
        if (type === Message.move) moved = true;
        placeHand(event.x, event.y, type !== Message.up);
        game.post(View.shown, type, event.x, event.y, type !== Message.up);
        if (type === Message.up && moved && !dragged) {
          dragged = true;
          caption(part.captions[1]);
        }
      });
    }
  }
  async function show() {
    const game = gameReady();
    if (demo || !game) return;
    demo = { timers: [], shown: false, drawn: false, texts: null };
    const mine = demo;
    try {
      mine.texts = await Promise.all(DEMO.map((part) => fetch(part.file).then((answer) => {
        if (!answer.ok) throw new Error(part.file);
        return answer.text();
      })));
      if (demo !== mine) return;
      try { localStorage.setItem(SHOWN_HOW, "1"); } catch (e) { /* shown again next time */ }
      mine.game = game;
      mine.shown = true;
      holdRing(true);  // the player's ring, back when the player's game is
      playPart(game, 0, () => later(BETWEEN_MS, () => playPart(game, 1, () => later(BETWEEN_MS, end))));
    } catch (error) {
      if (demo === mine) end();
    }
  }
  function end() {
    if (!demo) return;
    const ending = demo;
    demo = null;
    for (const timer of ending.timers) clearTimeout(timer);
    if (ending.game) ending.game.showEnd();
    hand.setAttribute("hidden", "");
    holdRing(false);
    caption(null);
    ended(ending.shown);
  }
  // The press that ended it, on "How to play" itself, does not start it again.
  let swallowClick = false;
  document.getElementById("how").addEventListener("click", () => {
    if (swallowClick) {
      swallowClick = false;
      return;
    }
    show();
  });
  // Any press or key ends it, before anything else hears of it.
  for (const type of ["pointerdown", "keydown"]) {
    document.addEventListener(type, (event) => {
      if (type === "pointerdown") swallowClick = false;
      if (!demo) return;
      endedBy = event;
      if (type === "pointerdown") swallowClick = true;
      end();
      if (type === "keydown" || event.target === canvas) event.preventDefault();
    }, true);
  }

  // The very first visit: How to play, or with less motion asked for, its
  // offer on the caption line until the first press or key.
  function firstVisit() {
    if (!matchMedia(LESS_MOTION).matches) return show();
    caption(OFFER);
    const withdraw = () => {
      for (const type of ["pointerdown", "keydown"]) document.removeEventListener(type, withdraw, true);
      if (!demo) caption(null);
    };
    for (const type of ["pointerdown", "keydown"]) document.addEventListener(type, withdraw, true);
  }

  return {
    show,
    end,
    firstVisit,
    // Whether its game covers the player's on the canvas.
    showing: () => demo !== null && demo.shown,
    // Whether the event goes on to the game: not the one that ended it.
    goesOn: (event) => event !== endedBy,
    // A picture of How to play's game (view 1), drawn while it shows.
    draw(rgba, x, y, w, h) {
      if (!demo || !demo.shown) return;
      context.putImageData(new ImageData(new Uint8ClampedArray(rgba), w, h), x, y);
      if (!demo.drawn) {
        demo.drawn = true;
        performance.mark("pivotwarden-how-to-play");
      }
    },
  };
}
