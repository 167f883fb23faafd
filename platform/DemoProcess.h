#pragma once
// A game played from a recording in a process of its own, headless and on
// settings of its own, whose pictures come back as a frame stream (see
// howtoplay/FrameStream.h): how the window shows How to play without a second game
// in the player's process, where it would share the player's settings.
#include <string>

namespace pw {

class DemoProcess {
public:
    virtual ~DemoProcess() = default;
    // Starts playing recording (the text of a replay file).
    virtual bool Start(const std::string& recording, std::string& error) = 0;
    enum class Read { Some, Nothing, Ended };
    // Appends to out what has come, without waiting: Nothing when nothing
    // has, Ended once the stream ended or failed.
    virtual Read ReadSome(std::string& out) = 0;
    // Ends the process if it still runs and collects it. Safe to call twice.
    virtual void Stop() = 0;
};

}  // namespace pw
