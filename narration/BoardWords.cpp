#include "narration/BoardWords.h"

#include <vector>

namespace pw {

namespace BoardWords {

namespace {

std::string OnOff(bool on) { return on ? "on" : "off"; }

std::string Join(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& part : parts) out += (out.empty() ? "" : ", ") + part;
    return out;
}

bool Resting(const BoardWeight& w, ViewElement::Pan pan) { return !w.carried && w.pan == pan; }

// What a pan weighs as far as its weights show their numbers.
std::string PanTotal(const Board& board, ViewElement::Pan pan) {
    int32_t sum = 0;
    bool hidden = false, any = false;
    for (const BoardWeight& w : board.weights) {
        if (!Resting(w, pan)) continue;
        if (w.numberShown) {
            sum += w.number;
            any = true;
        } else {
            hidden = true;
        }
    }
    if (!hidden) return std::to_string(sum);
    return any ? "hidden plus " + std::to_string(sum) : "hidden";
}

}  // namespace

std::string Weight(const BoardWeight& w) {
    if (!w.grey) return std::to_string(w.number);
    return w.numberShown ? "grey " + std::to_string(w.number) : "grey, number hidden";
}

std::string Pan(const Board& board, ViewElement::Pan pan) {
    std::vector<std::string> parts;
    for (const BoardWeight& w : board.weights)
        if (Resting(w, pan)) parts.push_back(Weight(w));
    const std::string name = pan == ViewElement::Pan::Left ? "Left pan: " : "Right pan: ";
    return name + (parts.empty() ? "empty" : Join(parts)) + ".";
}

std::string Tray(const Board& board) {
    std::vector<std::string> parts;
    for (const BoardWeight& w : board.weights)
        if (Resting(w, ViewElement::Pan::None)) parts.push_back(Weight(w));
    return "Tray: " + (parts.empty() ? std::string("empty") : Join(parts)) + ".";
}

std::string Totals(const Board& board) {
    return "Left " + PanTotal(board, ViewElement::Pan::Left) + ", right " +
           PanTotal(board, ViewElement::Pan::Right) + ".";
}

std::string Tip(const Board& board) {
    switch (board.tip) {
        case Board::Tip::Left:
            return "The scale tips left.";
        case Board::Tip::Right:
            return "The scale tips right.";
        default:
            return "The scale is level.";
    }
}

std::string Place(ViewElement::Pan pan) {
    return pan == ViewElement::Pan::Left    ? "left pan"
           : pan == ViewElement::Pan::Right ? "right pan"
                                             : "tray";
}

std::string Over(Board::Over over) {
    return over == Board::Over::LeftPan ? "left pan" : over == Board::Over::RightPan ? "right pan" : "tray";
}

std::string Ringed(const Board& board) {
    if (board.ringed < 0) return "";
    const BoardWeight& w = board.weights[static_cast<size_t>(board.ringed)];
    return "yellow " + std::to_string(w.number) + ", " + Place(w.pan);
}

std::string Puzzle(const Board& board) {
    return Pan(board, ViewElement::Pan::Left) + " " + Pan(board, ViewElement::Pan::Right) + " " +
           Tray(board) + " " + Tip(board);
}

std::string Options(const Board& board) {
    return "Options: level " + std::to_string(board.level) + ", automatic leveling " +
           OnOff(board.autoLevelling) + ", reset score " + OnOff(board.resetTicked) +
           ". Up and Down change the level, A and R tick, Enter is OK.";
}

std::string Title() { return "Pivotwarden, a balance puzzle. Press Enter to play."; }

std::string Ended() { return "The game has ended."; }

std::string Whole(const Board& board) {
    if (board.screen == GameView::Screen::None) return Ended();
    if (board.screen == GameView::Screen::Title) return Title();
    std::string out = "Level " + std::to_string(board.level) + ", score " + std::to_string(board.score) +
                      ". " + Puzzle(board);
    if (const BoardWeight* carried = board.Carried())
        out +=
            " Carrying " + std::to_string(carried->number) + " over the " + Over(board.CarriedOver()) + ".";
    if (board.keypadShown) out += " Type the hidden number.";
    if (board.optionsOpen) out += " " + Options(board);
    if (board.ringed >= 0 && board.ringed != board.carried) out += " Ring on " + Ringed(board) + ".";
    return out;
}

}  // namespace BoardWords

}  // namespace pw
