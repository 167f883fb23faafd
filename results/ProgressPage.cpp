#include "results/ProgressPage.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>

namespace pw {

namespace {

constexpr int kDays = 30;
constexpr int kLevels = 15;

// Days since 1970-01-01 of a civil date (the proleptic Gregorian calendar).
long DayNumber(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::string DateOfDay(long z) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const long d = doy - (153 * mp + 2) / 5 + 1;
    const long m = mp + (mp < 10 ? 3 : -9);
    const long y = yoe + era * 400 + (m <= 2);
    char text[64];
    std::snprintf(text, sizeof text, "%04ld-%02ld-%02ld", y, m, d);
    return text;
}

std::string Fixed1(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

bool Balanced(const ResultRow& r) { return r.finished || r.tenths.has_value(); }

struct Day {
    bool played = false;
    int balanced = 0;
    int highest = 0;  // 0 when no row that day has a level of the game
};

// Text from the history (a path, a reason) as HTML.
std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

struct LevelFigures {
    int puzzles = 0;
    int withinPar = 0;
    int balanced = 0;
    long beyondPar = 0;
    int hints = 0;
    long clears = 0;
    std::vector<int32_t> tenths;
};

// The chart's drawing area inside a 640 × 300 picture.
constexpr int kWidth = 640, kHeight = 300;
constexpr int kLeft = 60, kRight = 580, kTop = 20, kBottom = 240;

std::string Chart(const std::array<Day, kDays>& days, long first) {
    int most = 1;
    for (const Day& d : days) most = std::max(most, d.balanced);
    // A top for the puzzle axis with four even steps.
    int step = (most + 3) / 4;
    const int top = step * 4;
    const double slot = static_cast<double>(kRight - kLeft) / kDays;
    const auto yOfCount = [&](int n) { return kBottom - static_cast<double>(n) * (kBottom - kTop) / top; };
    const auto yOfLevel = [&](int n) {
        return kBottom - static_cast<double>(n) * (kBottom - kTop) / kLevels;
    };
    std::string s;
    s += "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + std::to_string(kWidth) + " " +
         std::to_string(kHeight) +
         "\" role=\"img\" aria-labelledby=\"chart-title\" aria-describedby=\"days\" class=\"chart\">\n";
    s += "<title id=\"chart-title\">Puzzles balanced and highest level, last 30 days</title>\n";
    // Grid and the left axis: puzzles.
    for (int i = 0; i <= 4; ++i) {
        const std::string y = Fixed1(yOfCount(step * i));
        s += "<line x1=\"" + std::to_string(kLeft) + "\" x2=\"" + std::to_string(kRight) + "\" y1=\"" + y +
             "\" y2=\"" + y + "\" class=\"grid\"/>\n";
        s += "<text x=\"" + std::to_string(kLeft - 6) + "\" y=\"" + Fixed1(yOfCount(step * i) + 4) +
             "\" text-anchor=\"end\">" + std::to_string(step * i) + "</text>\n";
    }
    // The right axis: levels.
    for (int level = 0; level <= kLevels; level += 5) {
        s += "<text x=\"" + std::to_string(kRight + 6) + "\" y=\"" + Fixed1(yOfLevel(level) + 4) +
             "\" class=\"level\">" + std::to_string(level) + "</text>\n";
    }
    s += "<line x1=\"" + std::to_string(kLeft) + "\" x2=\"" + std::to_string(kRight) + "\" y1=\"" +
         std::to_string(kBottom) + "\" y2=\"" + std::to_string(kBottom) + "\" class=\"axis\"/>\n";
    // Bars, and the days named every fifth day and on the last.
    for (int i = 0; i < kDays; ++i) {
        const double x = kLeft + slot * i;
        if (days[static_cast<size_t>(i)].balanced > 0) {
            const double y = yOfCount(days[static_cast<size_t>(i)].balanced);
            s += "<rect x=\"" + Fixed1(x + 2) + "\" y=\"" + Fixed1(y) + "\" width=\"" + Fixed1(slot - 4) +
                 "\" height=\"" + Fixed1(kBottom - y) + "\" class=\"bar\"/>\n";
        }
        if (i % 5 == 4 || i == 0) {
            const std::string date = DateOfDay(first + i);
            s += "<text x=\"" + Fixed1(x + slot / 2) + "\" y=\"" + std::to_string(kBottom + 16) +
                 "\" text-anchor=\"middle\">" + date.substr(5) + "</text>\n";
        }
    }
    // The line joins the days played.
    std::string points;
    for (int i = 0; i < kDays; ++i) {
        const Day& d = days[static_cast<size_t>(i)];
        if (d.highest == 0) continue;
        const std::string x = Fixed1(kLeft + slot * i + slot / 2), y = Fixed1(yOfLevel(d.highest));
        points += (points.empty() ? "" : " ") + x + "," + y;
        s += "<circle cx=\"" + x + "\" cy=\"" + y + "\" r=\"3.5\" class=\"dot\"/>\n";
    }
    if (!points.empty()) s += "<polyline points=\"" + points + "\" class=\"line\"/>\n";
    s += "<text x=\"" + std::to_string((kLeft + kRight) / 2) + "\" y=\"" + std::to_string(kHeight - 12) +
         "\" text-anchor=\"middle\" class=\"title\">Day (month-day)</text>\n";
    s += "<text transform=\"translate(16 " + std::to_string((kTop + kBottom) / 2) +
         ") rotate(-90)\" text-anchor=\"middle\" class=\"title\">Balanced (bars)</text>\n";
    s += "<text transform=\"translate(" + std::to_string(kWidth - 14) + " " +
         std::to_string((kTop + kBottom) / 2) +
         ") rotate(90)\" text-anchor=\"middle\" class=\"title\">Top level (line)</text>\n";
    s += "</svg>\n";
    return s;
}

const char kHead[] =
    "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
    // The site's policy (platform/web/site/content-security-policy): the page
    // runs no script, whether shown in the game's frame or opened alone.
    "<meta http-equiv=\"Content-Security-Policy\" content=\"script-src 'self' 'wasm-unsafe-eval'; "
    "object-src 'none'; base-uri 'none'; form-action 'none'; connect-src 'self'; img-src 'self' data: blob:\">\n"
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
    "<title>Pivotwarden progress</title>\n<style>\n"
    "body{font-family:sans-serif;margin:1em;color:#1a1a1a;background:#fff;max-width:52em}\n"
    "h1{font-size:1.4em}h2{font-size:1.15em;margin-top:1.5em}\n"
    ".chart{width:100%;height:auto;max-width:640px;font-size:13px}\n"
    ".chart text{fill:#1a1a1a}.chart .title{font-weight:bold}\n"
    ".grid{stroke:#ddd}.axis{stroke:#1a1a1a}.bar{fill:#3a78c2}\n"
    ".line{fill:none;stroke:#b3261e;stroke-width:2.5}.dot{fill:#b3261e}\n"
    ".key-bar{color:#3a78c2}.key-line{color:#b3261e}\n"
    "table{border-collapse:collapse;margin:.5em 0}th,td{border:1px solid #999;padding:.25em "
    ".5em;text-align:right}\n"
    "th{background:#eee}caption{text-align:left;font-weight:bold;padding:.25em 0}\n"
    ".scroll{overflow-x:auto}th[scope=row]{white-space:nowrap}\n"
    "@media (max-width:500px){.chart{font-size:17px}body{margin:.5em}}\n"
    "</style>\n</head>\n<body>\n<main>\n<h1>Pivotwarden progress</h1>\n";

}  // namespace

std::string ProgressPage(const std::vector<ResultRow>& rows, const DateTime& today,
                         const std::string& problem) {
    const long last = DayNumber(today.year, today.month, today.day);
    const long first = last - (kDays - 1);
    std::array<Day, kDays> days{};
    std::array<LevelFigures, kLevels + 1> levels{};
    for (const ResultRow& r : rows) {
        const long day = DayNumber(r.when.year, r.when.month, r.when.day);
        if (day >= first && day <= last) {
            Day& d = days[static_cast<size_t>(day - first)];
            d.played = true;
            if (Balanced(r)) ++d.balanced;
            // A level the game has not (a row edited by hand) draws nothing.
            if (r.level <= kLevels) d.highest = std::max(d.highest, static_cast<int>(r.level));
        }
        if (r.level < 1 || r.level > kLevels) continue;
        LevelFigures& f = levels[static_cast<size_t>(r.level)];
        ++f.puzzles;
        if (Balanced(r)) {
            ++f.balanced;
            if (r.moves <= r.par) ++f.withinPar;
            f.beyondPar += std::max(0, r.moves - r.par);
        }
        if (r.hint) ++f.hints;
        f.clears += r.clears;
        if (r.tenths) f.tenths.push_back(*r.tenths);
    }

    std::string s = kHead;
    s += problem.empty() ? "<p>" + std::to_string(rows.size()) + (rows.size() == 1 ? " puzzle" : " puzzles") +
                               " in the history. "
                         : "<p><strong>No puzzles can be shown:</strong> " + Escaped(problem) + ". ";
    s += "Last 30 days: " + DateOfDay(first) + " to " + DateOfDay(last) +
         ". <span class=\"key-bar\">&#9632;</span> bars: puzzles balanced that day; "
         "<span class=\"key-line\">&#9679;</span> line: highest level played that day.</p>\n";
    s += "<h2>Last 30 days</h2>\n" + Chart(days, first);
    s += "<div class=\"scroll\"><table id=\"days\">\n<caption>Day by day (days played)</caption>\n"
         "<tr><th scope=\"col\">Day</th><th scope=\"col\">Puzzles balanced</th><th scope=\"col\">Highest "
         "level</th></tr>\n";
    bool anyDay = false;
    for (int i = 0; i < kDays; ++i) {
        const Day& d = days[static_cast<size_t>(i)];
        if (!d.played) continue;
        anyDay = true;
        s += "<tr><th scope=\"row\">" + DateOfDay(first + i) + "</th><td>" + std::to_string(d.balanced) +
             "</td><td>" + (d.highest == 0 ? "&ndash;" : std::to_string(d.highest)) + "</td></tr>\n";
    }
    if (!anyDay) s += "<tr><td colspan=\"3\">No puzzles in the last 30 days.</td></tr>\n";
    s += "</table></div>\n";

    s += "<h2>By level</h2>\n<div class=\"scroll\"><table id=\"levels\">\n<caption>Every puzzle in the "
         "history, "
         "by level</caption>\n<tr><th scope=\"col\">Level</th><th scope=\"col\">Puzzles</th><th "
         "scope=\"col\">Balanced within par</th><th scope=\"col\">Average moves beyond par</th><th "
         "scope=\"col\">Hints</th><th scope=\"col\">Keypad clears</th><th scope=\"col\">Median "
         "seconds</th></tr>\n";
    bool anyLevel = false;
    for (int level = 1; level <= kLevels; ++level) {
        LevelFigures& f = levels[static_cast<size_t>(level)];
        if (f.puzzles == 0) continue;
        anyLevel = true;
        std::string median = "&ndash;";
        if (!f.tenths.empty()) {
            std::sort(f.tenths.begin(), f.tenths.end());
            const size_t n = f.tenths.size();
            const double tenths =
                n % 2 == 1 ? f.tenths[n / 2] : (f.tenths[n / 2 - 1] + f.tenths[n / 2]) / 2.0;
            median = Fixed1(tenths / 10.0);
        }
        const std::string beyond =
            f.balanced == 0 ? "&ndash;" : Fixed1(static_cast<double>(f.beyondPar) / f.balanced);
        s += "<tr><th scope=\"row\">" + std::to_string(level) + "</th><td>" + std::to_string(f.puzzles) +
             "</td><td>" + std::to_string(f.withinPar) + "</td><td>" + beyond + "</td><td>" +
             std::to_string(f.hints) + "</td><td>" + std::to_string(f.clears) + "</td><td>" + median +
             "</td></tr>\n";
    }
    if (!anyLevel) s += "<tr><td colspan=\"7\">No puzzles yet.</td></tr>\n";
    s += "</table></div>\n</main>\n</body>\n</html>\n";
    return s;
}

}  // namespace pw
