// The game screen's view for the host: its elements as plain values, each
// weight with its pan and whether it is carried, each control by name, and
// the state of the puzzle as the game itself keeps it.
#include "game/GameScreen.h"
#include "resources/ResourceIds.h"

namespace pw {

namespace {

ViewElement::Pan PanOf(const GameScreen& game, Weight* weight) {
    if (game.leftPan.Contains(weight)) return ViewElement::Pan::Left;
    if (game.rightPan.Contains(weight)) return ViewElement::Pan::Right;
    return ViewElement::Pan::None;
}

}  // namespace

Control GameScreen::ControlOf(const Figure* element) const {
    for (int32_t d = 0; d < kDigitCount; ++d)
        if (element == digitButtons[static_cast<size_t>(d)])
            return static_cast<Control>(static_cast<int>(Control::Digit0) + d);
    if (element == clearButton) return Control::Clear;
    if (element == hintButton) return Control::Hint;
    if (element == optionsButton) return Control::Options;
    if (element == okButton) return Control::Ok;
    if (element == levelUpButton) return Control::LevelUp;
    if (element == levelDownButton) return Control::LevelDown;
    if (element == autoHotspot) return Control::AutoBox;
    if (element == resetHotspot) return Control::ResetBox;
    if (element == closeIcon) return Control::Close;
    return Control::None;
}

void GameScreen::FillView(GameView& view) const {
    view.screen = GameView::Screen::Game;
    view.score = settings.score;
    view.level = settings.level;
    view.autoLevelling = settings.autoAdjust != 0;
    view.elements = ReadElements(*this);
    size_t i = 0;
    for (auto* node = elements.head; node != nullptr; node = node->next, ++i) {
        Figure* f = node->item;
        ViewElement& e = view.elements[i];
        e.control = ControlOf(f);
        if (!f->IsKind(u"Weight")) continue;
        auto* w = static_cast<Weight*>(f);
        e.isWeight = true;
        e.movable = f->draggable;
        e.value = w->value;
        e.initialValue = w->initialValue;
        e.showNumber = w->showNumber;
        e.grey = w->bitmapId == res::kGreyWeight;
        e.homeX = w->homeX;
        e.homeY = w->homeY;
        e.pan = PanOf(*this, w);
        // Lifted above every other layer while the stylus holds it.
        e.carried = f->GetLayer() == kDraggedLayer;
        if (e.carried) view.carried = static_cast<int>(i);
        if (e.pan == ViewElement::Pan::Left) view.leftTotal += w->value;
        if (e.pan == ViewElement::Pan::Right) view.rightTotal += w->value;
        if (e.pan != ViewElement::Pan::None && !w->showNumber) view.hiddenOnPans = true;
    }
    view.moves = moves;
    view.clears = clears;
    view.hintUsed = hintUsed;
    const int32_t balance = Balance();
    view.tip = balance < 0 ? GameView::Tip::Left : balance > 0 ? GameView::Tip::Right : GameView::Tip::Level;
    view.balanced = solved;
    view.flashing = panFlash->visible;
    view.keypadShown = keypadPanel->visible;
    view.optionsOpen = optionsPanel->visible;
    view.autoTicked = autoCheck->visible;
    view.resetTicked = resetCheck->visible;
    view.leftPanZone = leftPanZone;
    view.rightPanZone = rightPanZone;
}

}  // namespace pw
