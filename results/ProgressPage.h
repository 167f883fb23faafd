#pragma once
// The progress view: one self-contained HTML page drawn from the results
// history, the same bytes on every build. A chart of the last 30 days (bars:
// puzzles balanced each day; a line: the highest level played that day) with
// the days in a table as its text equivalent, and a table per level.
#include <string>
#include <vector>

#include "results/ResultRow.h"

namespace pw {

// today is the last day of the chart. A problem (why the history could not
// be read) is said at the top instead of the count of puzzles.
std::string ProgressPage(const std::vector<ResultRow>& rows, const DateTime& today,
                         const std::string& problem = std::string());

}  // namespace pw
