#include "keys/TapMover.h"

#include <cstdlib>

namespace pw {

namespace {

bool Inside(const Rect& zone, int32_t x, int32_t y) {
    return zone.left <= x && x <= zone.right && zone.top <= y && y <= zone.bottom;
}

Point Middle(const Rect& zone) { return Point{(zone.left + zone.right) / 2, (zone.top + zone.bottom) / 2}; }

}  // namespace

int TapMover::WeightAt(const GameView& view, int32_t x, int32_t y) {
    for (size_t i = view.elements.size(); i-- > 0;) {
        const ViewElement& e = view.elements[i];
        if (!e.isWeight || !e.movable || !KeyTargets::Answers(e)) continue;
        if (view.ReachedAt(i, x, y)) return static_cast<int>(i);
    }
    return -1;
}

int TapMover::RingedIn(const GameView& view) const {
    if (!ringed_) return -1;
    for (size_t i = 0; i < view.elements.size(); ++i) {
        const ViewElement& e = view.elements[i];
        if (e.isWeight && e.movable && e.homeX == *ringed_ && KeyTargets::Answers(e))
            return static_cast<int>(i);
    }
    return -1;
}

bool TapMover::Take(const WindowEvent& pen, const Look& look, const PenOut& out) {
    if (pen.type == WindowEvent::Type::PenDown) {
        const GameView view = look();
        if (view.screen == GameView::Screen::Game) return TakePress(pen, view, out);
        held_.reset();
        swallowing_ = false;
        ringed_.reset();
        return false;
    }
    if (swallowing_) {
        if (pen.type == WindowEvent::Type::PenUp) swallowing_ = false;
        return true;
    }
    if (!held_) return false;
    if (pen.type == WindowEvent::Type::PenMove) {
        if (std::abs(pen.x - held_->x) <= kTapSlop && std::abs(pen.y - held_->y) <= kTapSlop) return true;
        // It moves: a drag after all, from its press on.
        const WindowEvent press = *held_;
        held_.reset();
        out(press);
        return false;
    }
    // Up: a tap on a weight rings it, or lets the ringed one go.
    held_.reset();
    if (ringed_ && *ringed_ == heldHome_)
        ringed_.reset();
    else
        ringed_ = heldHome_;
    return true;
}

bool TapMover::TakePress(const WindowEvent& pen, const GameView& view, const PenOut& out) {
    held_.reset();
    swallowing_ = false;
    const int weight = WeightAt(view, pen.x, pen.y);
    const int ringed = RingedIn(view);
    if (ringed >= 0 && weight != ringed) {
        const ViewElement& w = view.elements[static_cast<size_t>(ringed)];
        const bool left = Inside(view.leftPanZone, pen.x, pen.y);
        const bool right = Inside(view.rightPanZone, pen.x, pen.y);
        // A tap on a pan, or on a weight lying there, is meant for the pan.
        const bool onPan = (left || right) && (weight < 0 || view.elements[static_cast<size_t>(weight)].pan !=
                                                                 ViewElement::Pan::None);
        // A tap on the tray's row, beside the weights, sends a weight on a
        // pan back to its place.
        const Point home{w.homeX + w.width / 2, w.homeY + w.height / 2};
        const bool toTray =
            weight < 0 && w.pan != ViewElement::Pan::None && std::abs(pen.y - home.y) <= w.height;
        if (onPan || toTray) {
            ringed_.reset();
            Drag(KeyTargets::Centre(w), onPan ? Middle(left ? view.leftPanZone : view.rightPanZone) : home,
                 out);
            swallowing_ = true;
            return true;
        }
    }
    if (weight >= 0) {
        held_ = pen;
        heldHome_ = view.elements[static_cast<size_t>(weight)].homeX;
        return true;
    }
    ringed_.reset();
    return false;
}

void TapMover::Drag(Point from, Point to, const PenOut& out) {
    // The drag a stylus would make: pressed in the weight's middle, carried
    // to the place and let go there.
    out(KeyTargets::Stylus(WindowEvent::Type::PenDown, from));
    out(KeyTargets::Stylus(WindowEvent::Type::PenMove, Point{(from.x + to.x) / 2, (from.y + to.y) / 2}));
    out(KeyTargets::Stylus(WindowEvent::Type::PenMove, to));
    out(KeyTargets::Stylus(WindowEvent::Type::PenUp, to));
}

}  // namespace pw
