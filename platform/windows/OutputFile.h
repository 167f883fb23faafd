#pragma once
// A file the player asks for by name: a dump, a screenshot, a recording.
//
// A plain file at the path, or none, is replaced whole: the bytes go to a
// temporary file created new in the same folder, which MoveFileExW puts in
// place of the path when published (replacing what is there, and returning
// only once the move is on the disk); until then the old file stays whole,
// and a failed write leaves nothing behind. Anything else at the path (a
// console, NUL, a pipe, a symbolic link) is not ours to replace and is
// written in place. Paths are UTF-8 here and UTF-16 for the system. "-" is
// the game's standard output (a console, a pipe), which Windows has no path
// for; it is written to and left open.
//
// Every failure comes with the system's reason.
#include <cstddef>
#include <string>

#include "platform/OutputStream.h"

namespace pw {

class OutputFile : public OutputStream {
public:
    OutputFile() = default;
    // Closes the file; an unpublished temporary is removed.
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool Open(const std::string& path, std::string& error) override;
    bool Write(const void* data, size_t size, std::string& error) override;
    // Nothing to do for a file written in place.
    bool Publish(std::string& error) override;
    bool Close(std::string& error) override;

    bool IsOpen() const override { return open_; }

private:
    bool Failed(std::string& error);
    void Discard();

    std::string path_;
    std::string temporary_;  // empty when written in place or published
    void* handle_ = nullptr;
    bool open_ = false;
    bool standardOutput_ = false;  // not ours to close
    unsigned long error_ = 0;      // the first failure, as GetLastError() gave it
};

}  // namespace pw
