#pragma once
// A file read byte by byte from its start, as every backend that reads files
// offers it (a replay file on the desktop).
#include <string>

namespace pw {

class InputStream {
public:
    virtual ~InputStream() = default;
    // False, with the reason ("not a file", or the system's), when it is not
    // a file or cannot be read.
    virtual bool Open(const std::string& path, std::string& error) = 0;
    // The next byte, or -1 at the end or after a failed read.
    virtual int Get() = 0;
    // Back to the first byte; false when the file cannot be read again.
    virtual bool Rewind() = 0;
    // Whether a read failed (as opposed to reaching the end).
    virtual bool Failed() const = 0;
};

}  // namespace pw
