"use strict";
// The page around the game: it scales the canvas, turns pointer events into
// the stylus, plays the sounds, holds the game's lock so that one tab plays
// at a time, and offers window.Pivotwarden.replay(text) for tests and for
// sharing a game.
(function () {
  // The game's display size, handed over by the game when it starts.
  let WIDTH = 0;
  let HEIGHT = 0;
  const LOCK = PIVOTWARDEN_LOCK;  // named in the page's head

  // The one instance (the player's game, How to play and replays are games
  // inside it) starts from the code the page compiled as it loaded; where
  // that failed (a host that does not say the file is WebAssembly), it
  // compiles it from its bytes.
  function instantiateWasm(imports, receive) {
    const own = () => fetch("pivotwarden.wasm", { credentials: "same-origin" })
      .then((response) => response.arrayBuffer())
      .then((bytes) => WebAssembly.instantiate(bytes, imports))
      .then((result) => receive(result.instance, result.module));
    window.pivotwardenCode.then((code) => WebAssembly.instantiate(code, imports).then((made) => receive(made, code)), own);
    return {};
  }
  const compiled = window.pivotwardenCode ? { instantiateWasm } : {};
  const canvas = document.getElementById("display");
  const context = canvas.getContext("2d", { alpha: false });
  const elsewhere = document.getElementById("elsewhere");
  const ended = document.getElementById("ended");

  // The live region a screen reader speaks from: the game's descriptions,
  // one paragraph each, the last few kept. The game makes them only once
  // the region listens, from the first key the page takes.
  const said = document.getElementById("said");
  const KEPT_LINES = 20;
  let listening = false;
  function say(line) {
    const paragraph = document.createElement("p");
    paragraph.textContent = line;
    said.append(paragraph);
    while (said.childElementCount > KEPT_LINES) said.firstElementChild.remove();
  }
  function listen() {
    if (listening || !game) return;
    listening = true;
    game._pw_describe(1);
  }

  // The focus ring the keys move, drawn over the canvas in the page, never
  // into the game's picture; its area is in display pixels.
  const ring = document.getElementById("ring");
  let placing = "";
  let ringArea = null;
  function placeRing() {
    if (ringArea === null) return;
    const [left, top, right, bottom] = ringArea;
    ring.style.width = `${right - left}px`;
    ring.style.height = `${bottom - top}px`;
    ring.style.transform = `${placing} translate(${left}px, ${top}px)`;
  }
  // The games' views on the canvas (as app/web_main.cpp numbers them).
  const View = { player: 0, shown: 1, replay: 2 };
  function showFocusRing(view, left, top, right, bottom) {
    if (view !== View.player) return;
    ringArea = right > left && bottom > top ? [left, top, right, bottom] : null;
    ring.hidden = ringArea === null || canvas.hidden;
    placeRing();
  }

  function setDisplaySize(view, width, height) {
    if (view !== View.player || (width === WIDTH && height === HEIGHT)) return;
    WIDTH = width;
    HEIGHT = height;
    canvas.width = width;
    canvas.height = height;
    canvas.style.width = `${width}px`;
    canvas.style.height = `${height}px`;
    fit();
  }

  // The bar of controls goes below the display or beside it, whichever
  // leaves the display larger: below on a phone held upright, beside on one
  // turned on its side and on most desktop screens.
  const bar = document.getElementById("bar");
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
  function fit() {
    if (WIDTH === 0) return;
    const ratio = window.devicePixelRatio || 1;
    const width = document.documentElement.clientWidth;
    const height = document.documentElement.clientHeight;
    const withBar = !bar.hidden;
    let space = { side: "below", spareWidth: width, spareHeight: height, barWidth: 0, barHeight: 0,
      scale: Math.min(width / WIDTH, height / HEIGHT) };
    if (withBar) {
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
  fit();
  watchRatio();

  // Web Audio: each sound decoded once; a new sound cuts off the one playing.
  // Browsers allow sound only after a press, so the audio starts at the first.
  const sounds = {
    audio: null,
    images: new Map(),
    buffers: new Map(),
    playing: null,
    preload(id, bytes) {
      if (this.images.has(id)) return;
      this.images.set(id, bytes);
      if (this.audio) this.decode(id);
    },
    decode(id) {
      this.audio.decodeAudioData(this.images.get(id).slice(0))
        .then((buffer) => this.buffers.set(id, buffer), () => {});
    },
    unlock() {
      if (!this.audio) {
        const Audio = window.AudioContext || window.webkitAudioContext;
        if (!Audio) return;
        this.audio = new Audio();
        for (const id of this.images.keys()) this.decode(id);
      }
      if (this.audio.state === "suspended") this.audio.resume().catch(() => {});
    },
    play(id) {
      const buffer = this.buffers.get(id);
      if (!buffer || !this.audio || this.audio.state !== "running") return;
      if (this.playing) {
        try { this.playing.stop(); } catch (e) { /* already ended */ }
      }
      const source = this.audio.createBufferSource();
      source.buffer = buffer;
      source.connect(this.audio.destination);
      source.start();
      this.playing = source;
    },
  };

  let game = null;
  let releaseLock = () => {};
  let repaintFirst = false;  // a replay's picture is on the canvas
  const Message = { down: 0, move: 1, up: 2, paint: 3 };

  function post(type, event) {
    if (!game || !holding) return;
    const box = canvas.getBoundingClientRect();
    const x = Math.floor(((event.clientX - box.left) * WIDTH) / box.width);
    const y = Math.floor(((event.clientY - box.top) * HEIGHT) / box.height);
    const clampedX = Math.min(WIDTH - 1, Math.max(0, x));
    const clampedY = Math.min(HEIGHT - 1, Math.max(0, y));
    game._pw_post(View.player, type, clampedX, clampedY, event.buttons === 1 ? 1 : 0);
  }

  // The primary pointer is the stylus; a second finger does nothing. The
  // canvas captures the pointer, so a drag that leaves it still ends.
  let stylus = null;
  canvas.addEventListener("pointerdown", (event) => {
    event.preventDefault();
    sounds.unlock();
    if (endedBy === event) return;
    if (!event.isPrimary || event.button !== 0 || stylus !== null) return;
    // Without the capture a release off the canvas would never be seen and
    // the stylus would stay held: a press whose pointer cannot be captured
    // (it has already gone) does nothing.
    try {
      canvas.setPointerCapture(event.pointerId);
    } catch (error) {
      return;
    }
    stylus = { id: event.pointerId, clientX: event.clientX, clientY: event.clientY, buttons: 0 };
    if (repaintFirst && game) {
      repaintFirst = false;
      game._pw_post(View.player, Message.paint, 0, 0, 0);
    }
    post(Message.down, event);
  });
  canvas.addEventListener("pointermove", (event) => {
    if (stylus === null || event.pointerId !== stylus.id) return;
    stylus.clientX = event.clientX;
    stylus.clientY = event.clientY;
    post(Message.move, event);
  });
  function lift(event) {
    if (stylus === null || event.pointerId !== stylus.id) return;
    // A cancelled pointer (the browser took the gesture) ends where it was.
    const at = event.type === "pointerup" ? event : stylus;
    stylus = null;
    post(Message.up, at);
  }
  canvas.addEventListener("pointerup", lift);
  canvas.addEventListener("pointercancel", lift);
  canvas.addEventListener("lostpointercapture", lift);
  canvas.addEventListener("contextmenu", (event) => event.preventDefault());
  // Scrolling and zooming by touch are off through the page's touch-action
  // (index.html), not by cancelling touch moves, which the browser may
  // refuse (and complain of) once a gesture has begun.

  function showEnded(view) {
    if (view !== View.player) return;
    canvas.hidden = true;
    ring.hidden = true;
    bar.hidden = true;
    ended.hidden = false;
    document.getElementById("again").focus();
    releaseLock();
  }
  document.getElementById("again").addEventListener("click", () => location.reload());

  // The stored settings, read as the player's registry-export text: the bar
  // shows the sound and the level the game last stored.
  const SETTINGS = "Marblequill/Pivotwarden/settings.reg";
  function storedValue(name) {
    let text = null;
    try {
      text = localStorage.getItem(SETTINGS);
    } catch (e) {
      return null;
    }
    const found = text && new RegExp(`^"${name}"="(-?[0-9]+)"\\s*$`, "m").exec(text);
    return found ? Number(found[1]) : null;
  }
  const soundButton = document.getElementById("sound");
  const fullButton = document.getElementById("fullscreen");
  const levelShown = document.getElementById("level");
  function showStored() {
    // A missing sound is on and a level out of range is the first, as the game reads them.
    soundButton.textContent = storedValue("sound") === 0 ? "Sound off" : "Sound on";
    const level = storedValue("level");
    levelShown.textContent = `Level ${level !== null && level >= 1 && level <= 15 ? level : 1}`;
  }
  function showFullScreen() {
    fullButton.textContent = document.fullscreenElement ? "Leave full screen" : "Full screen";
  }
  function toggleFullScreen() {
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    else document.documentElement.requestFullscreen().catch(() => {});
  }
  fullButton.hidden = !document.fullscreenEnabled;
  document.addEventListener("fullscreenchange", () => { showFullScreen(); fit(); });
  fullButton.addEventListener("click", toggleFullScreen);
  // The sound button is the M key, so the game stores the choice itself.
  soundButton.addEventListener("click", () => {
    sounds.unlock();
    pressKey("KeyM", false, false);
  });
  // A button pressed by finger or mouse hands the keys back to the game; one
  // pressed by a key keeps them, so the keys can go on through the bar.
  bar.addEventListener("click", (event) => {
    if (event.detail > 0 && !canvas.hidden) canvas.focus();
  });

  // What to do on the title, said in the bar: by finger until a key is used.
  const caption = document.getElementById("caption");
  let keysUsed = false;
  let captionDue = false;
  function showCaption() {
    captionDue = false;
    if (!game || demo) return;
    const onTitle = JSON.parse(dump()).screen === "title";
    const text = !onTitle ? "" : keysUsed ? "Press Enter to play" : "Tap the picture to play";
    if (caption.textContent !== text) caption.textContent = text;
  }
  // Read once the game has drawn what a press changed, not on every piece of it.
  function captionLater() {
    if (captionDue) return;
    captionDue = true;
    setTimeout(showCaption, 0);
  }

  let firstPicture = true;
  let showPicture;
  const pictureShown = new Promise((shown) => { showPicture = shown; });
  function drawOnCanvas(view, rgba, x, y, w, h) {
    if (view === View.shown) return drawDemo(rgba, x, y, w, h);
    if (demo && demo.shown) return;  // repainted whole when it ends
    context.putImageData(new ImageData(new Uint8ClampedArray(rgba), w, h), x, y);
    if (firstPicture) {
      firstPicture = false;
      performance.mark("pivotwarden-first-picture");
      showPicture();
    }
    if (game) captionLater();
  }


  // How to play: two short recordings (a puzzle whose numbers show, then a
  // hidden number typed on the keypad) played in a game of their own on
  // private settings, shown on the canvas, with a hand drawn by the page at
  // the recorded stylus and one caption at a time. Any press or key ends it,
  // and the player's game, which took no input meanwhile, is painted again.
  // It starts by itself on the very first visit.
  const SHOWN = "Marblequill/Pivotwarden/shown-how";
  const DEMO = [
    { file: "demo/demo-shown.replay",
      captions: ["Drag a yellow weight onto a pan", "Make both sides weigh the same"] },
    { file: "demo/demo-hidden.replay",
      captions: ["Make both sides weigh the same", "Type the hidden number"] },
  ];
  const SLOWER = 2.5;        // the recordings are a machine's pace; shown at a person's
  const BETWEEN_MS = 1200;   // the solved first puzzle stays a moment
  const hand = document.getElementById("hand");
  let demo = null;
  let endedBy = null;        // the press or key that ended it goes no further

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
    const box = canvas.getBoundingClientRect();
    const left = box.left + ((x + 0.5) * box.width) / WIDTH - 14;
    const top = box.top + ((y + 0.5) * box.height) / HEIGHT - 6;
    hand.style.transform = `translate(${left}px, ${top}px) scale(${down ? 0.9 : 1})`;
    hand.classList.toggle("down", down);
    hand.removeAttribute("hidden");  // an SVG element has no hidden property
  }
  function drawDemo(rgba, x, y, w, h) {
    if (!demo || !demo.shown) return;
    context.putImageData(new ImageData(new Uint8ClampedArray(rgba), w, h), x, y);
    if (!demo.drawn) {
      demo.drawn = true;
      performance.mark("pivotwarden-how-to-play");
    }
  }
  function later(ms, then) {
    demo.timers.push(setTimeout(then, ms));
  }
  // Plays one recording from its start; then calls next.
  function playPart(module, index, next) {
    const part = DEMO[index];
    const text = demo.texts[index];
    const size = module.lengthBytesUTF8(text) + 1;
    const copy = module._malloc(size);
    module.stringToUTF8(text, copy, size);
    const started = copy && module._pw_show(copy, size - 1);
    if (copy) module._free(copy);
    if (!started) return endDemo();
    caption.textContent = part.captions[0];
    let dragged = false, moved = false;
    for (const event of recordedEvents(text)) {
      later(event.at * SLOWER, () => {
        if (event.type === "end") return next();
        const type = { down: Message.down, move: Message.move, up: Message.up }[event.type];
        if (type === undefined) return;
        if (type === Message.down) moved = false;
        if (type === Message.move) moved = true;
        placeHand(event.x, event.y, type !== Message.up);
        module._pw_post(View.shown, type, event.x, event.y, type === Message.up ? 0 : 1);
        if (type === Message.up && moved && !dragged) {
          dragged = true;
          caption.textContent = part.captions[1];
        }
      });
    }
  }
  async function showHowToPlay() {
    if (demo || !game || !holding) return;
    demo = { timers: [], shown: false, drawn: false, texts: null };
    const mine = demo;
    try {
      mine.texts = await Promise.all(DEMO.map((part) => fetch(part.file).then((answer) => {
        if (!answer.ok) throw new Error(part.file);
        return answer.text();
      })));
      const module = await loading;
      if (demo !== mine) return;
      try { localStorage.setItem(SHOWN, "1"); } catch (e) { /* shown again next time */ }
      mine.module = module;
      mine.shown = true;
      ring.hidden = true;  // the player's ring, back when the player's game is
      playPart(module, 0, () => later(BETWEEN_MS, () => playPart(module, 1, () => later(BETWEEN_MS, endDemo))));
    } catch (error) {
      if (demo === mine) endDemo();
    }
  }
  function endDemo() {
    if (!demo) return;
    const ending = demo;
    demo = null;
    for (const timer of ending.timers) clearTimeout(timer);
    if (ending.module) ending.module._pw_show_end();
    hand.setAttribute("hidden", "");
    ring.hidden = ringArea === null || canvas.hidden;
    caption.textContent = "";
    if (ending.shown && game) game._pw_post(View.player, Message.paint, 0, 0, 0);
    showCaption();
  }
  // The press that ended it, on "How to play" itself, does not start it again.
  let swallowClick = false;
  document.getElementById("how").addEventListener("click", () => {
    if (swallowClick) {
      swallowClick = false;
      return;
    }
    showHowToPlay();
  });
  // Any press or key ends it, before anything else hears of it.
  for (const type of ["pointerdown", "keydown"]) {
    document.addEventListener(type, (event) => {
      if (type === "pointerdown") swallowClick = false;
      if (!demo) return;
      endedBy = event;
      if (type === "pointerdown") swallowClick = true;
      endDemo();
      if (type === "keydown" || event.target === canvas) event.preventDefault();
    }, true);
  }

  // Whether this tab may write the player's settings: only while it holds
  // the game's lock. Once another tab takes the game over, not one more write.
  let holding = !navigator.locks;

  function instance() {
    return createPivotwarden({
      ...compiled,
      drawOnCanvas,
      setDisplaySize,
      sounds,
      onWindowClosed: showEnded,
      showFocusRing,
      say,
      mayStore: () => holding,
      onStored: showStored,
      onResultsQueued: (written) => { resultsWritten = written; },
    });
  }

  // One tab at a time: the tab holding the lock plays; another shows a page
  // that says so, takes over when that tab closes, or at once with "Play
  // here". A tab whose game was taken over stops writing at once and shows
  // the same page; its game in memory is out of date, so it plays again by
  // loading afresh. Without the Locks API (an insecure origin, an old
  // browser) the game simply starts.
  const PLAY_HERE = PIVOTWARDEN_PLAY_HERE;
  let waiting = null;       // the queued request, to give up on "Play here"
  let started = false;      // a game ran in this tab
  let granted = () => {};
  function showElsewhere() {
    endDemo();
    canvas.hidden = true;
    ring.hidden = true;
    bar.hidden = true;
    elsewhere.hidden = false;
  }
  function take(lock) {
    if (!lock) return null;
    if (started) {
      // The other tab closed after taking this one's game: start afresh.
      location.reload();
      return null;
    }
    holding = true;
    elsewhere.hidden = true;
    canvas.hidden = false;
    bar.hidden = false;
    fit();
    granted();
    return new Promise((release) => { releaseLock = release; });
  }
  function request(options, unavailable = () => {}) {
    const callback = (lock) => {
      if (lock) return take(lock);
      unavailable();
      return null;
    };
    navigator.locks.request(LOCK, options, callback).then(() => {}, takenOver);
  }
  function takenOver(error) {
    if (!holding || error.name !== "AbortError") return;
    // Taken over by another tab.
    holding = false;
    showElsewhere();
    wait();
  }
  // The page's head asked for the lock in the queue as it loaded: granted at
  // once, or nearly (a reload's previous page letting go), it is taken as
  // any; otherwise the page says meanwhile that the game is in another tab,
  // and the request waits on as wait()'s does.
  const ELSEWHERE_AFTER_MS = 250;
  function adopt(early) {
    waiting = early.stop;
    const soon = setTimeout(showElsewhere, ELSEWHERE_AFTER_MS);
    early.answered.then(({ lock, hold }) => {
      clearTimeout(soon);
      let kept = null;
      try { kept = take(lock); } finally { hold(kept); }
    });
    early.done.then(() => {}, takenOver);
  }
  function wait() {
    waiting = new AbortController();
    navigator.locks.request(LOCK, { signal: waiting.signal }, take).catch(() => {});
  }
  document.getElementById("play-here").addEventListener("click", () => {
    if (started) {
      try { sessionStorage.setItem(PLAY_HERE, "1"); } catch (e) { /* plays when the other closes */ }
      location.reload();
      return;
    }
    if (waiting) waiting.abort();
    waiting = null;
    request({ steal: true });
  });
  function holdLock() {
    if (!navigator.locks) {
      bar.hidden = false;
      fit();
      return Promise.resolve();
    }
    return new Promise((resolve) => {
      granted = resolve;
      let playHere = false;
      try {
        playHere = sessionStorage.getItem(PLAY_HERE) !== null;
        sessionStorage.removeItem(PLAY_HERE);
      } catch (e) { /* no session storage: wait as usual */ }
      if (playHere) {
        request({ steal: true });
        return;
      }
      const early = window.pivotwardenLock;
      window.pivotwardenLock = null;
      if (early) {
        adopt(early);
        return;
      }
      request({ ifAvailable: true }, () => {
        showElsewhere();
        wait();
      });
    });
  }

  // The very first visit: nothing stored yet, and "How to play" never shown.
  let firstVisit = false;
  try {
    firstVisit = localStorage.getItem(SETTINGS) === null && localStorage.getItem(SHOWN) === null;
  } catch (e) { /* no storage: no demonstration by itself */ }

  // A puzzle set's line beside the game: its name and the way back to the
  // player's own game, or why the link's text is no set.
  function playSet(module, text) {
    const line = document.createElement("p");
    line.id = "set-line";
    const played = module.ccall("pw_play_set", "number", ["string"], [text]) === 1;
    if (played) {
      const [seed, level] = text.split("-").map(Number);
      line.append(`Set ${seed} \u00b7 level ${level} `);
      const leave = document.createElement("a");
      leave.href = location.pathname;
      leave.textContent = "Leave";
      line.append(leave);
    } else {
      line.setAttribute("role", "status");
      line.textContent = `\u201c${text}\u201d is not a puzzle set (a seed, a dash and a level from 1 to 15, as in 4711-6): playing your own game.`;
    }
    document.querySelector("main").append(line);
    return played;
  }

  const loading = instance();
  holdLock()
    .then(() => loading)
    .then((module) => {
      game = module;
      started = true;
      // ?set=SEED-LEVEL plays a puzzle set, as the desktop's --set does;
      // ?seed=N seeds the puzzles, as the desktop's --seed does.
      const params = new URLSearchParams(location.search);
      const set = params.get("set");
      if (set === null || !playSet(game, set)) {
        const seed = params.get("seed");
        const seeded = seed !== null && /^[0-9]{1,10}$/.test(seed) && Number(seed) <= 4294967295;
        game._pw_play(seeded ? 1 : 0, seeded ? Number(seed) : 0);
      }
      showStored();
      showCaption();
      canvas.focus();
      if (firstVisit) showHowToPlay();
    });

  // The results history: the game adds each puzzle's row to the browser's
  // storage in the background (the database and store named as the game
  // names them); Progress waits for those writes, reads every row and has the
  // game draw the progress view from them, the same page the desktop draws.
  let resultsWritten = Promise.resolve();
  function readResults() {
    return new Promise((resolve, reject) => {
      const asked = indexedDB.open("Marblequill/Pivotwarden", 1);
      asked.onupgradeneeded = () => asked.result.createObjectStore("results", { autoIncrement: true });
      asked.onerror = () => reject(asked.error);
      asked.onsuccess = () => {
        const db = asked.result;
        const read = db.transaction("results").objectStore("results").getAll();
        read.onsuccess = () => { db.close(); resolve(read.result); };
        read.onerror = () => { db.close(); reject(read.error); };
      };
    });
  }
  function callWithText(module, name, text) {
    const size = module.lengthBytesUTF8(text) + 1;
    const copy = module._malloc(size);
    if (!copy) throw new Error("out of memory");
    module.stringToUTF8(text, copy, size);
    const answer = module.UTF8ToString(module[name](copy, size - 1));
    module._free(copy);
    return answer;
  }
  const progressView = document.getElementById("progress-view");
  // Shown in a new frame each time: a frame given a second page while the
  // first still loads may keep the first.
  let progressPage = document.getElementById("progress-page");
  function showInFrame(html) {
    const frame = progressPage.cloneNode(false);
    frame.hidden = html === "";
    frame.srcdoc = html;
    progressPage.replaceWith(frame);
    progressPage = frame;
  }
  const progressSaid = document.getElementById("progress-said");
  const download = document.getElementById("download");
  async function showProgress() {
    if (!game || progressView.open) return;
    endDemo();
    showInFrame("");
    progressSaid.textContent = "Reading your results\u2026";
    download.hidden = true;
    progressView.showModal();
    try {
      await resultsWritten;
      const rows = await readResults();
      const csv = game.UTF8ToString(game._pw_results_header()) + rows.map((row) => row + "\n").join("");
      const html = callWithText(game, "_pw_progress_page", csv);
      if (!html) throw new Error("the stored results cannot be read");
      showInFrame(html);
      URL.revokeObjectURL(download.href);
      download.href = URL.createObjectURL(new Blob([csv], { type: "text/csv" }));
      download.hidden = false;
      progressSaid.textContent = rows.length === 0 ? "No puzzle played yet." : "";
    } catch (error) {
      progressSaid.textContent = `Your results cannot be read here (${error.message || error}).`;
    }
  }
  document.getElementById("progress").addEventListener("click", showProgress);

  // A new puzzle set at the level played now, with a fresh seed: its link is
  // shown, handed to the system's sharing where the browser has it, else
  // copied.
  const shareView = document.getElementById("share-view");
  const shareLink = document.getElementById("share-link");
  const shareSaid = document.getElementById("share-said");
  async function shareSet() {
    if (!game || shareView.open) return;
    endDemo();
    const level = JSON.parse(dump()).level;
    const seed = crypto.getRandomValues(new Uint32Array(1))[0];
    const link = new URL(`?set=${seed}-${level}`, location.href).href;
    document.getElementById("share-level").textContent = level;
    shareLink.href = link;
    shareLink.textContent = link;
    shareSaid.textContent = "";
    shareView.showModal();
    try {
      if (navigator.share) {
        await navigator.share({ title: `Pivotwarden: set ${seed} at level ${level}`, url: link });
        return;
      }
      await navigator.clipboard.writeText(link);
      shareSaid.textContent = "The link is copied.";
    } catch (error) {
      if (error.name !== "AbortError") shareSaid.textContent = "Copy the link above to share it.";
    }
  }
  document.getElementById("share").addEventListener("click", shareSet);
  for (const view of [progressView, shareView]) {
    view.querySelector(".close").addEventListener("click", () => view.close());
    // Closed, the keys go back to the game.
    view.addEventListener("close", () => { if (!canvas.hidden) canvas.focus(); });
  }

  // A key for the game, by its KeyboardEvent.code: 0 when it is not the
  // game's, 1 when the game took it, 2 when it is a held key that does not
  // repeat.
  function pressKey(code, shift, repeat) {
    if (!game || canvas.hidden || !holding) return 0;
    const taken = game.ccall("pw_key", "number", ["string", "number", "number", "number"],
      [code, shift ? 1 : 0, repeat ? 1 : 0, repaintFirst ? 1 : 0]);
    if (taken === 1) repaintFirst = false;
    return taken;
  }

  // Keys: the page's own (F11 for full screen) are the page's; the game
  // names the rest by their code and says whether they are its. A button of
  // the page keeps its own keys.
  document.addEventListener("keydown", (event) => {
    if (endedBy === event) return;
    if (event.ctrlKey || event.altKey || event.metaKey) return;
    if (event.code === "F11") {
      event.preventDefault();
      toggleFullScreen();
      return;
    }
    // An open view over the page keeps its keys.
    if (progressView.open || shareView.open) return;
    const onButton = event.target instanceof Element && event.target.closest("button");
    if (onButton && ["Enter", "NumpadEnter", "Space", "Tab"].includes(event.code)) return;
    const taken = pressKey(event.code, event.shiftKey, event.repeat);
    if (!taken) return;
    event.preventDefault();
    sounds.unlock();
    listen();
    if (!keysUsed) {
      keysUsed = true;
      document.body.classList.add("keys");
      captionLater();
    }
  });

  // Replays play as games of their own in the one instance: their settings,
  // random numbers and clock are their own, and the player's game and stored
  // score are untouched. The replay's last picture is shown until the next
  // press.
  async function replay(text) {
    const module = await loading;
    const source = String(text);
    const size = module.lengthBytesUTF8(source) + 1;
    const copy = module._malloc(size);
    if (!copy) throw new Error("replay too large");
    module.stringToUTF8(source, copy, size);
    const played = module._pw_replay(copy, size - 1);
    module._free(copy);
    const result = module.UTF8ToString(module._pw_replay_text());
    if (!played) throw new Error(result);
    if (!canvas.hidden) {
      module._pw_replay_show();
      repaintFirst = true;
    }
    return result;
  }
  // The game's state as the desktop's --dump writes it, or null before it starts.
  function dump() {
    return game ? game.UTF8ToString(game._pw_dump()) : null;
  }
  window.Pivotwarden = Object.freeze({ replay, dump });

  // The offline copy is made once the page has loaded and the game shows,
  // so that making it never slows the game's start.
  if ("serviceWorker" in navigator) {
    const loaded = document.readyState === "complete" ? Promise.resolve()
      : new Promise((done) => window.addEventListener("load", done, { once: true }));
    Promise.all([loaded, pictureShown]).then(() => navigator.serviceWorker.register("sw.js")).catch(() => {});
  }
})();
