#pragma once
// Spoken descriptions of the game: what changed after each look, and the
// whole board on request, each handed on as one line of plain text.
#include <functional>
#include <string>

#include "narration/Describer.h"
#include "dump/SceneWatcher.h"

namespace pw {

class Narration : public SceneWatcher {
public:
    using Say = std::function<void(const std::string& line)>;

    explicit Narration(Say say) : say_(std::move(say)) {}

    void Look(const GameView& scene, const Rect& ring) override;
    void WholeAsked() override;
    void KeyRefused(const std::string& why) override { say_(why); }

private:
    Say say_;
    Describer describer_;
};

}  // namespace pw
