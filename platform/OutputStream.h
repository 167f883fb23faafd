#pragma once
// A file the player asks for by name (a dump, a screenshot, a recording), as
// every backend that writes files offers it: opened at a path, written in
// order, put in place of any old file when published, then closed. Every
// failure comes with the system's reason.
#include <cstddef>
#include <string>

namespace pw {

class OutputStream {
public:
    virtual ~OutputStream() = default;
    virtual bool Open(const std::string& path, std::string& error) = 0;
    // Writes all of data; after the first failure every call fails with it.
    virtual bool Write(const void* data, size_t size, std::string& error) = 0;
    // Puts what is written so far in place of the old file; later writes go
    // on into it.
    virtual bool Publish(std::string& error) = 0;
    // Flushes, publishes and closes; false when any of it, or an earlier
    // write, failed.
    virtual bool Close(std::string& error) = 0;
    virtual bool IsOpen() const = 0;
};

// Writes bytes to path through file as one whole file (a dump, a
// screenshot); false with the reason when any step failed.
inline bool WriteWholeFile(OutputStream& file, const std::string& path, const std::string& bytes,
                           std::string& error) {
    return file.Open(path, error) && file.Write(bytes.data(), bytes.size(), error) && file.Close(error);
}

}  // namespace pw
