"use strict";
// The page around the game: it scales the canvas, turns pointer events into
// the stylus, plays the sounds, holds the game's lock so that one tab plays
// at a time, and offers window.Pivotwarden.replay(text) for tests and for
// sharing a game.
(function () {
  // The game's display size, handed over by the game when it starts.
  let WIDTH = 0;
  let HEIGHT = 0;
  const LOCK = "Marblequill/Pivotwarden";
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
  function showFocusRing(left, top, right, bottom) {
    ringArea = right > left && bottom > top ? [left, top, right, bottom] : null;
    ring.hidden = ringArea === null || canvas.hidden;
    placeRing();
  }

  function setDisplaySize(width, height) {
    if (width === WIDTH && height === HEIGHT) return;
    WIDTH = width;
    HEIGHT = height;
    canvas.width = width;
    canvas.height = height;
    canvas.style.width = `${width}px`;
    canvas.style.height = `${height}px`;
    fit();
  }

  // The largest whole number of device pixels per display pixel that fits,
  // placed on whole device pixels so that every display pixel stays sharp.
  // A viewport too small for even one is filled as far as it goes.
  function fit() {
    if (WIDTH === 0) return;
    const ratio = window.devicePixelRatio || 1;
    const width = document.documentElement.clientWidth;
    const height = document.documentElement.clientHeight;
    const factor = Math.floor(Math.min((width * ratio) / WIDTH, (height * ratio) / HEIGHT));
    const scale = factor >= 1 ? factor / ratio : Math.min(width / WIDTH, height / HEIGHT);
    const left = Math.round(((width - WIDTH * scale) / 2) * ratio) / ratio;
    const top = Math.round(((height - HEIGHT * scale) / 2) * ratio) / ratio;
    // A transform, not a CSS size: layout rounds sizes and offsets to 1/64 of
    // a CSS pixel, which at a ratio of 3 would smear rows of the picture.
    canvas.style.transform = `translate(${left}px, ${top}px) scale(${scale})`;
    placing = `translate(${left}px, ${top}px) scale(${scale})`;
    placeRing();
    canvas.dataset.factor = String(Math.max(factor, 0));
  }
  function watchRatio() {
    // A move to another screen or a zoom changes the ratio without a resize.
    matchMedia("(resolution: " + (window.devicePixelRatio || 1) + "dppx)")
      .addEventListener("change", () => { fit(); watchRatio(); }, { once: true });
  }
  window.addEventListener("resize", fit);
  fit();
  watchRatio();

  let firstPicture = true;
  function drawOnCanvas(rgba, x, y, w, h) {
    context.putImageData(new ImageData(new Uint8ClampedArray(rgba), w, h), x, y);
    if (firstPicture) {
      firstPicture = false;
      performance.mark("pivotwarden-first-picture");
    }
  }

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
    if (!game) return;
    const box = canvas.getBoundingClientRect();
    const x = Math.floor(((event.clientX - box.left) * WIDTH) / box.width);
    const y = Math.floor(((event.clientY - box.top) * HEIGHT) / box.height);
    const clampedX = Math.min(WIDTH - 1, Math.max(0, x));
    const clampedY = Math.min(HEIGHT - 1, Math.max(0, y));
    game._pw_post(type, clampedX, clampedY, event.buttons === 1 ? 1 : 0);
  }

  // The primary pointer is the stylus; a second finger does nothing. The
  // canvas captures the pointer, so a drag that leaves it still ends.
  let stylus = null;
  canvas.addEventListener("pointerdown", (event) => {
    event.preventDefault();
    sounds.unlock();
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
      game._pw_post(Message.paint, 0, 0, 0);
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

  function showEnded() {
    canvas.hidden = true;
    ring.hidden = true;
    ended.hidden = false;
    document.getElementById("again").focus();
    releaseLock();
  }
  document.getElementById("again").addEventListener("click", () => location.reload());

  function instance(live) {
    return createPivotwarden({
      drawOnCanvas,
      setDisplaySize,
      sounds: live ? sounds : null,
      onWindowClosed: live ? showEnded : null,
      showFocusRing: live ? showFocusRing : null,
      say: live ? say : null,
    });
  }

  // One tab at a time: the tab holding the lock plays; another says so and
  // takes over when that tab closes. Without the Locks API (an insecure
  // origin, an old browser) the game simply starts.
  function holdLock() {
    if (!navigator.locks) return Promise.resolve();
    return new Promise((granted) => {
      const hold = () => {
        elsewhere.hidden = true;
        granted();
        return new Promise((release) => { releaseLock = release; });
      };
      navigator.locks.request(LOCK, { ifAvailable: true }, (lock) => {
        if (lock) return hold();
        elsewhere.hidden = false;
        navigator.locks.request(LOCK, hold);
        return null;
      });
    });
  }

  const loading = instance(true);
  holdLock()
    .then(() => loading)
    .then((module) => {
      game = module;
      // ?seed=N seeds the puzzles, as the desktop's --seed does.
      const seed = new URLSearchParams(location.search).get("seed");
      const seeded = seed !== null && /^[0-9]{1,10}$/.test(seed) && Number(seed) <= 4294967295;
      game._pw_play(seeded ? 1 : 0, seeded ? Number(seed) : 0);
      canvas.focus();
    });

  // Keys: the page's own (F11 for full screen) are the page's; the game
  // names the rest by their code and says whether they are its.
  document.addEventListener("keydown", (event) => {
    if (event.ctrlKey || event.altKey || event.metaKey) return;
    if (event.code === "F11") {
      event.preventDefault();
      if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
      else document.documentElement.requestFullscreen().catch(() => {});
      return;
    }
    if (!game || canvas.hidden) return;
    const taken = game.ccall("pw_key", "number", ["string", "number", "number", "number"],
      [event.code, event.shiftKey ? 1 : 0, event.repeat ? 1 : 0, repaintFirst ? 1 : 0]);
    if (!taken) return;
    if (taken === 1) repaintFirst = false;
    event.preventDefault();
    sounds.unlock();
    listen();
  });

  // Replays play in an instance of their own: its settings, random numbers
  // and clock are its own, and the player's game and stored score are
  // untouched. The replay's last picture is shown until the next press.
  let replayer = null;
  async function replay(text) {
    if (!replayer) replayer = instance(false);
    const module = await replayer;
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

  if ("serviceWorker" in navigator) {
    window.addEventListener("load", () => {
      navigator.serviceWorker.register("sw.js").catch(() => {});
    });
  }
})();
