#include "app/Application.h"

#include "game/GameScreen.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsStore.h"
#include "title/TitleScreen.h"

namespace pw {

uint32_t Application::SeedFromDateTime(const DateTime& t) {
    return ((static_cast<uint32_t>(t.day) * 24 + t.hour) * 60 + t.minute) * 60 + t.second;
}

Application::Application(Platform& platform_, std::optional<uint32_t> seed_)
    : platform(platform_),
      seed(seed_ ? *seed_ : SeedFromDateTime(platform_.time.LocalNow())),
      context(platform_.registry, seed) {
    // The title first, so that it shows as soon as it can; the game screen
    // is built by Game(), once the title is up or when first needed. Only
    // the game draws random numbers, so its first level is the same either
    // way.
    titleScreen = std::make_unique<TitleScreen>(platform, this);
    titleScreen->listeners.InsertAt(this, titleScreen->listeners.count);

    current = titleScreen.get();
    current->active = true;

    switchSound = platform.resources.FindSound(res::kSwitchSound);
    platform.sound.Play(platform.resources.FindSound(res::kStartSound));
}

GameScreen& Application::Game() {
    if (!gameScreen) {
        gameScreen = std::make_unique<GameScreen>(platform, this, context);
        gameScreen->listeners.InsertAt(this, gameScreen->listeners.count);
        gameScreen->ShareBackBufferWith(*titleScreen);
        // The title is composed by now and nothing on it moves: its picture
        // is decoded again only if it must be composed again.
        titleScreen->ReleasePictures();
    }
    return *gameScreen;
}

void Application::Restart(uint32_t newSeed) {
    seed = newSeed;
    context.random.Seed(seed);
    if (gameScreen) gameScreen->Restart();
    titleScreen->ResetScene();
    current->active = false;
    current = titleScreen.get();
    current->active = true;
    platform.sound.Play(platform.resources.FindSound(res::kStartSound));
}

void Application::PutAway() {
    if (gameScreen) gameScreen->PutAway();
    titleScreen->tickers.Clear();
    titleScreen->captured = nullptr;
}

Application::~Application() {
    gameScreen.reset();
    titleScreen.reset();
}

void Application::OnScreenEvent(Screen* source, Figure*, int32_t, int32_t) {
    if (source != titleScreen.get()) return;
    platform.sound.Play(switchSound);
    current->active = false;
    current = &Game();
    current->active = true;
    // The title is not shown again in this game: its picture need not stay
    // decoded (a restart decodes it anew when it draws).
    titleScreen->ReleasePictures();
    platform.window.Invalidate();
}

void Application::OnScreenNotice(Screen*) {}

namespace {

void FillStored(GameView& view, SettingsContext& context) {
    SettingsStore& settings = SettingsStore::Acquire(context);
    view.score = settings.score;
    view.level = settings.level;
    view.autoLevelling = settings.autoAdjust != 0;
    SettingsStore::Release(context);
}

}  // namespace

GameView Application::View() {
    GameView view;
    if (gameScreen && current == gameScreen.get()) {
        gameScreen->FillView(view);
        return view;
    }
    // The game's own store while it has one, else what its registry holds.
    FillStored(view, context.settings);
    if (current == nullptr) return view;
    view.screen = GameView::Screen::Title;
    view.elements = ReadElements(*current);
    return view;
}

GameView Application::StoredView(Registry& registry) {
    GameView view;
    SettingsContext context(registry);
    FillStored(view, context);
    return view;
}

}  // namespace pw
