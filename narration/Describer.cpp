#include "narration/Describer.h"

#include "narration/BoardWords.h"

namespace pw {

namespace {

void Say(std::string& out, const std::string& sentence) {
    if (sentence.empty()) return;
    if (!out.empty()) out += ' ';
    out += sentence;
}

std::string Capital(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

const BoardWeight* Find(const Board& board, int32_t place) {
    for (const BoardWeight& w : board.weights)
        if (w.place == place) return &w;
    return nullptr;
}

// What lies on the pans, and what each shows: a change here moves the scale.
bool PansDiffer(const Board& a, const Board& b) {
    for (const Board* one : {&a, &b}) {
        const Board& other = one == &a ? b : a;
        for (const BoardWeight& w : one->weights) {
            const bool onPan = !w.carried && w.pan != ViewElement::Pan::None;
            const BoardWeight* there = Find(other, w.place);
            if (there == nullptr) return true;
            const bool thereOnPan = !there->carried && there->pan != ViewElement::Pan::None;
            if (onPan != thereOnPan || (onPan && there->pan != w.pan)) return true;
            if (w.numberShown != there->numberShown || (w.numberShown && w.number != there->number))
                return true;
        }
    }
    return false;
}

std::string NewPuzzle(const Board& board) {
    return "New puzzle, level " + std::to_string(board.level) + ". " + BoardWords::Puzzle(board);
}

}  // namespace

std::string Describer::Whole() const { return last_ ? BoardWords::Whole(*last_) : std::string(); }

std::string Describer::Changes(Board now) {
    std::string out = Tell(now);
    last_ = std::move(now);
    return out;
}

void Describer::TellPoints(const Board& was, const Board& now, bool newPuzzle, std::string& out) {
    const int32_t gained = now.score > was.score ? now.score - was.score : 0;
    const std::string score = "score " + std::to_string(now.score) + ".";
    if (!newPuzzle) {
        // The balancing's points wait for the answer's, which come with
        // the next puzzle.
        balancingPoints_ += gained;
        if (now.score < was.score) Say(out, "Score " + std::to_string(now.score) + ".");
        return;
    }
    const int32_t balancing = balancingPoints_;
    balancingPoints_ = 0;
    if (balancing == 0 && gained == 0) return;
    if (gained == 0) return Say(out, std::to_string(balancing) + " points for balancing, " + score);
    if (balancing == 0) return Say(out, std::to_string(gained) + " points, " + score);
    Say(out, std::to_string(balancing + gained) + " points: " + std::to_string(balancing) +
                 " for balancing, " + std::to_string(gained) + " for the answer, " + score);
}

std::string Describer::Tell(const Board& now) {
    std::string out;
    const std::optional<Board>& was = last_;
    // The first look tells the screen as it is; the game coming up tells
    // its first puzzle.
    if (!was) return BoardWords::Whole(now);
    if (was->screen != now.screen) {
        if (now.screen == GameView::Screen::Game) {
            Say(out, NewPuzzle(now));
            if (now.ringed >= 0) Say(out, Capital(BoardWords::Ringed(now)) + ".");
            return out;
        }
        return BoardWords::Whole(now);
    }
    if (now.screen != GameView::Screen::Game) return out;

    if (now.optionsOpen && !was->optionsOpen) Say(out, BoardWords::Options(now));
    if (!now.optionsOpen && was->optionsOpen) Say(out, "Options closed.");
    const bool newPuzzle = now.dealt != was->dealt;
    if (!newPuzzle) WithinPuzzle(*was, now, out);

    TellPoints(*was, now, newPuzzle, out);
    if (now.level != was->level) Say(out, "Level " + std::to_string(now.level) + ".");
    if (now.autoLevelling != was->autoLevelling)
        Say(out, std::string("Automatic leveling ") + (now.autoLevelling ? "on." : "off."));
    if (now.optionsOpen && was->optionsOpen && now.resetTicked != was->resetTicked)
        Say(out, std::string("Reset score ") + (now.resetTicked ? "on." : "off."));
    if (newPuzzle) Say(out, NewPuzzle(now));
    if (now.keypadShown && !was->keypadShown) Say(out, "Type the hidden number.");

    // The ring is told when it comes to another weight, or back after it
    // went away; a weight just dropped keeps it and was told already.
    if (now.ringed >= 0 && now.ringed != now.carried) {
        const BoardWeight& ringed = now.weights[static_cast<size_t>(now.ringed)];
        const BoardWeight* before =
            was->ringed >= 0 ? &was->weights[static_cast<size_t>(was->ringed)] : nullptr;
        if (newPuzzle || before == nullptr || before->place != ringed.place)
            Say(out, Capital(BoardWords::Ringed(now)) + ".");
    }
    return out;
}

void Describer::WithinPuzzle(const Board& was, const Board& now, std::string& out) const {
    const BoardWeight* carried = now.Carried();
    const BoardWeight* wasCarried = was.Carried();
    if (carried != nullptr && (wasCarried == nullptr || wasCarried->place != carried->place)) {
        const BoardWeight* before = Find(was, carried->place);
        const bool fromPan = before != nullptr && before->pan != ViewElement::Pan::None;
        Say(out, "Picked up " + std::to_string(carried->number) +
                     (fromPan ? " from the " + BoardWords::Place(before->pan) : std::string()) + ".");
    } else if (carried != nullptr && now.CarriedOver() != was.CarriedOver()) {
        Say(out, std::to_string(carried->number) + " over the " + BoardWords::Over(now.CarriedOver()) + ".");
    }
    if (wasCarried != nullptr && (carried == nullptr || carried->place != wasCarried->place)) {
        const BoardWeight* dropped = Find(now, wasCarried->place);
        if (dropped != nullptr && dropped->pan != ViewElement::Pan::None)
            Say(out, std::to_string(dropped->number) + " on the " + BoardWords::Place(dropped->pan) + ".");
        else if (dropped != nullptr)
            Say(out, std::to_string(dropped->number) + " back in the tray.");
    }
    for (const BoardWeight& w : now.weights) {
        if (!w.grey) continue;
        const BoardWeight* before = Find(was, w.place);
        if (before == nullptr) continue;
        if (w.numberShown && (!before->numberShown || before->number != w.number))
            Say(out, std::string(now.hintUsed && !was.hintUsed ? "Hint used: grey weight shows "
                                                               : "Grey weight shows ") +
                         std::to_string(w.number) + ".");
        if (!w.numberShown && before->numberShown) Say(out, "Grey weight cleared.");
    }
    const bool pansChanged = PansDiffer(was, now);
    const bool balanced = now.flashing && !was.flashing;
    if (pansChanged) Say(out, BoardWords::Totals(now));
    if (balanced)
        Say(out, "Balanced.");
    else if (pansChanged || now.tip != was.tip)
        Say(out, BoardWords::Tip(now));
}

}  // namespace pw
