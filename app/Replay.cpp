#include "app/Replay.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "app/DecimalText.h"

namespace pw {

namespace {

constexpr size_t kMaxReplayBytes = 64u * 1024 * 1024;

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string w;
    while (in >> w) words.push_back(w);
    return words;
}

}  // namespace

bool ParseReplay(const std::string& text, Replay& replay, std::string& error) {
    std::istringstream in(text);
    return ParseReplay(in, replay, error);
}

bool ParseReplay(std::istream& in, Replay& replay, std::string& error) {
    replay = Replay{};
    std::string line;
    int number = 0;
    bool sawHeader = false, sawEnd = false;
    auto fail = [&](const std::string& what) {
        error = "replay line " + std::to_string(number) + ": " + what;
        return false;
    };
    while (std::getline(in, line)) {
        ++number;
        if (line.find('\0') != std::string::npos) return fail("contains a NUL byte");
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        const std::vector<std::string> w = Words(line);
        if (w.empty()) continue;
        if (!sawHeader) {
            if (w.size() != 2 || w[0] != "pivotwarden-replay") return fail("expected 'pivotwarden-replay 1'");
            if (w[1] != "1") return fail("unsupported replay version '" + w[1] + "'");
            sawHeader = true;
            continue;
        }
        if (sawEnd) return fail("nothing may follow 'end'");
        if (w[0] == "seed") {
            uint64_t seed = 0;
            if (w.size() != 2 || !ParseDecimal(w[1], std::numeric_limits<uint32_t>::max(), seed))
                return fail("expected 'seed N' with N from 0 to 4294967295");
            if (replay.seed || !replay.events.empty())
                return fail("the seed must come once, before the events");
            replay.seed = static_cast<uint32_t>(seed);
            continue;
        }
        if (w[0] != "at") return fail("unknown record '" + w[0] + "'");
        uint64_t at = 0;
        if (w.size() < 3 || !ParseDecimal(w[1], std::numeric_limits<uint32_t>::max(), at))
            return fail("expected 'at T down|move|up X Y' or 'at T end'");
        if (!replay.events.empty() && at < replay.events.back().at) return fail("time goes backwards");
        ReplayEvent event;
        event.at = static_cast<uint32_t>(at);
        if (w[2] == "end") {
            if (w.size() != 3) return fail("'end' takes no coordinates");
            event.type = ReplayEvent::Type::End;
            sawEnd = true;
        } else {
            if (w[2] == "down")
                event.type = ReplayEvent::Type::Down;
            else if (w[2] == "move")
                event.type = ReplayEvent::Type::Move;
            else if (w[2] == "up")
                event.type = ReplayEvent::Type::Up;
            else
                return fail("unknown event '" + w[2] + "'");
            uint64_t x = 0, y = 0;
            if (w.size() != 5 || !ParseDecimal(w[3], 239, x) || !ParseDecimal(w[4], 319, y))
                return fail("expected coordinates X from 0 to 239 and Y from 0 to 319");
            event.x = static_cast<int32_t>(x);
            event.y = static_cast<int32_t>(y);
        }
        replay.events.push_back(event);
    }
    if (!sawHeader) {
        error = "replay: empty file, expected 'pivotwarden-replay 1'";
        return false;
    }
    if (!sawEnd) {
        error = "replay: no 'at T end' record";
        return false;
    }
    return true;
}

bool LoadReplay(const std::string& path, Replay& replay, std::string& error) {
    std::error_code code;
    if (std::filesystem::exists(path, code) && !std::filesystem::is_regular_file(path, code)) {
        error = "replay '" + path + "' is not a file";
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read replay file '" + path + "': " + std::strerror(errno);
        return false;
    }
    // Read line by line from the file: a long game is never held twice.
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    if (size < 0 || !file) {
        error = "cannot read replay file '" + path + "'";
        return false;
    }
    if (static_cast<uint64_t>(size) > kMaxReplayBytes) {
        error = "replay file '" + path + "' is larger than 64 MiB";
        return false;
    }
    if (!ParseReplay(file, replay, error)) {
        error = path + ": " + error;
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

ReplayRecorder::~ReplayRecorder() {
    if (file_ != nullptr) std::fclose(file_);
}

bool ReplayRecorder::Open(const std::string& path, uint32_t seed, std::string& error) {
    file_ = std::fopen(path.c_str(), "w");
    if (file_ == nullptr) {
        error = "cannot write record file '" + path + "': " + std::strerror(errno);
        return false;
    }
    std::fprintf(file_, "pivotwarden-replay 1\nseed %u\n", seed);
    std::fflush(file_);
    return true;
}

void ReplayRecorder::Record(const ReplayEvent& event) {
    if (file_ == nullptr) return;
    std::fprintf(file_, "%s\n", FormatReplayEvent(event).c_str());
    std::fflush(file_);
}

}  // namespace pw
