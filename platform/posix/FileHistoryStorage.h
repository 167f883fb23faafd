#pragma once
// The results history as a file. Rows are appended with O_APPEND, each in a
// single write; a whole rewrite (to drop the oldest rows) goes through a
// temporary file renamed over the old one. Folders are made private when
// missing.
#include <string>

#include "platform/HistoryStorage.h"
#include "platform/posix/FileTextStorage.h"

namespace pw {

class FileHistoryStorage : public HistoryStorage {
public:
    // root and name as for FileTextStorage: the file is root/name.
    FileHistoryStorage(std::string root, std::string name)
        : files_(std::move(root)), name_(std::move(name)) {}

    Loaded Load() override;
    bool Append(size_t keep, const std::string& bytes, std::string& reason) override;
    bool Replace(const std::string& bytes, std::string& reason) override;
    std::string Where() const override { return files_.Where(name_); }

    // $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share;
    // empty when there is no home folder.
    static std::string DefaultDataRoot();

private:
    FileTextStorage files_;
    std::string name_;
};

}  // namespace pw
