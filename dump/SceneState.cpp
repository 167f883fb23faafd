#include "dump/SceneState.h"

#include "app/Application.h"
#include "elements/Weight.h"
#include "game/GameScreen.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsStore.h"
#include "title/TitleScreen.h"

namespace pw {

namespace {

SceneElement::Pan PanOf(const GameScreen* game, Weight* weight) {
    if (game == nullptr) return SceneElement::Pan::None;
    if (game->leftPan.Contains(weight)) return SceneElement::Pan::Left;
    if (game->rightPan.Contains(weight)) return SceneElement::Pan::Right;
    return SceneElement::Pan::None;
}

// Kind names are plain ASCII: narrowed as they are, without a UTF-16 copy.
std::string KindName(const char16_t* name) {
    std::string out;
    for (; *name != u'\0'; ++name) out += static_cast<char>(*name);
    return out;
}

SceneElement Read(Figure& e, const GameScreen* game) {
    SceneElement out;
    out.kind = KindName(e.GetKindName());
    out.x = e.GetX();
    out.y = e.GetY();
    out.width = e.GetWidth();
    out.height = e.GetHeight();
    out.layer = e.GetLayer();
    out.visible = e.visible;
    out.enabled = e.enabled;
    if (e.IsKind(u"Weight")) {
        auto& w = static_cast<Weight&>(e);
        out.isWeight = true;
        out.value = w.value;
        out.initialValue = w.initialValue;
        out.showNumber = w.showNumber;
        out.grey = w.bitmapId == res::kGreyWeight;
        out.homeX = w.homeX;
        out.homeY = w.homeY;
        out.pan = PanOf(game, &w);
    }
    return out;
}

}  // namespace

SceneState ReadScene(Application* app, Registry& registry) {
    SceneState state;
    Screen* screen = app != nullptr ? app->current : nullptr;
    GameScreen* game = app != nullptr && screen == app->gameScreen.get() ? app->gameScreen.get() : nullptr;
    state.screen = screen == nullptr ? SceneState::Screen::None
                   : game != nullptr ? SceneState::Screen::Game
                                     : SceneState::Screen::Title;
    // The game's own store while it has one; else what its registry holds.
    SettingsContext fresh(registry);
    SettingsContext& context = app != nullptr ? app->context.settings : fresh;
    SettingsStore& settings = SettingsStore::Acquire(context);
    state.score = settings.score;
    state.level = settings.level;
    state.autoLevelling = settings.autoAdjust;
    SettingsStore::Release(context);
    if (screen == nullptr) return state;
    state.elements.reserve(static_cast<size_t>(screen->elements.count));
    for (auto* node = screen->elements.head; node != nullptr; node = node->next)
        state.elements.push_back(Read(*node->item, game));
    return state;
}

}  // namespace pw
