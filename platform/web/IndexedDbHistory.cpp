#include "platform/web/IndexedDbHistory.h"

#include "platform/web/PageContract.h"

namespace pw {

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
