#include "replay/ReplayReader.h"

#include <cstdio>
#include <limits>
#include <string_view>

#include "text/DecimalText.h"
#include "text/QuotedText.h"

namespace pw {

namespace {

constexpr size_t kMaxWords = 6;
constexpr size_t kMaxQuotedBytes = 40;
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

std::string Quoted(std::string_view text) { return QuotedText(text, kMaxQuotedBytes); }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Splits a line (its comment already cut) into at most kMaxWords words; the
// count tells when there were more.
size_t SplitWords(std::string_view line, std::string_view* words) {
    size_t count = 0, at = 0;
    while (at < line.size()) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at == line.size()) break;
        const size_t start = at;
        while (at < line.size() && !IsBlank(line[at])) ++at;
        if (count == kMaxWords) return count + 1;
        words[count++] = line.substr(start, at - start);
    }
    return count;
}

bool ParseNumber(std::string_view text, uint64_t highest, uint64_t& out) {
    return ParseDecimal(std::string(text), highest, out);
}

// A stored settings value as its text would be read: an optional minus and
// digits, at most kMaxReplayValueChars characters in all.
bool ParseStoredValue(std::string_view text, int32_t& out) {
    const bool negative = !text.empty() && text[0] == '-';
    uint64_t magnitude = 0;
    if (text.size() > kMaxReplayValueChars ||
        !ParseNumber(text.substr(negative ? 1 : 0), 999999999, magnitude))
        return false;
    out = static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude));
    return true;
}

}  // namespace

bool ReplayReader::Fail(const std::string& what) {
    if (error_.empty()) error_ = "replay line " + std::to_string(lineNumber_) + ": " + what;
    return false;
}

ReplayReader::Line ReplayReader::ReadLine(std::string& line) {
    line.clear();
    int c = in_.Get();
    if (c < 0) return Line::Finished;
    ++lineNumber_;
    for (; c >= 0 && c != '\n'; c = in_.Get()) {
        if (line.size() == kMaxLineBytes) {
            Fail("longer than " + std::to_string(kMaxLineBytes) + " bytes");
            return Line::Failed;
        }
        if (c == '\0') {
            Fail("contains a NUL byte");
            return Line::Failed;
        }
        line.push_back(static_cast<char>(c));
    }
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    return Line::Text;
}

bool ReplayReader::ReadHeaderLine(const std::string& name, const std::string* value, ReplayHeader& header) {
    if (name == "seed") {
        uint64_t seed = 0;
        if (value == nullptr || !ParseDecimal(*value, std::numeric_limits<uint32_t>::max(), seed))
            return Fail("expected 'seed N' with N from 0 to 4294967295");
        if (header.seed) return Fail("the seed must come once, before the events");
        header.seed = static_cast<uint32_t>(seed);
        return true;
    }
    std::optional<int32_t>& slot = name == "score"   ? header.score
                                   : name == "level" ? header.level
                                                     : header.autoOff;
    int32_t number = 0;
    if (value == nullptr || !ParseStoredValue(*value, number))
        return Fail("expected '" + name + " N' with N a whole number of at most " +
                    std::to_string(kMaxReplayValueChars) + " characters");
    if (slot) return Fail("'" + name + "' must come once, before the events");
    slot = number;
    return true;
}

bool ReplayReader::ParseEvent(const std::string* w, size_t count, ReplayEvent& event) {
    uint64_t at = 0;
    if (count < 3 || !ParseDecimal(w[1], std::numeric_limits<uint32_t>::max(), at))
        return Fail("expected 'at T down|move|up X Y' or 'at T end'");
    if (at < lastAt_) return Fail("time goes backwards");
    event = ReplayEvent{};
    event.at = static_cast<uint32_t>(at);
    if (w[2] == "end") {
        if (count != 3) return Fail("'end' takes no coordinates");
        event.type = ReplayEvent::Type::End;
    } else {
        if (w[2] == "down")
            event.type = ReplayEvent::Type::Down;
        else if (w[2] == "move")
            event.type = ReplayEvent::Type::Move;
        else if (w[2] == "up")
            event.type = ReplayEvent::Type::Up;
        else
            return Fail("unknown event " + Quoted(w[2]));
        uint64_t x = 0, y = 0;
        if (count != 5 || !ParseDecimal(w[3], 239, x) || !ParseDecimal(w[4], 319, y))
            return Fail("expected coordinates X from 0 to 239 and Y from 0 to 319");
        event.x = static_cast<int32_t>(x);
        event.y = static_cast<int32_t>(y);
    }
    lastAt_ = event.at;
    return true;
}

