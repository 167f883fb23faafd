#include "app/HostOptions.h"

#include "text/DecimalText.h"
#include "text/QuotedText.h"

namespace pw {

bool ParseHostOptions(const std::vector<std::string>& args, HostOptions& options, std::string& error) {
    options = HostOptions{};
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool inlineValue = false;
        const size_t eq = name.find('=');
        if (name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            inlineValue = true;
        }
        auto takeValue = [&](std::string& out) {
            if (!out.empty()) {
                // Two files for one output would leave one of them unwritten.
                error = "option " + name + " given twice";
                return false;
            }
            if (inlineValue) {
                out = value;
            } else if (i + 1 < args.size()) {
                out = args[++i];
            } else {
                error = "option " + name + " needs a value";
                return false;
            }
            if (out.empty()) {
                error = "option " + name + " needs a non-empty value";
                return false;
            }
            return true;
        };
        auto noValue = [&]() {
            if (!inlineValue) return true;
            error = "option " + name + " takes no value";
            return false;
        };
        if (name == "--scale") {
            std::string text;
            uint64_t n = 0;
            if (!takeValue(text)) return false;
            if (!ParseDecimal(text, 8, n) || n < 1) {
                error = "bad value " + QuotedText(text) + " for --scale: expected a whole number from 1 to 8";
                return false;
            }
            options.scale = static_cast<int>(n);
        } else if (name == "--seed") {
            std::string text;
            uint64_t n = 0;
            if (!takeValue(text)) return false;
            if (!ParseDecimal(text, 4294967295u, n)) {
                error = "bad value " + QuotedText(text) +
                        " for --seed: expected a whole number from 0 to 4294967295";
                return false;
            }
            options.seed = static_cast<uint32_t>(n);
        } else if (name == "--record") {
            if (!takeValue(options.recordPath)) return false;
        } else if (name == "--replay") {
            if (!takeValue(options.replayPath)) return false;
        } else if (name == "--screenshot") {
            if (!takeValue(options.screenshotPath)) return false;
        } else if (name == "--dump") {
            if (!takeValue(options.dumpPath)) return false;
        } else if (name == "--describe") {
            if (!takeValue(options.describePath)) return false;
        } else if (name == "--frames") {
            if (!takeValue(options.framesPath)) return false;
        } else if (name == "--set") {
            if (!takeValue(options.setText)) return false;
        } else if (name == "--progress") {
            if (!takeValue(options.progressPath)) return false;
        } else if (name == "--history") {
            if (!takeValue(options.historyPath)) return false;
        } else if (name == "--fullscreen") {
            if (!noValue()) return false;
            options.fullscreen = true;
        } else if (name == "--headless") {
            if (!noValue()) return false;
            options.headless = true;
        } else if (name == "--version") {
            if (!noValue()) return false;
            options.showVersion = true;
        } else if (name == "--help" || name == "-h") {
            if (!noValue()) return false;
            options.showHelp = true;
        } else {
            error = "unknown option " + QuotedText(args[i]) + " (try --help)";
            return false;
        }
    }
    if (!options.recordPath.empty() && !options.replayPath.empty()) {
        error = "--record and --replay cannot be used together";
        return false;
    }
    if (!options.framesPath.empty() && (!options.headless || options.replayPath.empty())) {
        error = "--frames needs --headless and --replay";
        return false;
    }
    return true;
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
           "keyboard too.\n\n"
           "  --scale N          window scale factor, 1 to 8 (default 2)\n"
           "  --fullscreen       full screen, scaled to fit\n"
           "  --headless         no window and no audio device\n"
           "  --seed N           seed the random puzzles with N instead of the date and time\n"
           "  --record FILE      write the seed and every stylus event to FILE\n"
           "  --replay FILE      play FILE back on a virtual clock and exit\n"
           "  --screenshot FILE  when the run ends, write what the window shows as a PNG\n"
           "  --dump FILE        when the run ends, write the current screen's state as JSON\n"
           "  --describe FILE    write what happens in the game to FILE as it happens, one\n"
           "                     line of plain English each (" +
           places.standardOutput +
           " for a speech tool)\n"
           "  --frames FILE      with --headless and --replay: write every picture shown,\n"
           "                     with its time, to FILE (how the window plays How to play)\n"
           "  --set SEED-LEVEL   play a puzzle set, as in --set 4711-6: the same puzzles in\n"
           "                     the same order for everyone, at that level, automatic\n"
           "                     levelling off, on settings of its own (the player's\n"
           "                     score and level are untouched)\n"
           "  --progress FILE    write the progress view (an HTML page drawn from the\n"
           "                     results history) to FILE and exit\n"
           "  --history FILE     keep the results history in FILE instead of the\n"
           "                     player's, also with --headless and --replay (for tests)\n"
           "  --version          print the version and exit\n"
           "  --help             print this help and exit\n"
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
           "Every puzzle played is kept as one row of the results history,\n" +
           places.history + ";\nreplays and --headless keep none.\n";
}

}  // namespace pw
