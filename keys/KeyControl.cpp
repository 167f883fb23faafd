#include "keys/KeyControl.h"

#include "app/Application.h"
#include "keys/KeyTargets.h"
#include "elements/Weight.h"
#include "game/GameScreen.h"
#include "title/TitleScreen.h"

namespace pw {

namespace {

bool IsDigit(Key key) { return key >= Key::Digit0 && key <= Key::Digit9; }

}  // namespace

void KeyControl::OnKey(Application& app, const WindowEvent& event) {
    const Key key = event.key;
    if (key == Key::M) return sound_.Toggle(registry_);
    if (key == Key::F11) return window_.SetFullscreen(!window_.IsFullscreen());
    // Keys wait while the pointer is pressed: two styluses cannot touch at once.
    if (pointerDown_) return;
    if (app.current == app.gameScreen.get()) return OnGameKey(app.Game(), event);
    if (key == Key::Escape) return LeaveFullscreen();
    if ((key == Key::Enter || key == Key::Space) && app.current != nullptr) {
        // The title starts play on a press anywhere; its middle is as good.
        Screen& title = *app.current;
        const Point middle{title.width / 2, title.height / 2};
        for (auto* node = title.elements.tail; node != nullptr; node = node->prev) {
            if (!KeyTargets::ReachedAt(title, *node->item, middle)) continue;
            focus_.Show();
            out_(KeyTargets::Stylus(WindowEvent::Type::PenDown, middle));
            out_(KeyTargets::Stylus(WindowEvent::Type::PenUp, middle));
            return;
        }
    }
}

void KeyControl::OnGameKey(GameScreen& game, const WindowEvent& event) {
    const Key key = event.key;
    if (carrier_.Carried(game) != nullptr) return OnCarryingKey(game, key);
    if (IsDigit(key))
        return Tap(
            game,
            game.digitButtons[static_cast<size_t>(static_cast<int>(key) - static_cast<int>(Key::Digit0))]);
    switch (key) {
        case Key::Backspace:
        case Key::Delete:
            return Tap(game, game.clearButton);
        case Key::H:
            return Tap(game, game.hintButton);
        case Key::O:
            return Tap(game, game.optionsButton);
        case Key::Up:
            return Tap(game, game.levelUpButton);
        case Key::Down:
            return Tap(game, game.levelDownButton);
        case Key::A:
            return Tap(game, game.autoHotspot);
        case Key::R:
            return Tap(game, game.resetHotspot);
        case Key::Escape:
            return LeaveFullscreen();
        default:
            break;
    }
    const bool enter = key == Key::Enter || key == Key::Space;
    if (key == Key::Enter && game.okButton != nullptr && KeyTargets::Answers(*game.okButton))
        return Tap(game, game.okButton);
    const int step = key == Key::Right || (key == Key::Tab && !event.shift) ? 1
                     : key == Key::Left || key == Key::Tab                  ? -1
                                                                            : 0;
    if (!enter && step == 0) return;
    // The first of these keys only brings the ring back, so that nothing is
    // picked up that the player could not see ringed.
    if (!focus_.Shown()) {
        focus_.Show();
        return;
    }
    if (step != 0) return focus_.Step(game, step);
    Figure* weight = focus_.Current(game);
    if (weight != nullptr && KeyTargets::Answers(*weight))
        carrier_.PickUp(game, *static_cast<Weight*>(weight), out_);
}

void KeyControl::OnCarryingKey(GameScreen& game, Key key) {
    switch (key) {
        case Key::Left:
            return carrier_.Step(game, -1, out_);
        case Key::Right:
            return carrier_.Step(game, 1, out_);
        case Key::Enter:
        case Key::Space:
            return carrier_.Drop(out_);
        case Key::Escape:
            return carrier_.PutBack(out_);
        default:
            return;
    }
}

void KeyControl::OnPointer(Application& app, const WindowEvent& pen) {
    if (pen.type == WindowEvent::Type::PenUp) pointerDown_ = false;
    if (pen.type != WindowEvent::Type::PenDown) return;
    focus_.Hide();
    if (app.current == app.gameScreen.get() && carrier_.Carried(app.Game()) != nullptr)
        carrier_.PutBack(out_);
    pointerDown_ = true;
}

void KeyControl::Follow(Application* app) {
    if (app == nullptr || app->current != app->gameScreen.get()) return focus_.Follow(nullptr, nullptr);
    GameScreen& game = app->Game();
    focus_.Follow(&game, carrier_.Carried(game));
}

void KeyControl::Tap(const Screen& screen, const Figure* element) {
    if (element == nullptr || !KeyTargets::Answers(*element)) return;
    const Point centre = KeyTargets::Centre(*element);
    if (!KeyTargets::ReachedAt(screen, *element, centre)) return;
    out_(KeyTargets::Stylus(WindowEvent::Type::PenDown, centre));
    out_(KeyTargets::Stylus(WindowEvent::Type::PenUp, centre));
}

void KeyControl::LeaveFullscreen() {
    if (window_.IsFullscreen()) window_.SetFullscreen(false);
}

}  // namespace pw
