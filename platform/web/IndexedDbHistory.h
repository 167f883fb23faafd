#pragma once
// The results history in the browser: one record per row in an IndexedDB
// object store, added in order, so that no row is ever torn. IndexedDB only
// answers later, so rows are handed to the page (platform/web/site/page/
// results.js), which writes them in the background, one after another; the
// newest maxRows are kept, the oldest dropped in the same write. The page
// reads the rows itself when the player asks for them, so the game sees this
// history as one it only adds to.
#include <string>

#include "platform/HistoryStorage.h"

namespace pw {

class IndexedDbHistory : public HistoryStorage {
public:
    // header is the history's first line, which a record never holds.
    IndexedDbHistory(std::string header, size_t maxRows) : header_(std::move(header)), maxRows_(maxRows) {}

    // Nothing can be read without waiting: the game starts a history of
    // its own each time, and the rows already kept stay as they are.
    Loaded Load() override { return Loaded{}; }
    bool Append(size_t keep, const std::string& bytes, std::string& reason) override;
    // Rows are dropped as they are added, so the history is never rewritten.
    bool Replace(const std::string& bytes, std::string& reason) override;
    std::string Where() const override { return "the browser's storage"; }

private:
    std::string header_;
    size_t maxRows_;
};

}  // namespace pw
