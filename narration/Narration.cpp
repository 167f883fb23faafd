#include "narration/Narration.h"

namespace pw {

void Narration::Look(const GameView& scene, const Rect& ring) {
    const std::string changes = describer_.Changes(ReadBoard(scene, ring));
    if (!changes.empty()) say_(changes);
}

void Narration::WholeAsked() {
    const std::string whole = describer_.Whole();
    if (!whole.empty()) say_(whole);
}

}  // namespace pw
