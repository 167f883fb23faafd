#include "results/ResultsHistory.h"

#include <cstring>

namespace pw {

bool ResultsHistory::Parse(const std::string& text, std::vector<ResultRow>& rows, size_t* wholeLength) {
    rows.clear();
    const size_t headerLength = std::strlen(kResultsHeader);
    if (text.compare(0, headerLength, kResultsHeader) != 0) {
        // A header torn by a crash on the very first write holds no rows.
        if (text.size() < headerLength && text.find('\n') == std::string::npos &&
            std::string(kResultsHeader).compare(0, text.size(), text) == 0) {
            if (wholeLength != nullptr) *wholeLength = 0;
            return true;
        }
        return false;
    }
    size_t at = headerLength;
    ResultRow row;
    for (;;) {
        const size_t end = text.find('\n', at);
        if (end == std::string::npos) break;  // a torn last line, or nothing
        if (!ParseResultRow(text.substr(at, end - at), row)) return false;
        rows.push_back(row);
        at = end + 1;
    }
    if (wholeLength != nullptr) *wholeLength = at;
    return true;
}

void ResultsHistory::SayOnce(const std::string& message) {
    if (said_) return;
    said_ = true;
    if (say_) say_(message);
}

bool ResultsHistory::Open() {
    if (opened_) return usable_;
    opened_ = true;
    const HistoryStorage::Loaded loaded = storage_.Load();
    if (loaded.state == HistoryStorage::State::Unreachable) {
        SayOnce("the results history '" + storage_.Where() + "' cannot be read (" + loaded.reason +
                "); results are not kept");
        return false;
    }
    std::vector<ResultRow> rows;
    if (loaded.state == HistoryStorage::State::Stored && !Parse(loaded.bytes, rows, &whole_)) {
        SayOnce("'" + storage_.Where() +
                "' is not a results history; it is left as it is and results are not kept");
        return false;
    }
    rows_ = rows.size();
    usable_ = true;
    return true;
}

std::vector<ResultRow> ResultsHistory::Read() {
    std::vector<ResultRow> rows;
    if (!Open()) return rows;
    const HistoryStorage::Loaded loaded = storage_.Load();
    if (loaded.state == HistoryStorage::State::Stored) Parse(loaded.bytes, rows);
    return rows;
}

bool ResultsHistory::Append(const ResultRow& row) {
    if (!Open()) return false;
    std::string reason;
    const std::string line = FormatResultRow(row);
    if (rows_ + 1 > kMaxRows) {
        // The oldest rows go, all in one rewrite.
        std::vector<ResultRow> rows;
        const HistoryStorage::Loaded loaded = storage_.Load();
        if (loaded.state != HistoryStorage::State::Stored || !Parse(loaded.bytes, rows)) {
            usable_ = false;
            SayOnce("the results history '" + storage_.Where() +
                    "' changed under the game; results are not kept");
            return false;
        }
        std::string text = kResultsHeader;
        const size_t first = rows.size() + 1 > kTrimTo ? rows.size() + 1 - kTrimTo : 0;
        for (size_t i = first; i < rows.size(); ++i) text += FormatResultRow(rows[i]);
        text += line;
        if (!storage_.Replace(text, reason)) {
            SayOnce("cannot write the results history '" + storage_.Where() + "': " + reason);
            return false;
        }
        rows_ = rows.size() - first + 1;
        whole_ = text.size();
        return true;
    }
    // The first row of a new history brings the header in the same write.
    const std::string bytes = whole_ == 0 ? std::string(kResultsHeader) + line : line;
    if (!storage_.Append(whole_, bytes, reason)) {
        SayOnce("cannot write the results history '" + storage_.Where() + "': " + reason);
        return false;
    }
    whole_ += bytes.size();
    ++rows_;
    return true;
}

}  // namespace pw