// Reads lines up to the next event. Header records are taken only while
// header is given.
ReplayReader::Line ReplayReader::ReadRecord(ReplayHeader* header, ReplayEvent& event) {
    std::string line;
    std::string_view views[kMaxWords];
    std::string words[kMaxWords];
    for (;;) {
        const Line got = ReadLine(line);
        if (got != Line::Text) return got;
        const size_t count = SplitWords(line, views);
        if (count == 0) continue;
        if (count > kMaxWords) {
            Fail("too many words");
            return Line::Failed;
        }
        for (size_t i = 0; i < count; ++i) words[i] = std::string(views[i]);
        const std::string& name = words[0];
        if (name == "at") return ParseEvent(words, count, event) ? Line::Text : Line::Failed;
        if (name == "seed" || name == "score" || name == "level" || name == "auto") {
            if (header == nullptr) {
                Fail("'" + name + "' must come once, before the events");
                return Line::Failed;
            }
            if (!ReadHeaderLine(name, count == 2 ? &words[1] : nullptr, *header)) return Line::Failed;
            continue;
        }
        Fail("unknown record " + Quoted(name));
        return Line::Failed;
    }
}

bool ReplayReader::ReadHeader(ReplayHeader& header) {
    header = ReplayHeader{};
    std::string line;
    std::string_view words[kMaxWords];
    for (;;) {
        const Line got = ReadLine(line);
        if (got == Line::Failed) return false;
        if (got == Line::Finished) {
            error_ = "replay: empty file, expected 'pivotwarden-replay 1'";
            return false;
        }
        // A byte order mark, as some editors put before UTF-8 text, is no
        // part of the first line.
        if (lineNumber_ == 1 && line.rfind(kUtf8Mark, 0) == 0) line.erase(0, sizeof kUtf8Mark - 1);
        const size_t count = SplitWords(line, words);
        if (count == 0) continue;
        if (count != 2 || words[0] != "pivotwarden-replay") return Fail("expected 'pivotwarden-replay 1'");
        if (words[1] != "1") return Fail("unsupported replay version " + Quoted(words[1]));
        break;
    }
    ReplayEvent event;
    const Line got = ReadRecord(&header, event);
    if (got == Line::Failed) return false;
    if (got == Line::Text) first_ = event;
    headerRead_ = true;
    return true;
}

bool ReplayReader::Next(ReplayEvent& event) {
    if (ended_ || !error_.empty()) return false;
    if (!headerRead_) {
        ReplayHeader ignored;
        if (!ReadHeader(ignored)) return false;
    }
    ReplayEvent next;
    Line got = Line::Text;
    if (first_) {
        next = *first_;
        first_.reset();
    } else {
        got = ReadRecord(nullptr, next);
        if (got == Line::Failed) return false;
    }
    if (got == Line::Finished) {
        // A recording cut short (a killed game) has no end of its own.
        next = ReplayEvent{};
        next.at = lastAt_ > std::numeric_limits<uint32_t>::max() - kReplayTailMs
                      ? std::numeric_limits<uint32_t>::max()
                      : lastAt_ + kReplayTailMs;
    } else if (next.type == ReplayEvent::Type::End) {
        ReplayEvent after;
        const Line rest = ReadRecord(nullptr, after);
        if (rest == Line::Failed) return false;
        if (rest == Line::Text) return Fail("nothing may follow 'end'");
    }
    if (next.type == ReplayEvent::Type::End) ended_ = true;
    event = next;
    return true;
}

}  // namespace pw
