// What starts as the page loads, before the rest of it (index.html's head
// loads this module by itself, and the page imports it): the game's code
// compiling as it arrives, and the request for the lock that lets one tab
// at a time play, in the queue, since a reload finds its own previous page
// still letting go of it. A "Play here" load takes the lock from the other
// tab instead (tablock.js).
import { GAME_CODE, LOCK, PLAY_HERE } from "./names.js";

export const code = typeof WebAssembly === "object" && WebAssembly.compileStreaming
  ? WebAssembly.compileStreaming(fetch(GAME_CODE, { credentials: "same-origin" })) : null;
if (code) code.catch(() => {});

let early = null;
try {
  if (navigator.locks && sessionStorage.getItem(PLAY_HERE) === null) {
    const stop = new AbortController();
    let answer;
    const answered = new Promise((resolve) => { answer = resolve; });
    const done = navigator.locks.request(LOCK, { signal: stop.signal },
      (lock) => new Promise((hold) => answer({ lock, hold })));
    done.catch(() => {});
    early = { answered, done, stop };
  }
} catch (e) { /* tablock.js asks for it */ }

// The lock asked for at load, { answered, done, stop }, once; then null.
export function takeEarlyLock() {
  const taken = early;
  early = null;
  return taken;
}
