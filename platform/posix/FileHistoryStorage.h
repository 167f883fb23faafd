#pragma once
// The results history as a file. Each row is appended with O_APPEND in a
// single write, under an exclusive flock held from looking at the file's
// end to the write, so that copies of the game sharing one history (two
// sessions, a home folder on the network) each keep every row. A whole
// rewrite (to drop the oldest rows) goes through a temporary file renamed
// over the old one, under the same lock; a temporary left by a crash is
// removed at the next append. Folders are made private when missing.
//
// A history that is a symbolic link is read and written through the link,
// as the settings file is, since the player (or whoever can write the
// player's own folder) put it there. It is safe because nothing is ever
// written to a file that is not already a history of the player's own: a
// file of another user, or one without the header, is refused, and a link
// that leads nowhere is never followed to create a file.
#include <string>

#include "platform/HistoryStorage.h"
#include "platform/posix/FileTextStorage.h"

namespace pw {

class FileHistoryStorage : public HistoryStorage {
public:
    // The file is root/name; an empty root is no folder at all (there is no
    // home folder), where nothing is read or written.
    FileHistoryStorage(std::string root, std::string name)
        : files_(root), root_(std::move(root)), name_(std::move(name)) {}

    Loaded Load() override;
    bool Append(size_t headerLength, const std::string& bytes, std::string& reason) override;
    bool Replace(const std::string& bytes, std::string& reason) override;
    bool Rewrite(const Edit& edit, std::string& reason) override;
    // The page's folder is made (private) when it is the history's own; a
    // page at the history's own file, or a link to it, is refused.
    bool SavePage(const std::string& path, const std::string& page, std::string& reason) override;
    std::string Where() const override { return root_.empty() ? name_ : files_.Where(name_); }

    // $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share;
    // empty when there is no home folder.
    static std::string DefaultDataRoot();

private:
    // Whether there is a folder for the history, made when missing.
    bool Ready(std::string& reason);
    // The history opened for appending and locked: a descriptor, or -1 with
    // the reason. Without create, an absent history is -1 with errno ENOENT.
    int OpenLocked(bool create, std::string& reason);
    bool IsTheHistory(const std::string& path) const;
    void RemoveStaleTemporaries();

    FileTextStorage files_;
    std::string root_;
    std::string name_;
    bool cleaned_ = false;
};

}  // namespace pw
