#include "results/ResultsHistory.h"

#include <cstring>

#include "results/ProgressPage.h"

namespace pw {

namespace {

const char kNotKept[] = "; results are not kept";

// Calls row(begin, end) with each whole line below the header, without its
// line ending; a torn last line is left out. False when text is no history
// or row says a line is no row.
template <typename Row>
bool EachLine(const std::string& text, Row row) {
    const HistoryEnding ending = HistoryEnding::Of(text, kResultsHeader);
    if (!ending.history) return false;
    if (ending.withHeader) return true;  // nothing, or a torn header
    const size_t whole = static_cast<size_t>(ending.keep);
    for (size_t at = HeaderLength(text, kResultsHeader); at < whole;) {
        const size_t end = text.find('\n', at);
        const size_t lineEnd = end > at && text[end - 1] == '\r' ? end - 1 : end;
        if (!row(at, lineEnd)) return false;
        at = end + 1;
    }
    return true;
}

size_t LineCount(const char* text, size_t length) {
    size_t lines = 0;
    for (const char* end = text + length;; ++text, ++lines) {
        text = static_cast<const char*>(std::memchr(text, '\n', static_cast<size_t>(end - text)));
        if (text == nullptr) return lines;
    }
}

}  // namespace

bool ResultsHistory::Parse(const std::string& text, std::vector<ResultRow>& rows) {
    rows.clear();
    ResultRow row;
    const bool parsed = EachLine(text, [&](size_t begin, size_t end) {
        if (!ParseResultRow(text.substr(begin, end - begin), row)) return false;
        rows.push_back(row);
        return true;
    });
    if (!parsed) rows.clear();
    return parsed;
}

void ResultsHistory::SayOnce(const std::string& message) {
    if (said_) return;
    said_ = true;
    if (say_) say_(message);
}

std::string ResultsHistory::CannotRead(const std::string& reason) const {
    return "the results history '" + storage_.Where() + "' cannot be read (" + reason + ")";
}

std::string ResultsHistory::NoHistory() const {
    return "'" + storage_.Where() + "' is not a results history; it is left as it is";
}

void ResultsHistory::Refuse(const std::string& problem) {
    usable_ = false;
    problem_ = problem;
    SayOnce(problem + kNotKept);
}

bool ResultsHistory::Open() {
    if (opened_) return usable_;
    opened_ = true;
    const HistoryStorage::Loaded loaded = storage_.Load();
    if (loaded.state == HistoryStorage::State::Unreachable) {
        Refuse(CannotRead(loaded.reason));
        return false;
    }
    // Only the header and the end are looked at, and the lines counted: the
    // rows themselves are read when they are needed.
    const HistoryEnding ending = HistoryEnding::Of(loaded.bytes, kResultsHeader);
    if (!ending.history) {
        Refuse(NoHistory());
        return false;
    }
    rows_ = ending.withHeader ? 0 : LineCount(loaded.bytes.data(), static_cast<size_t>(ending.keep)) - 1;
    usable_ = true;
    return true;
}

std::vector<ResultRow> ResultsHistory::Read() {
    std::vector<ResultRow> rows;
    if (!Open()) return rows;
    problem_.clear();
    const HistoryStorage::Loaded loaded = storage_.Load();
    if (loaded.state == HistoryStorage::State::Unreachable) {
        problem_ = CannotRead(loaded.reason);
        SayOnce(problem_);
    } else if (loaded.state == HistoryStorage::State::Stored && !Parse(loaded.bytes, rows)) {
        Refuse(NoHistory());
    }
    return rows;
}

bool ResultsHistory::Append(const ResultRow& row) {
    if (!Open()) return false;
    const std::string line = FormatResultRow(row);
    if (rows_ + 1 > kMaxRows) return Trim(line);
    // The header goes along with every row, for a history deleted or never
    // written; the storage writes it only where the text holds none.
    std::string reason;
    if (!storage_.Append(std::strlen(kResultsHeader), kResultsHeader + line, reason)) {
        SayOnce("cannot write the results history '" + storage_.Where() + "': " + reason);
        return false;
    }
    ++rows_;
    return true;
}

// The oldest rows go, all in one rewrite, which reads every row once: a line
// that is no row leaves the text as it is.
bool ResultsHistory::Trim(const std::string& line) {
    size_t kept = 0;
    bool noHistory = false;
    const auto edit = [&](const std::string& text, std::string& replacement, std::string& reason) {
        std::vector<std::pair<size_t, size_t>> lines;
        ResultRow row;
        if (!EachLine(text, [&](size_t begin, size_t end) {
                lines.emplace_back(begin, end);
                return ParseResultRow(text.substr(begin, end - begin), row);
            })) {
            noHistory = true;
            reason = HistoryEnding::kNoHistory;
            return false;
        }
        const size_t first = lines.size() + 1 > kTrimTo ? lines.size() + 1 - kTrimTo : 0;
        replacement = kResultsHeader;
        replacement.reserve(text.size());
        for (size_t i = first; i < lines.size(); ++i)
            replacement.append(text, lines[i].first, lines[i].second - lines[i].first).push_back('\n');
        replacement += line;
        kept = lines.size() - first + 1;
        return true;
    };
    std::string reason;
    if (!storage_.Rewrite(edit, reason)) {
        if (noHistory)
            Refuse(NoHistory());
        else
            SayOnce("cannot write the results history '" + storage_.Where() + "': " + reason);
        return false;
    }
    rows_ = kept;
    return true;
}

bool ResultsHistory::WriteView(const std::string& path, const DateTime& today, std::string& reason) {
    const std::vector<ResultRow> rows = Read();
    return storage_.SavePage(path, ProgressPage(rows, today, problem_), reason);
}

}  // namespace pw
