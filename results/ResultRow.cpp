#include "results/ResultRow.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace pw {

const char kResultsHeader[] = "date,level,balancing,answer,moves,par,clears,hint,seconds,finished,set\n";

bool ResultRow::operator==(const ResultRow& o) const {
    return when.year == o.when.year && when.month == o.when.month && when.day == o.when.day &&
           when.hour == o.when.hour && when.minute == o.when.minute && when.second == o.when.second &&
           level == o.level && balancingPoints == o.balancingPoints && answerPoints == o.answerPoints &&
           moves == o.moves && par == o.par && clears == o.clears && hint == o.hint && tenths == o.tenths &&
           finished == o.finished && set == o.set;
}

std::string FormatResultRow(const ResultRow& r) {
    char head[160];
    std::snprintf(head, sizeof head, "%04d-%02d-%02d %02d:%02d:%02d,%d,%d,%d,%d,%d,%d,%d,", r.when.year,
                  r.when.month, r.when.day, r.when.hour, r.when.minute, r.when.second, r.level,
                  r.balancingPoints, r.answerPoints, r.moves, r.par, r.clears, r.hint ? 1 : 0);
    std::string line = head;
    if (r.tenths) line += std::to_string(*r.tenths / 10) + "." + std::to_string(*r.tenths % 10);
    line += r.finished ? ",1," : ",0,";
    line += r.set;
    line += '\n';
    return line;
}

namespace {

// A whole non-negative decimal number of at most 9 digits.
bool Number(const std::string& text, int32_t& value) {
    if (text.empty() || text.size() > 9) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

bool Fixed(const std::string& text, size_t at, size_t length, int& value) {
    int32_t v = 0;
    if (!Number(text.substr(at, length), v)) return false;
    value = v;
    return true;
}

bool DateOf(const std::string& text, DateTime& when) {
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
        text[16] != ':')
        return false;
    return Fixed(text, 0, 4, when.year) && Fixed(text, 5, 2, when.month) && Fixed(text, 8, 2, when.day) &&
           Fixed(text, 11, 2, when.hour) && Fixed(text, 14, 2, when.minute) &&
           Fixed(text, 17, 2, when.second) && when.month >= 1 && when.month <= 12 && when.day >= 1 &&
           when.day <= 31;
}

bool SetName(const std::string& text) {
    for (char c : text)
        if (!((c >= '0' && c <= '9') || c == '-')) return false;
    return text.size() <= 16;
}

}  // namespace

bool ParseResultRow(const std::string& line, ResultRow& row) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    if (fields.size() != 11) return false;
    ResultRow r;
    int32_t hint = 0, finished = 0;
    if (!DateOf(fields[0], r.when) || !Number(fields[1], r.level) || !Number(fields[2], r.balancingPoints) ||
        !Number(fields[3], r.answerPoints) || !Number(fields[4], r.moves) || !Number(fields[5], r.par) ||
        !Number(fields[6], r.clears) || !Number(fields[7], hint) || hint > 1 ||
        !Number(fields[9], finished) || finished > 1 || !SetName(fields[10]))
        return false;
    r.hint = hint == 1;
    r.finished = finished == 1;
    const std::string& seconds = fields[8];
    if (!seconds.empty()) {
        const size_t dot = seconds.find('.');
        int32_t whole = 0, tenth = 0;
        if (dot == std::string::npos || dot + 2 != seconds.size() || !Number(seconds.substr(0, dot), whole) ||
            !Number(seconds.substr(dot + 1), tenth) || whole > 9999999)
            return false;
        r.tenths = whole * 10 + tenth;
    }
    r.set = fields[10];
    row = r;
    return true;
}

}  // namespace pw
