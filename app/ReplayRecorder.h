#pragma once
// Writes the replay of the game being played, line by line, so that even a
// run that ends abruptly (a killed game) leaves what it recorded, and a
// replay without its end still plays.
#include <string>

#include "app/Replay.h"
#include "platform/OutputStream.h"

namespace pw {

class ReplayRecorder {
public:
    // Writes into file, which outlives the recorder.
    explicit ReplayRecorder(OutputStream& file) : file_(file) {}

    // Writes the header and puts the file in place.
    bool Open(const std::string& path, const ReplayHeader& header, std::string& error);
    // A failed write stops the recording; Close reports it.
    void Record(const ReplayEvent& event);
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
