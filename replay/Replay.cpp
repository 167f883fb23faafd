#include "replay/Replay.h"

#include "replay/ReplayReader.h"

namespace pw {

bool ParseReplay(const std::string& text, Replay& replay, std::string& error) {
    replay = Replay{};
    StringReplayText in(text);
    ReplayReader reader(in);
    if (!reader.ReadHeader(replay)) {
        error = reader.Error();
        return false;
    }
    ReplayEvent event;
    while (reader.Next(event)) replay.events.push_back(event);
    if (!reader.Error().empty()) {
        error = reader.Error();
        return false;
    }
    return true;
}

std::string FormatReplayEvent(const ReplayEvent& e) {
    std::string out = "at " + std::to_string(e.at) + " ";
    switch (e.type) {
        case ReplayEvent::Type::Down:
            out += "down";
            break;
        case ReplayEvent::Type::Move:
            out += "move";
            break;
        case ReplayEvent::Type::Up:
            out += "up";
            break;
        case ReplayEvent::Type::End:
            return out + "end";
    }
    return out + " " + std::to_string(e.x) + " " + std::to_string(e.y);
}

std::string FormatReplayHeader(const ReplayHeader& header) {
    std::string out;
    if (header.seed) out += "seed " + std::to_string(*header.seed) + "\n";
    if (header.score) out += "score " + std::to_string(*header.score) + "\n";
    if (header.level) out += "level " + std::to_string(*header.level) + "\n";
    if (header.autoOff) out += "auto " + std::to_string(*header.autoOff) + "\n";
    return out;
}

bool ReplayEventList::Next(ReplayEvent& event) {
    if (next_ >= events_.size()) return false;
    event = events_[next_++];
    return true;
}

}  // namespace pw
