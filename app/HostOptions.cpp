#include "app/HostOptions.h"

#include "text/DecimalText.h"
#include "text/QuotedText.h"

namespace pw {

namespace {

bool SetScale(const std::string& text, HostOptions& options) {
    uint64_t n = 0;
    if (!ParseDecimal(text, 8, n) || n < 1) return false;
    options.scale = static_cast<int>(n);
    return true;
}

bool SetSeed(const std::string& text, HostOptions& options) {
    uint64_t n = 0;
    if (!ParseDecimal(text, 4294967295u, n)) return false;
    options.seed = static_cast<uint32_t>(n);
    return true;
}

// One option: its name, the name of its value (none for a switch), its help
// and where it goes. Parsing and the help are both read from this table, so
// that an option cannot be known to one and missing from the other.
struct OptionEntry {
    const char* name;
    const char* value;  // null: a switch
    // The help, lines joined by '\n'; each line after the first is indented
    // under the first.
    const char* help;
    bool HostOptions::*flag;
    std::string HostOptions::*text;
    bool (*number)(const std::string& text, HostOptions& options);
    const char* expected;  // what a number must be, for its message
};

const OptionEntry kOptions[] = {
    {"--scale", "N", "window scale factor, 1 to 8 (default 2)", nullptr, nullptr, SetScale,
     "a whole number from 1 to 8"},
    {"--fullscreen", nullptr, "full screen, scaled to fit", &HostOptions::fullscreen, nullptr, nullptr,
     nullptr},
    {"--no-bar", nullptr,
     "the window shows the game alone, without the bar of the\nlevel, Sound, How to play and Progress below "
     "it",
     &HostOptions::noBar, nullptr, nullptr, nullptr},
    {"--headless", nullptr, "no window and no audio device", &HostOptions::headless, nullptr, nullptr,
     nullptr},
    {"--seed", "N", "seed the random puzzles with N instead of the date and time", nullptr, nullptr, SetSeed,
     "a whole number from 0 to 4294967295"},
    {"--record", "FILE", "write the seed and every stylus event to FILE", nullptr, &HostOptions::recordPath,
     nullptr, nullptr},
    {"--replay", "FILE", "play FILE back on a virtual clock and exit", nullptr, &HostOptions::replayPath,
     nullptr, nullptr},
    {"--screenshot", "FILE", "when the run ends, write what the window shows as a PNG", nullptr,
     &HostOptions::screenshotPath, nullptr, nullptr},
    {"--dump", "FILE", "when the run ends, write the current screen's state as JSON", nullptr,
     &HostOptions::dumpPath, nullptr, nullptr},
    {"--describe", "FILE",
     "write what happens in the game to FILE as it happens, one\nline of plain English each ($STDOUT for a "
     "speech tool)",
     nullptr, &HostOptions::describePath, nullptr, nullptr},
    {"--set", "SEED-LEVEL",
     "play a puzzle set, as in --set 4711-6: the same puzzles in\nthe same order for everyone, at that "
     "level, "
     "automatic\nlevelling off, on settings of its own (the player's\nscore and level are untouched)",
     nullptr, &HostOptions::setText, nullptr, nullptr},
    {"--progress", "FILE",
     "write the progress view (an HTML page drawn from the\nresults history) to FILE and exit", nullptr,
     &HostOptions::progressPath, nullptr, nullptr},
    {"--history", "FILE",
     "keep the results history in FILE instead of the\nplayer's, also with --headless and --replay (for "
     "tests)",
     nullptr, &HostOptions::historyPath, nullptr, nullptr},
    {"--version", nullptr, "print the version and exit", &HostOptions::showVersion, nullptr, nullptr,
     nullptr},
    {"--help", nullptr, "print this help and exit", &HostOptions::showHelp, nullptr, nullptr, nullptr},
};

const OptionEntry* Find(const std::string& name) {
    // -h is the one short spelling, as most programs take it.
    const std::string wanted = name == "-h" ? "--help" : name;
    for (const OptionEntry& option : kOptions)
        if (wanted == option.name) return &option;
    return nullptr;
}

// Pairs that cannot both be honoured are refused rather than one of them
// dropped in silence.
bool Consistent(const HostOptions& options, std::string& error) {
    if (!options.recordPath.empty() && !options.replayPath.empty())
        error = "--record and --replay cannot be used together";
    else if (!options.setText.empty() && !options.replayPath.empty())
        error = "--set and --replay cannot be used together: a replay names its own seed and settings";
    else if (!options.setText.empty() && options.seed)
        error = "--set and --seed cannot be used together: a set's seed is its first number";
    return error.empty();
}

}  // namespace

bool ParseHostOptions(const std::vector<std::string>& args, HostOptions& options, std::string& error) {
    options = HostOptions{};
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        const size_t eq = name.find('=');
        if (name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        const OptionEntry* option = Find(name);
        if (option == nullptr) {
            error = "unknown option " + QuotedText(args[i]) + " (try --help)";
            return false;
        }
        if (option->value == nullptr) {
            if (value) {
                error = "option " + name + " takes no value";
                return false;
            }
            options.*(option->flag) = true;
            continue;
        }
        if (!value && i + 1 < args.size()) value = args[++i];
        if (!value) {
            error = "option " + name + " needs a value";
            return false;
        }
        if (value->empty()) {
            error = "option " + name + " needs a non-empty value";
            return false;
        }
        if (option->number != nullptr && !option->number(*value, options)) {
            error = "bad value " + QuotedText(*value) + " for " + name + ": expected " + option->expected;
            return false;
        }
        if (option->text != nullptr) {
            // Two files for one output would leave one of them unwritten.
            if (!(options.*(option->text)).empty()) {
                error = "option " + name + " given twice";
                return false;
            }
            options.*(option->text) = *value;
        }
    }
    return Consistent(options, error);
}

std::string HostOptionsHelp(const UsagePlaces& places) {
    constexpr size_t kHelpColumn = 21;
    std::string out;
    for (const OptionEntry& option : kOptions) {
        std::string left =
            std::string("  ") + option.name + (option.value != nullptr ? std::string(" ") + option.value : "");
        left.resize(left.size() + 1 < kHelpColumn ? kHelpColumn : left.size() + 1, ' ');
        out += left;
        for (const char* c = option.help; *c != '\0'; ++c) {
            out += *c;
            if (*c == '\n') out += std::string(kHelpColumn, ' ');
        }
        out += '\n';
    }
    // The one system-dependent word in the table.
    const std::string mark = "$STDOUT";
    for (size_t at = out.find(mark); at != std::string::npos; at = out.find(mark, at))
        out.replace(at, mark.size(), places.standardOutput);
    return out;
}

std::string HostUsage(const UsagePlaces& places) {
    return "Usage: pivotwarden [options]\n"
           "A balance-scale arithmetic puzzle game. A balance scale shows grey weights on\n"
           "its pans and a tray of seven yellow numbered weights below it: drag yellow\n"
           "weights onto the pans until the scale is level, and in the harder levels type\n"
           "the number of a hidden weight on the keypad. Fifteen levels build fresh\n"
           "puzzles from random numbers; points shrink with extra moves, and automatic\n"
           "levelling moves the player up or down with the last five results. The mouse,\n"
           "a touch screen or a pen acts as the stylus, and the whole game plays from the\n"
           "keyboard too.\n\n" +
           HostOptionsHelp(places) +
           "\n"
           "Keys (the whole game plays without a pointer):\n"
           "  Enter, Space       on the title: play; in the game: pick up the ringed\n"
           "                     weight, and drop the weight being carried\n"
           "  Left, Right        move the ring over the weights in reading order; while\n"
           "                     carrying, move the weight over the left pan, its tray\n"
           "                     place and the right pan\n"
           "  Tab, Shift+Tab     move the ring to the next or the previous weight\n"
           "  Escape             put the carried weight back where it was picked up;\n"
           "                     otherwise leave full screen\n"
           "  0 to 9             type a digit on the keypad (digit row or numeric keypad)\n"
           "  Backspace, Delete  press the keypad's bin\n"
           "  H                  press the keypad's bulb (the hint)\n"
           "  O                  open the options panel; there Up and Down change the\n"
           "                     level, A ticks Automatic Leveling, R ticks Reset Score\n"
           "                     and Enter presses OK\n"
           "  B                  describe the whole board (with --describe)\n"
           "  F1                 How to play: a short demonstration in the window; any\n"
           "                     press or key ends it and gives the game back as it was\n"
           "  F11                full screen on or off\n"
           "  M                  sound off or on; the choice is kept\n"
           "  P                  open the progress view in the desktop's browser\n"
           "\n"
           "A tap on a weight and then a tap on a pan moves the weight as a drag does.\n"
           "\n"
           "Every puzzle played is kept as one row of the results history,\n" +
           places.history + ";\nreplays and --headless keep none.\n";
}

}  // namespace pw
