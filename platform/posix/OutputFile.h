#pragma once
// A file the player asks for by name: a dump, a screenshot, a recording.
//
// A regular file at the path, or none, is replaced atomically: the bytes go
// to a temporary file created exclusively in the same folder (so a link
// planted there is never followed), which is renamed over the path when
// published; until then the old file stays whole, and a failed write leaves
// nothing behind. Anything else at the path (a FIFO, /dev/stdout, a device,
// a symbolic link) is not ours to replace and is written in place; a link
// another user planted in a shared folder such as /tmp is refused.
//
// Nothing waits for ever: a FIFO with no reader is refused when opened, and
// a write to a reader that stopped reading gives up once the game is asked
// to end (QuitRequest).
//
// Every failure comes with the system's reason.
#include <sys/stat.h>

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

    bool IsOpen() const override { return fd_ >= 0; }

private:
    bool OpenInPlace(const struct stat& info, std::string& error);
    bool WaitUntilWritable(std::string& error);
    // Notes the first failure (errno, worded by reason or by the system).
    bool Failed(std::string& error, const char* reason = nullptr);
    void Discard();

    std::string path_;
    std::string temporary_;  // empty when written in place or published
    int fd_ = -1;
    int errno_ = 0;  // the first failure
    std::string reason_;
};

}  // namespace pw
