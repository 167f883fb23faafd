#pragma once
// One puzzle of the results history, and its line in the history's text
// (comma-separated, one puzzle a line, under a header line).
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace pw {

struct ResultRow {
    DateTime when;  // local time the puzzle ended
    int32_t level = 0;
    int32_t balancingPoints = 0;
    int32_t answerPoints = 0;
    int32_t moves = 0;
    int32_t par = 0;
    int32_t clears = 0;
    bool hint = false;
    // Tenths of a second from the puzzle's first press to balance; none when
    // it never balanced (or nothing was pressed before).
    std::optional<int32_t> tenths;
    bool finished = false;
    std::string set;  // the puzzle set's name, empty outside a set

    bool operator==(const ResultRow& other) const;
};

extern const char kResultsHeader[];

// The row's line, ending in a newline.
std::string FormatResultRow(const ResultRow& row);
// False when line (without its newline) is not a row as FormatResultRow
// writes it.
bool ParseResultRow(const std::string& line, ResultRow& row);

}  // namespace pw
