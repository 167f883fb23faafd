#pragma once
// A reader of the game that stands beside the player: the main loop shows it
// the scene, as the dump reports it, after every message and whenever an
// animation starts or ends, and passes on the player's request to hear the
// whole board. Nothing is read for it while no watcher is set.
#include <string>

#include "game/GameView.h"
#include "platform/Platform.h"
#include "platform/Surface.h"

namespace pw {

class SceneWatcher {
public:
    virtual ~SceneWatcher() = default;
    // ring is the area the focus ring shows, empty when none.
    virtual void Look(const GameView& scene, const Rect& ring) = 0;
    virtual void WholeAsked() = 0;
    // A stylus event about to reach the game (made by the player's stylus or
    // by a key), before the scene shows what it did.
    virtual void Pen(const WindowEvent& event) { (void)event; }
    // Why a key the player pressed did nothing, as one short sentence.
    virtual void KeyRefused(const std::string& why) { (void)why; }
};

// Shows the scene to two watchers.
class WatcherPair : public SceneWatcher {
public:
    WatcherPair(SceneWatcher* first, SceneWatcher* second) : first_(first), second_(second) {}
    void Look(const GameView& scene, const Rect& ring) override {
        if (first_ != nullptr) first_->Look(scene, ring);
        if (second_ != nullptr) second_->Look(scene, ring);
    }
    void WholeAsked() override {
        if (first_ != nullptr) first_->WholeAsked();
        if (second_ != nullptr) second_->WholeAsked();
    }
    void Pen(const WindowEvent& event) override {
        if (first_ != nullptr) first_->Pen(event);
        if (second_ != nullptr) second_->Pen(event);
    }
    void KeyRefused(const std::string& why) override {
        if (first_ != nullptr) first_->KeyRefused(why);
        if (second_ != nullptr) second_->KeyRefused(why);
    }

private:
    SceneWatcher* first_;
    SceneWatcher* second_;
};

}  // namespace pw
