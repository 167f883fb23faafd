#pragma once
// Writes the replay of the game being played, line by line, so that even a
// run that ends abruptly (a killed game) leaves what it recorded, and a
// replay without its end still plays.
//
// Times are written as milliseconds since the first recorded event, counted
// from 1, rather than as the clock's own readings: the millisecond counter
// wraps every 49.7 days, and a recording across the wrap would otherwise go
// backwards. A replay starts its clock one millisecond before its first
// event, so nothing is lost by the shift, and recordings made with the
// clock's readings still play.
#include <cstdint>
#include <string>

#include "text/LineFile.h"
#include "replay/Replay.h"
#include "platform/OutputStream.h"

namespace pw {

class ReplayRecorder {
public:
    // Writes into file, which outlives the recorder.
    explicit ReplayRecorder(OutputStream& file) : lines_(file, "record file") {}

    // Writes the header and puts the file in place.
    bool Open(const std::string& path, const ReplayHeader& header, std::string& error);
    // The event's time is a reading of the game's clock. A failed write
    // stops the recording; Close reports it.
    void Record(const ReplayEvent& event);
    // False, with the reason, when any line could not be written.
    bool Close(std::string& error);
    bool IsOpen() const { return lines_.IsOpen(); }

private:
    LineFile lines_;
    bool started_ = false;
    uint32_t firstAt_ = 0;  // the clock's reading at the first event
};

}  // namespace pw
