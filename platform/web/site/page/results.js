// The results history: the game hands each puzzle's row over, and the page
// adds it to the browser's storage (IndexedDB) in the background, one write
// after another, each adding its rows and dropping the oldest beyond the
// newest maxRows in one transaction, so that no row is ever torn and a
// closed tab loses at most the rows still queued. Progress waits for those
// writes, reads every row and has the game draw the progress view from
// them, the same page the desktop draws.
import { RESULTS } from "./names.js";

// Opens the database, made with its store when new. A connection lets go
// at once when another page needs a newer version of it; an open that such
// a connection blocks fails, rather than waiting for ever.
function openResults() {
  return new Promise((resolve, reject) => {
    if (typeof indexedDB === "undefined") {
      reject(new Error("this browser keeps no results"));
      return;
    }
    const asked = indexedDB.open(RESULTS.database, RESULTS.version);
    let failed = false;
    asked.onupgradeneeded = () => asked.result.createObjectStore(RESULTS.store, { autoIncrement: true });
    asked.onerror = () => reject(asked.error);
    asked.onblocked = () => {
      failed = true;
      reject(new Error("another tab keeps the results open: close it"));
    };
    asked.onsuccess = () => {
      const db = asked.result;
      if (failed) {
        db.close();
        return;
      }
      db.onversionchange = () => db.close();
      resolve(db);
    };
  });
}

// Every stored row; none from a database that has no store for them.
export function readResults() {
  return openResults().then((db) => new Promise((resolve, reject) => {
    if (!db.objectStoreNames.contains(RESULTS.store)) {
      db.close();
      resolve([]);
      return;
    }
    const read = db.transaction(RESULTS.store).objectStore(RESULTS.store).getAll();
    read.onsuccess = () => { db.close(); resolve(read.result); };
    read.onerror = () => { db.close(); reject(read.error); };
  }));
}

let queue = Promise.resolve();
let connection = null;  // the writes' open database, while it stays open

function addNow(db, rows, maxRows) {
  return new Promise((done) => {
    const write = db.transaction(RESULTS.store, "readwrite");
    const store = write.objectStore(RESULTS.store);
    rows.forEach((row) => store.add(row));
    const counted = store.count();
    counted.onsuccess = () => {
      const extra = counted.result - maxRows;
      if (extra <= 0) return;
      // Keys only grow, so the first keys are the oldest rows.
      const walk = store.openKeyCursor();
      let first = true;
      walk.onsuccess = () => {
        const cursor = walk.result;
        if (!cursor) return;
        if (first && extra > 1) {
          first = false;
          cursor.advance(extra - 1);
          return;
        }
        store.delete(IDBKeyRange.upperBound(cursor.key));
      };
    };
    write.oncomplete = write.onerror = write.onabort = () => done();
  });
}

// Queues rows (CSV lines without their line ends) for the store; false when
// this tab may not write (mayStore) or the browser keeps no results.
export function setUpResults({ mayStore }) {
  function add(rows, maxRows) {
    if (!mayStore() || typeof indexedDB === "undefined") return false;
    queue = queue.then(() => {
      if (!connection) {
        connection = openResults().then((db) => {
          db.addEventListener("versionchange", () => { connection = null; });
          db.addEventListener("close", () => { connection = null; });
          return db;
        });
      }
      return connection;
    }).then((db) => {
      if (!db.objectStoreNames.contains(RESULTS.store)) throw new Error("no store for the results");
      return addNow(db, rows, maxRows);
    }).catch(() => { connection = null; });
    return true;
  }
  return { add, written: () => queue };
}

// The Progress view over the page: the rows read, drawn by the game
// (progressPage(rows) answers { html, csv, skipped }), and offered as a
// download; a row that cannot be read is left out, and said so.
export function setUpProgress({ gameReady, written, beforeShowing }) {
  const view = document.getElementById("progress-view");
  // Shown in a new frame each time: a frame given a second page while the
  // first still loads may keep the first.
  let page = document.getElementById("progress-page");
  function showInFrame(html) {
    const frame = page.cloneNode(false);
    frame.hidden = html === "";
    frame.srcdoc = html;
    // The keys go into the drawn page, so that they scroll it; Escape there
    // still closes the view (the frame runs no script, but is the page's own).
    if (html) {
      frame.addEventListener("load", () => {
        frame.contentDocument.addEventListener("keydown", (event) => {
          if (event.key === "Escape") view.close();
        });
        if (view.open) frame.focus();
      }, { once: true });
    }
    page.replaceWith(frame);
    page = frame;
  }
  const said = document.getElementById("progress-said");
  const download = document.getElementById("download");
  async function show() {
    const game = gameReady();
    if (!game || view.open) return;
    beforeShowing();
    showInFrame("");
    said.textContent = "Reading your results\u2026";
    download.hidden = true;
    view.showModal();
    view.querySelector(".close").focus();  // until the drawn page is there to take the keys
    try {
      await written();
      const rows = await readResults();
      const { html, csv, skipped } = game.progressPage(rows);
      if (!html) throw new Error("the stored results cannot be read");
      showInFrame(html);
      URL.revokeObjectURL(download.href);
      download.href = URL.createObjectURL(new Blob([csv], { type: "text/csv" }));
      download.hidden = false;
      const left = skipped === 1 ? "One stored row cannot be read and is left out."
        : skipped > 1 ? `${skipped} stored rows cannot be read and are left out.` : "";
      said.textContent = rows.length === 0 ? "No puzzle played yet." : left;
    } catch (error) {
      said.textContent = `Your results cannot be read here (${error.message || error}).`;
    }
  }
  document.getElementById("progress").addEventListener("click", show);
  return { isOpen: () => view.open, show };
}
