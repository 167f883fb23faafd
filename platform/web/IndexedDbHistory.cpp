#include "platform/web/IndexedDbHistory.h"

#include <emscripten.h>

namespace pw {

namespace {

// Queues the rows (whole lines, each ending in a newline) for the object
// store "results" of the database "Marblequill/Pivotwarden", which the page
// reads too. One write at a time, in order: each adds its rows and drops the
// oldest beyond maxRows in one transaction, so a closed tab loses at most the
// rows still queued. A tab whose game another tab took over writes nothing
// (Module.mayStore); storage that is blocked or full loses the rows, and play
// goes on.
// clang-format off
EM_JS(int, pw_history_add, (const char* text, int length, int maxRows), {
    if (Module.mayStore && !Module.mayStore()) return 0;
    if (typeof indexedDB === "undefined") return 0;
    var rows = UTF8ToString(text, length).split("\n");
    rows.pop();
    var kept = Module.pwResults || (Module.pwResults = { queue: Promise.resolve(), db: null });
    if (!kept.db) {
        kept.db = new Promise(function (opened, failed) {
            var asked = indexedDB.open("Marblequill/Pivotwarden", 1);
            asked.onupgradeneeded = function () {
                asked.result.createObjectStore("results", { autoIncrement: true });
            };
            asked.onsuccess = function () { opened(asked.result); };
            asked.onerror = function () { failed(asked.error); };
            asked.onblocked = function () { failed(new Error("blocked")); };
        });
    }
    kept.queue = kept.queue.then(function () { return kept.db; }).then(function (db) {
        return new Promise(function (done) {
            var write = db.transaction("results", "readwrite");
            var store = write.objectStore("results");
            rows.forEach(function (row) { store.add(row); });
            var counted = store.count();
            counted.onsuccess = function () {
                var extra = counted.result - maxRows;
                if (extra <= 0) return;
                // Keys only grow, so the first keys are the oldest rows.
                var walk = store.openKeyCursor();
                var first = true;
                walk.onsuccess = function () {
                    var cursor = walk.result;
                    if (!cursor) return;
                    if (first && extra > 1) {
                        first = false;
                        cursor.advance(extra - 1);
                        return;
                    }
                    store.delete(IDBKeyRange.upperBound(cursor.key));
                };
            };
            write.oncomplete = write.onerror = write.onabort = function () { done(); };
        });
    }).catch(function () { kept.db = null; });
    if (Module.onResultsQueued) Module.onResultsQueued(kept.queue);
    return 1;
});
// clang-format on

}  // namespace

bool IndexedDbHistory::Append(size_t, const std::string& bytes, std::string& reason) {
    // A new history's first write brings the header, which the store does not keep.
    std::string rows = bytes;
    if (rows.compare(0, header_.size(), header_) == 0) rows.erase(0, header_.size());
    if (rows.empty()) return true;
    if (pw_history_add(rows.c_str(), static_cast<int>(rows.size()), static_cast<int>(maxRows_)) == 1)
        return true;
    reason = "this tab may not write it (another tab plays the game, or the browser has no IndexedDB)";
    return false;
}

bool IndexedDbHistory::Replace(const std::string&, std::string& reason) {
    reason = "the browser's history is never rewritten";
    return false;
}

}  // namespace pw
