#pragma once
// The results history as a file on Windows. Each row is added at the end in
// a single write while the game holds a lock (LockFileEx) on a byte far past
// any history's end, from looking at the file's end to the write: copies of
// the game sharing one history each keep every row, and a reader is never
// kept out of the rows themselves. A whole rewrite (to drop the oldest rows)
// goes through a temporary file moved over the old one, under the same
// lock. Missing folders are made. Paths are UTF-8 here and UTF-16 for the
// system.
#include <string>

#include "platform/HistoryStorage.h"

namespace pw {

class FileHistoryStorage : public HistoryStorage {
public:
    // The file is folder\name; an empty folder is no folder at all (the
    // system names no place for the player's data), where nothing is read
    // or written.
    FileHistoryStorage(std::string folder, std::string name)
        : folder_(std::move(folder)), name_(std::move(name)) {}

    Loaded Load() override;
    bool Append(size_t headerLength, const std::string& bytes, std::string& reason) override;
    bool Replace(const std::string& bytes, std::string& reason) override;
    bool Rewrite(const Edit& edit, std::string& reason) override;
    // The page's folder is made when it is the history's own; a page at the
    // history's own file is refused.
    bool SavePage(const std::string& path, const std::string& page, std::string& reason) override;
    std::string Where() const override {
        if (folder_.empty()) return name_;
        return folder_.back() == '\\' || folder_.back() == '/' ? folder_ + name_ : folder_ + "\\" + name_;
    }

    // The player's local application data folder (%LOCALAPPDATA%); empty
    // when the system names none.
    static std::string DefaultDataRoot();

private:
    bool Ready(std::string& reason);
    // The history opened and locked: a handle, or nullptr with the reason.
    void* OpenLocked(std::string& reason);

    std::string folder_;
    std::string name_;
};

}  // namespace pw
