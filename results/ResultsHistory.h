#pragma once
// The player's results history: every puzzle played, newest last, kept on the
// device. Rows are only ever added, each in one write; a crash mid-write
// leaves a torn last line, which reads as nothing and is cut off before the
// next row. Another copy of the game may add rows to the same history at the
// same time: every row stays. At most kMaxRows are kept: past that, the
// oldest are dropped in one rewrite down to kTrimTo, so that dropping happens
// once in a thousand puzzles rather than on every one.
//
// Opening the history looks at its header and counts its lines; its rows are
// read only for the progress view and the rewrite. A text that cannot be read
// as a history (another header, a line that is no row) is the player's: it is
// left untouched, nothing more is written to it once that is seen, and the
// problem is said once. Play goes on. A history saved by a spreadsheet (a
// byte-order mark, lines ending in \r\n) is read as the same history.
#include <functional>
#include <string>
#include <vector>

#include "platform/HistoryStorage.h"
#include "results/ResultRow.h"

namespace pw {

class ResultsHistory {
public:
    static constexpr size_t kMaxRows = 50000;
    static constexpr size_t kTrimTo = 49000;

    using Say = std::function<void(const std::string&)>;
    ResultsHistory(HistoryStorage& storage, Say say) : storage_(storage), say_(std::move(say)) {}

    // Reads the rows of text; false when it is no history. A torn last line
    // is skipped.
    static bool Parse(const std::string& text, std::vector<ResultRow>& rows);

    // The rows stored now (empty when there are none or the text is no
    // history, which is said once).
    std::vector<ResultRow> Read();
    // Adds the row; false when it could not be kept (said once).
    bool Append(const ResultRow& row);
    // Writes the progress view drawn from the rows stored now to path; a
    // history that cannot be read gives a view that says why. False, with
    // the reason, when the view cannot be written (path is the history
    // itself, or the file system refuses).
    bool WriteView(const std::string& path, const DateTime& today, std::string& reason);

private:
    bool Open();
    bool Trim(const std::string& line);
    void Refuse(const std::string& problem);
    void SayOnce(const std::string& message);
    std::string CannotRead(const std::string& reason) const;
    std::string NoHistory() const;

    HistoryStorage& storage_;
    Say say_;
    bool opened_ = false;
    bool usable_ = false;
    bool said_ = false;
    // Counted when opened, and added to since; other copies of the game may
    // have added more, which the rewrite finds.
    size_t rows_ = 0;
    std::string problem_;  // why the rows cannot be read, for the view
};

}  // namespace pw
