#pragma once
// A replay file to play: read through once when opened, so that a bad line is
// reported before anything is played, then played from its start one line at
// a time.
#include <cstdio>
#include <memory>
#include <string>

#include "app/Replay.h"
#include "app/ReplayReader.h"
#include "platform/InputFile.h"

namespace pw {

// Replay text read from an open file through stdio's buffer.
class FileReplayText : public ReplayText {
public:
    explicit FileReplayText(std::FILE* file) : file_(file) {}
    int Get() override {
        const int c = GetByteUnlocked(file_);  // one thread reads it
        return c == EOF ? -1 : c;
    }

private:
    std::FILE* file_;
};

class ReplayFile : public ReplayEvents {
public:
    ReplayFile() = default;
    ~ReplayFile() override;
    ReplayFile(const ReplayFile&) = delete;
    ReplayFile& operator=(const ReplayFile&) = delete;

    // False with a one-line message naming the file for a file that cannot
    // be read or holds a bad line.
    bool Open(const std::string& path, ReplayHeader& header, std::string& error);
    bool Next(ReplayEvent& event) override;
    // Empty, or why the events stopped early (the file changed meanwhile).
    std::string Error() const;

private:
    std::string path_;
    std::FILE* file_ = nullptr;
    std::unique_ptr<FileReplayText> text_;
    std::unique_ptr<ReplayReader> reader_;
};

}  // namespace pw
