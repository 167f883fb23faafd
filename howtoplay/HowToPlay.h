#pragma once
// How to play in the player's window: each recording played by a game of its
// own in this same process (DemoGame), its pictures shown by the window
// instead of the player's, at a person's pace, with a hand at the recorded
// stylus and one short caption at a time. Any press or key ends it; the
// player's game took no input meanwhile and its own picture is shown again,
// untouched.
#include <string>
#include <utility>
#include <vector>

#include "howtoplay/DemoGame.h"
#include "platform/Platform.h"

namespace pw {

class HowToPlay {
public:
    struct Part {
        std::string recording;  // the text of a replay file
        std::string caption;    // shown from the start
        std::string afterDrag;  // shown once the first drag has ended
    };
    // The recordings are a machine's pace: shown this much slower.
    static constexpr int kSlowerTimesTwo = 5;
    // A finished part stays this long before the next one or the end.
    static constexpr uint32_t kBetweenMs = 1200;
    // How often the demonstration moves on while the window waits.
    static constexpr uint32_t kFrameWaitMs = 10;

    // The two recordings the game embeds, with their captions.
    static std::vector<Part> EmbeddedParts();

    // player is the player's game's platform: its window shows the
    // demonstration and its clock (the real one) paces it; its resources,
    // text and date serve the demonstration's games. Its settings and its
    // sound are never used.
    HowToPlay(Platform& player, DemoGame::Makers makers) : player_(player), makers_(std::move(makers)) {}

    // Plays the parts in turn until their end, a press or a key (taken here,
    // not passed on, nor the rest of the press), or a close, which is posted
    // again for the player's game. Problems that ended it early go to
    // Problem().
    void Run(const std::vector<Part>& parts);
    const std::string& Problem() const { return problem_; }
    // How long the last Run took, by the player's clock.
    uint32_t ShownForMs() const { return shownFor_; }

private:
    enum class Outcome { Done, Stopped };
    Outcome PlayPart(const Part& part);
    // Copies what the game presented into the picture shown.
    void Show(DemoGame& game);
    Outcome Wait(uint32_t ms);
    // Handles the window's next message within ms; Stopped for a press, a
    // key or a close.
    Outcome Listen(uint32_t ms);
    // Waits for the end of the press that stopped the demonstration.
    void LetPressGo();

    Platform& player_;
    DemoGame::Makers makers_;
    Surface picture_{kDisplayWidth, kDisplayHeight};
    bool shown_ = false;
    bool pressed_ = false;  // a press stopped it
    std::string problem_;
    uint32_t shownFor_ = 0;
};

}  // namespace pw
