#include "results/PuzzleSet.h"

#include "text/DecimalText.h"
#include "text/QuotedText.h"

namespace pw {

bool ParsePuzzleSet(const std::string& text, PuzzleSet& set, std::string& error) {
    const size_t dash = text.find('-');
    uint64_t seed = 0, level = 0;
    if (dash == std::string::npos || !ParseDecimal(text.substr(0, dash), 4294967295u, seed) ||
        !ParseDecimal(text.substr(dash + 1), 15, level) || level < 1) {
        error = "bad puzzle set " + QuotedText(text) +
                ": expected a seed (0 to 4294967295), a dash and a level (1 to 15), as in 4711-6";
        return false;
    }
    set.seed = static_cast<uint32_t>(seed);
    set.level = static_cast<int32_t>(level);
    return true;
}

}  // namespace pw
