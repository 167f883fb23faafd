#pragma once
// One game: owns the two screens, the settings context and the random
// generator, and knows which screen is current; starts on the title and
// switches to the game, for good, when the title reports a press. Any number
// of games may live in one process, each on a platform of its own.
#include <cstdint>
#include <memory>
#include <optional>

#include "game/GameContext.h"
#include "game/GameView.h"
#include "platform/Platform.h"
#include "scene/ScreenListener.h"

namespace pw {

class GameScreen;
class TitleScreen;
class Screen;

class Application : public ScreenListener {
public:
    // Seeds the random generator (from the date and time unless a seed is
    // given), builds both screens and plays the start sound.
    Application(Platform& platform, std::optional<uint32_t> seed = std::nullopt);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // A new game on the same screens: as if built again with this seed.
    void Restart(uint32_t newSeed);
    // The game screen, built on first use: the main loop asks for it once
    // the title shows.
    GameScreen& Game();
    // Lets go of what only the game in play holds, until Restart; nothing
    // else may follow but destruction.
    void PutAway();

    void OnScreenEvent(Screen* source, Figure* element, int32_t x, int32_t y) override;
    void OnScreenNotice(Screen* source) override;

    // The game as the host may read it now: the current screen's elements
    // and, on the game screen, the puzzle's state.
    GameView View();
    // What a game closed (or not yet made) shows: no screen, the values
    // stored in registry.
    static GameView StoredView(Registry& registry);
    // app's view, or the stored one when app is null (the game has closed).
    static GameView ViewOf(Application* app, Registry& registry) {
        return app != nullptr ? app->View() : StoredView(registry);
    }

    // day x 86400 + hour x 3600 + minute x 60 + second.
    static uint32_t SeedFromDateTime(const DateTime& time);

    Platform& platform;
    uint32_t seed = 0;
    // Declared before the screens, so that it outlives them.
    GameContext context;
    std::unique_ptr<GameScreen> gameScreen;  // null until Game() first runs
    std::unique_ptr<TitleScreen> titleScreen;
    Screen* current = nullptr;
    const SoundData* switchSound = nullptr;
};

}  // namespace pw
