#pragma once
// The player's results history: every puzzle played, newest last, kept on the
// device. Rows are only ever added, each in one write; a crash mid-write
// leaves a torn last line, which reads as nothing and is cut off before the
// next row. At most kMaxRows are kept: past that, the oldest are dropped in
// one rewrite down to kTrimTo, so that dropping happens once in a thousand
// puzzles rather than on every one.
//
// A text that cannot be read as a history (another header, a line in its
// middle that is no row) is the player's: it is left untouched, nothing more
// is written to it, and the problem is said once. Play goes on.
#include <functional>
#include <string>
#include <vector>

#include "results/ResultRow.h"
#include "platform/HistoryStorage.h"

namespace pw {

class ResultsHistory {
public:
    static constexpr size_t kMaxRows = 50000;
    static constexpr size_t kTrimTo = 49000;

    using Say = std::function<void(const std::string&)>;
    ResultsHistory(HistoryStorage& storage, Say say) : storage_(storage), say_(std::move(say)) {}

    // Reads the rows of text; false when it is no history. A torn last line
    // is skipped.
    static bool Parse(const std::string& text, std::vector<ResultRow>& rows, size_t* wholeLength = nullptr);

    // The rows stored now (empty when there are none or the text is no
    // history, which is said once).
    std::vector<ResultRow> Read();
    // Adds the row; false when it could not be kept (said once).
    bool Append(const ResultRow& row);

private:
    bool Open();
    void SayOnce(const std::string& message);

    HistoryStorage& storage_;
    Say say_;
    bool opened_ = false;
    bool usable_ = false;
    bool said_ = false;
    size_t rows_ = 0;
    size_t whole_ = 0;  // length of the text up to its last whole line
};

}  // namespace pw
