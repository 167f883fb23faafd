#include "keys/WeightCarrier.h"

#include "elements/Weight.h"
#include "game/GameScreen.h"

namespace pw {

namespace {

Point ZoneCentre(const Rect& zone) {
    return Point{(zone.left + zone.right) / 2, (zone.top + zone.bottom) / 2};
}

}  // namespace

Figure* WeightCarrier::Carried(const GameScreen& game) {
    if (carried_ != nullptr && game.captured != carried_) carried_ = nullptr;
    return carried_;
}

void WeightCarrier::PickUp(GameScreen& game, Weight& weight, const PenOut& out) {
    const Point centre = KeyTargets::Centre(weight);
    if (!KeyTargets::ReachedAt(game, weight, centre)) return;
    place_ = game.leftPan.Contains(&weight) ? kLeftPan : game.rightPan.Contains(&weight) ? kRightPan : kTray;
    pickedAt_ = at_ = centre;
    out(KeyTargets::Stylus(WindowEvent::Type::PenDown, centre));
    // The press may not have held it (the game refused it): then nothing is
    // carried and the next key starts afresh.
    carried_ = game.captured == &weight ? &weight : nullptr;
}

Point WeightCarrier::PointOf(const GameScreen& game, int place) const {
    if (place == kLeftPan) return ZoneCentre(game.leftPanZone);
    if (place == kRightPan) return ZoneCentre(game.rightPanZone);
    return Point{carried_->homeX + carried_->GetWidth() / 2, carried_->homeY + carried_->GetHeight() / 2};
}

void WeightCarrier::Step(const GameScreen& game, int step, const PenOut& out) {
    const int next = place_ + step;
    if (carried_ == nullptr || next < kLeftPan || next > kRightPan) return;
    place_ = next;
    at_ = PointOf(game, place_);
    out(KeyTargets::Stylus(WindowEvent::Type::PenMove, at_));
}

void WeightCarrier::Drop(const PenOut& out) { Release(at_, out); }

void WeightCarrier::PutBack(const PenOut& out) {
    if (carried_ == nullptr) return;
    if (at_.x != pickedAt_.x || at_.y != pickedAt_.y)
        out(KeyTargets::Stylus(WindowEvent::Type::PenMove, pickedAt_));
    Release(pickedAt_, out);
}

void WeightCarrier::Release(Point at, const PenOut& out) {
    if (carried_ == nullptr) return;
    carried_ = nullptr;
    out(KeyTargets::Stylus(WindowEvent::Type::PenUp, at));
}

}  // namespace pw
