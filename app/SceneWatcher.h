#pragma once
// A reader of the game that stands beside the player: the main loop shows it
// the scene, as the dump reports it, after every message and whenever an
// animation starts or ends, and passes on the player's request to hear the
// whole board. Nothing is read for it while no watcher is set.
#include "app/SceneState.h"
#include "platform/Surface.h"

namespace pw {

class SceneWatcher {
public:
    virtual ~SceneWatcher() = default;
    // ring is the area the focus ring shows, empty when none.
    virtual void Look(const SceneState& scene, const Rect& ring) = 0;
    virtual void WholeAsked() = 0;
};

}  // namespace pw
