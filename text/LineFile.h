#pragma once
// A file of lines written as they come (a recording, the spoken
// descriptions), so that a run that ends abruptly leaves what it wrote and a
// reader at the other end of a pipe gets each line at once. The first failed
// write (a full disk, a reader that went away) stops the lines, not the
// game; Close reports it.
#include <string>

#include "platform/OutputStream.h"

namespace pw {

class LineFile {
public:
    // Writes into file, which outlives this; what names the file in
    // messages ("record file", "descriptions to").
    LineFile(OutputStream& file, std::string what) : file_(file), what_(std::move(what)) {}

    // Writes start (if any) and puts the file in place.
    bool Open(const std::string& path, const std::string& start, std::string& error);
    // Writes the line and its end.
    void Write(const std::string& line);
    // False, with the reason, when any line could not be written.
    bool Close(std::string& error);
    bool IsOpen() const { return file_.IsOpen(); }

private:
    std::string Failure(const std::string& reason) const;

    OutputStream& file_;
    const std::string what_;
    std::string path_;
    std::string failure_;
};

}  // namespace pw
