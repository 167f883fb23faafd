#pragma once
// Where --describe sends the spoken descriptions: one line each, written as
// it comes, so that a reader at the other end of a pipe (a speech tool)
// hears the game as it is played.
#include <string>

#include "platform/OutputStream.h"

namespace pw {

class DescriptionFile {
public:
    // Writes into file, which outlives this.
    explicit DescriptionFile(OutputStream& file) : file_(file) {}

    // Puts the file, still empty, in place.
    bool Open(const std::string& path, std::string& error);
    // A failed write (a reader that went away) stops the descriptions, not
    // the game; Close reports it.
    void Write(const std::string& line);
    // False, with the reason, when any line could not be written.
    bool Close(std::string& error);
    bool IsOpen() const { return file_.IsOpen(); }

private:
    std::string Failure(const std::string& reason) const;

    std::string path_;
    OutputStream& file_;
    std::string failure_;
};

}  // namespace pw
