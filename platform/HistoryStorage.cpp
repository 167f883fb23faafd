#include "platform/HistoryStorage.h"

#include <algorithm>

namespace pw {

namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr size_t kByteOrderMarkLength = sizeof kByteOrderMark - 1;

}  // namespace

size_t HeaderLength(const std::string& text, const std::string& header) {
    size_t at = text.compare(0, kByteOrderMarkLength, kByteOrderMark) == 0 ? kByteOrderMarkLength : 0;
    const size_t line = header.size() - 1;  // without its newline
    if (text.compare(at, line, header, 0, line) != 0) return 0;
    at += line;
    if (at < text.size() && text[at] == '\r') ++at;
    return at < text.size() && text[at] == '\n' ? at + 1 : 0;
}

size_t HistoryEnding::HeadBytes(const std::string& header) {
    return kByteOrderMarkLength + header.size() + 1;  // and a carriage return
}

HistoryEnding HistoryEnding::Of(uint64_t length, const std::string& head, const std::string& tail,
                                const std::string& header) {
    HistoryEnding ending;
    ending.withHeader = true;
    if (length == 0) return ending;
    // A first write torn in its header holds no rows: it is written again.
    if (length == head.size() && head.find('\n') == std::string::npos &&
        header.compare(0, head.size(), head) == 0)
        return ending;
    ending.withHeader = false;
    if (HeaderLength(head, header) == 0) {
        ending.history = false;
        return ending;
    }
    const size_t newline = tail.rfind('\n');
    if (newline == std::string::npos) {
        // A last line longer than any row is no torn row.
        ending.history = false;
        return ending;
    }
    ending.keep = length - tail.size() + newline + 1;
    return ending;
}

HistoryEnding HistoryEnding::Of(const std::string& text, const std::string& header) {
    const size_t tail = std::min(text.size(), kTailBytes);
    return Of(text.size(), text.substr(0, HeadBytes(header)), text.substr(text.size() - tail), header);
}

bool AppendToLockedHistory(LockedHistoryFile& file, size_t headerLength, const std::string& bytes,
                           std::string& reason) {
    uint64_t length = 0;
    if (!file.Length(length, reason)) return false;
    const std::string header = bytes.substr(0, headerLength);
    const size_t headLength =
        static_cast<size_t>(std::min<uint64_t>(length, HistoryEnding::HeadBytes(header)));
    const size_t tailLength = static_cast<size_t>(std::min<uint64_t>(length, HistoryEnding::kTailBytes));
    std::string head, tail;
    if (!file.ReadAt(0, headLength, head, reason) ||
        !file.ReadAt(length - tailLength, tailLength, tail, reason))
        return false;
    const HistoryEnding ending = HistoryEnding::Of(length, head, tail, header);
    if (!ending.history) {
        reason = HistoryEnding::kNoHistory;
        return false;
    }
    // Only a torn last line is cut: every whole row stays, whoever wrote it.
    if (ending.keep < length && !file.Truncate(ending.keep, reason)) return false;
    const size_t from = ending.withHeader ? 0 : headerLength;
    const size_t size = bytes.size() - from;
    size_t put = 0;
    const bool wrote = file.WriteAtEnd(bytes.data() + from, size, put, reason);
    if (wrote && put == size) return true;
    if (wrote) reason = "the disk is full";
    // A short write is taken back, so the file stays whole rows.
    std::string ignored;
    if (put > 0 && !file.Truncate(ending.keep, ignored)) reason += " (a torn row is left)";
    return false;
}

bool HistoryStorage::Rewrite(const Edit& edit, std::string& reason) {
    const Loaded loaded = Load();
    if (loaded.state == State::Unreachable) {
        reason = loaded.reason;
        return false;
    }
    std::string replacement;
    return edit(loaded.bytes, replacement, reason) && Replace(replacement, reason);
}

bool HistoryStorage::SavePage(const std::string&, const std::string&, std::string& reason) {
    reason = "no page is written from this history";
    return false;
}

bool MemoryHistoryStorage::Append(size_t headerLength, const std::string& bytes, std::string& reason) {
    const HistoryEnding ending =
        HistoryEnding::Of(present ? text : std::string(), bytes.substr(0, headerLength));
    if (!ending.history) {
        reason = HistoryEnding::kNoHistory;
        return false;
    }
    text.resize(static_cast<size_t>(ending.keep));
    text += ending.withHeader ? bytes : bytes.substr(headerLength);
    present = true;
    return true;
}

}  // namespace pw
