#pragma once
// A replay file to play: read through once when opened, so that a bad line is
// reported before anything is played, then played from its start one line at
// a time.
#include <fstream>
#include <memory>
#include <string>

#include "app/Replay.h"
#include "app/ReplayReader.h"

namespace pw {

class ReplayFile : public ReplayEvents {
public:
    // False with a one-line message naming the file for a file that cannot
    // be read or holds a bad line.
    bool Open(const std::string& path, ReplayHeader& header, std::string& error);
    bool Next(ReplayEvent& event) override;
    // Empty, or why the events stopped early (the file changed meanwhile).
    std::string Error() const;

private:
    bool Check(std::string& error);

    std::string path_;
    std::ifstream file_;
    std::unique_ptr<ReplayReader> reader_;
};

}  // namespace pw
