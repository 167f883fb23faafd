#include "keys/WeightCarrier.h"

namespace pw {

namespace {

Point ZoneCentre(const Rect& zone) {
    return Point{(zone.left + zone.right) / 2, (zone.top + zone.bottom) / 2};
}

}  // namespace

int WeightCarrier::Carried(const GameView& view) {
    if (!carried_) return kNone;
    if (view.carried != kNone && view.elements[static_cast<size_t>(view.carried)].homeX == *carried_)
        return view.carried;
    carried_.reset();
    return kNone;
}

void WeightCarrier::PickUp(const GameView& view, size_t index, const PenOut& out, const Look& look) {
    const ViewElement& weight = view.elements[index];
    const Point centre = KeyTargets::Centre(weight);
    if (!view.ReachedAt(index, centre.x, centre.y)) return;
    place_ = weight.pan == ViewElement::Pan::Left    ? kLeftPan
             : weight.pan == ViewElement::Pan::Right ? kRightPan
                                                     : kTray;
    home_ = Point{weight.homeX + weight.width / 2, weight.homeY + weight.height / 2};
    pickedAt_ = at_ = centre;
    out(KeyTargets::Stylus(WindowEvent::Type::PenDown, centre));
    // The press may not have held it (the game refused it): then nothing is
    // carried and the next key starts afresh.
    carried_ = weight.homeX;
    if (Carried(look()) == kNone) carried_.reset();
}

Point WeightCarrier::PointOf(const GameView& view, int place) const {
    if (place == kLeftPan) return ZoneCentre(view.leftPanZone);
    if (place == kRightPan) return ZoneCentre(view.rightPanZone);
    return home_;
}

void WeightCarrier::Step(const GameView& view, int step, const PenOut& out) {
    const int next = place_ + step;
    if (!carried_ || next < kLeftPan || next > kRightPan) return;
    place_ = next;
    at_ = PointOf(view, place_);
    out(KeyTargets::Stylus(WindowEvent::Type::PenMove, at_));
}

void WeightCarrier::Drop(const PenOut& out) { Release(at_, out); }

void WeightCarrier::PutBack(const PenOut& out) {
    if (!carried_) return;
    if (at_.x != pickedAt_.x || at_.y != pickedAt_.y)
        out(KeyTargets::Stylus(WindowEvent::Type::PenMove, pickedAt_));
    Release(pickedAt_, out);
}

void WeightCarrier::Release(Point at, const PenOut& out) {
    if (!carried_) return;
    carried_.reset();
    out(KeyTargets::Stylus(WindowEvent::Type::PenUp, at));
}

}  // namespace pw
