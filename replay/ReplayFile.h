#pragma once
// A replay file to play: read through once when opened, so that a bad line is
// reported before anything is played, then played from its start one line at
// a time.
#include <memory>
#include <string>

#include "replay/Replay.h"
#include "replay/ReplayReader.h"
#include "platform/InputStream.h"

namespace pw {

// Replay text read from a file.
class StreamReplayText : public ReplayText {
public:
    explicit StreamReplayText(InputStream& input) : input_(input) {}
    int Get() override { return input_.Get(); }

private:
    InputStream& input_;
};

class ReplayFile : public ReplayEvents {
public:
    // Reads from input, which outlives the replay.
    explicit ReplayFile(InputStream& input) : input_(input), text_(input) {}

    // False with a one-line message naming the file for a file that cannot
    // be read or holds a bad line.
    bool Open(const std::string& path, ReplayHeader& header, std::string& error);
    bool Next(ReplayEvent& event) override;
    // Empty, or why the events stopped early (the file changed meanwhile).
    std::string Error() const;

private:
    InputStream& input_;
    StreamReplayText text_;
    std::string path_;
    std::unique_ptr<ReplayReader> reader_;
};

}  // namespace pw
