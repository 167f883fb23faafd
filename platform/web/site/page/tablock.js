// One tab at a time: the tab holding the lock plays; another shows a page
// that says so, takes over when that tab closes, or at once with "Play
// here". A tab whose game was taken over stops writing at once and shows
// the same page; its game in memory is out of date, so it plays again by
// loading afresh. Without the Locks API (an insecure origin, an old
// browser) the game simply starts.
import { takeEarlyLock } from "./early.js";
import { showPanel } from "./layout.js";
import { LOCK, PLAY_HERE } from "./names.js";

// The page's head asked for the lock in the queue as it loaded: granted at
// once, or nearly (a reload's previous page letting go), it is taken as
// any; otherwise the page says meanwhile that the game is in another tab,
// and the request waits on as wait()'s does.
const ELSEWHERE_AFTER_MS = 250;

// elsewhere() hears that the game is (or is now) played in another tab;
// started() whether a game ran in this tab.
export function setUpTabLock({ elsewhere, started }) {
  // Whether this tab may write the player's settings: only while it holds
  // the game's lock. Once another tab takes the game over, not one more write.
  let holding = !navigator.locks;
  let waiting = null;       // the queued request, to give up on "Play here"
  let granted = () => {};
  let releaseLock = () => {};

  function showElsewhere() {
    elsewhere();
    showPanel("elsewhere");
  }
  function take(lock) {
    if (!lock) return null;
    if (started()) {
      // The other tab closed after taking this one's game: start afresh.
      location.reload();
      return null;
    }
    holding = true;
    showPanel("playing");
    granted();
    return new Promise((release) => { releaseLock = release; });
  }
  function takenOver(error) {
    if (!holding || error.name !== "AbortError") return;
    // Taken over by another tab.
    holding = false;
    showElsewhere();
    wait();
  }
  function request(options, unavailable = () => {}) {
    const callback = (lock) => {
      if (lock) return take(lock);
      unavailable();
      return null;
    };
    navigator.locks.request(LOCK, options, callback).then(() => {}, takenOver);
  }
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
    if (started()) {
      try { sessionStorage.setItem(PLAY_HERE, "1"); } catch (e) { /* plays when the other closes */ }
      location.reload();
      return;
    }
    if (waiting) waiting.abort();
    waiting = null;
    request({ steal: true });
  });

  return {
    holding: () => holding,
    // Lets the lock go (the game has ended).
    release: () => releaseLock(),
    // Settles once this tab holds the lock.
    hold() {
      if (!navigator.locks) {
        showPanel("playing");
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
        const early = takeEarlyLock();
        if (early) {
          adopt(early);
          return;
        }
        request({ ifAvailable: true }, () => {
          showElsewhere();
          wait();
        });
      });
    },
  };
}
