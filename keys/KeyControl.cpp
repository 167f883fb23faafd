#include "keys/KeyControl.h"

#include "keys/KeyTargets.h"

namespace pw {

namespace {

bool IsDigit(Key key) { return key >= Key::Digit0 && key <= Key::Digit9; }

}  // namespace

void KeyControl::OnKey(const WindowEvent& event) {
    const Key key = event.key;
    if (key == Key::M) return sound_.Toggle(registry_);
    if (key == Key::F11) return window_.SetFullscreen(!window_.IsFullscreen());
    // Keys wait while the pointer is pressed: two styluses cannot touch at once.
    if (pointerDown_) return;
    const GameView view = look_();
    // Keys take over from taps: a weight a tap ringed is the keys' now.
    taps_.Forget();
    if (OnBarKey(view, event)) return;
    if (view.screen == GameView::Screen::Game) return OnGameKey(view, event);
    if (key == Key::Escape) return LeaveFullscreen();
    if (view.screen == GameView::Screen::Title) OnTitleKey(view, key);
}

void KeyControl::OnTitleKey(const GameView& view, Key key) {
    if (key != Key::Enter && key != Key::Space) return;
    // The title starts play on a press anywhere; its middle is as good.
    const Point middle{kDisplayWidth / 2, kDisplayHeight / 2};
    for (size_t i = view.elements.size(); i-- > 0;) {
        if (!view.ReachedAt(i, middle.x, middle.y)) continue;
        focus_.Show();
        out_(KeyTargets::Stylus(WindowEvent::Type::PenDown, middle));
        out_(KeyTargets::Stylus(WindowEvent::Type::PenUp, middle));
        return;
    }
}

void KeyControl::OnGameKey(const GameView& view, const WindowEvent& event) {
    const Key key = event.key;
    if (carrier_.Carried(view) != WeightCarrier::kNone) return OnCarryingKey(view, key);
    if (IsDigit(key))
        return Tap(view, static_cast<Control>(static_cast<int>(Control::Digit0) + static_cast<int>(key) -
                                              static_cast<int>(Key::Digit0)));
    switch (key) {
        case Key::Backspace:
        case Key::Delete:
            return Tap(view, Control::Clear);
        case Key::H:
            return Tap(view, Control::Hint);
        case Key::O:
            return Tap(view, Control::Options);
        case Key::Up:
            return Tap(view, Control::LevelUp);
        case Key::Down:
            return Tap(view, Control::LevelDown);
        case Key::A:
            return Tap(view, Control::AutoBox);
        case Key::R:
            return Tap(view, Control::ResetBox);
        case Key::Escape:
            // OK may reset the score, so Escape does not press it.
            if (view.optionsOpen && !window_.IsFullscreen())
                return Refuse("Options stay open: Enter presses OK, which keeps what they show.");
            return LeaveFullscreen();
        default:
            break;
    }
    const bool enter = key == Key::Enter || key == Key::Space;
    const ViewElement* ok = view.Find(Control::Ok);
    if (key == Key::Enter && ok != nullptr && KeyTargets::Answers(*ok)) return Tap(view, Control::Ok);
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
    // Tab past the last weight (Shift+Tab before the first) leaves the game
    // for the window's bar, so that the keys reach every control.
    if (key == Key::Tab && window_.HasBar() && focus_.AtEnd(view, step))
        return FocusBar(step > 0 ? BarControl::Sound : BarControl::Progress);
    if (step != 0) return focus_.Step(view, step);
    const int weight = focus_.Current(view);
    if (weight != KeyFocus::kNone && KeyTargets::Answers(view.elements[static_cast<size_t>(weight)]))
        carrier_.PickUp(view, static_cast<size_t>(weight), out_, look_);
}

void KeyControl::OnCarryingKey(const GameView& view, Key key) {
    switch (key) {
        case Key::Left:
            return carrier_.Step(view, -1, out_);
        case Key::Right:
            return carrier_.Step(view, 1, out_);
        case Key::Enter:
        case Key::Space:
            return carrier_.Drop(out_);
        case Key::Escape:
            return carrier_.PutBack(out_);
        default:
            if (key != Key::None)
                Refuse(
                    "You are carrying a weight: Left and Right move it, Enter drops it, Escape puts it "
                    "back.");
            return;
    }
}

bool KeyControl::OnPointer(const WindowEvent& pen) {
    if (pen.type == WindowEvent::Type::PenUp) pointerDown_ = false;
    if (pen.type == WindowEvent::Type::PenDown) {
        focus_.Hide();
        if (barFocus_ != BarControl::None) FocusBar(BarControl::None);
        if (carrier_.Holding() && carrier_.Carried(look_()) != WeightCarrier::kNone) carrier_.PutBack(out_);
        pointerDown_ = true;
    }
    if (!acceptTaps_) return false;
    const bool taken = taps_.Take(pen, look_, out_);
    // The weight a tap picked shows the ring, as one the keys went to.
    if (taps_.Ringed()) focus_.RingPlace(*taps_.Ringed());
    return taken;
}

void KeyControl::Follow() {
    // Nothing to follow while the ring is away and no weight is carried: the
    // scene is not read at all.
    if (!focus_.Shown() && !carrier_.Holding() && focus_.Ringed() == Rect{}) return;
    const GameView view = look_();
    if (view.screen != GameView::Screen::Game) return focus_.Follow(nullptr, KeyFocus::kNone);
    focus_.Follow(&view, carrier_.Carried(view));
}

std::string KeyControl::WhyNot(const GameView& view, Control control) {
    const bool keypad = control == Control::Clear || control == Control::Hint ||
                        (control >= Control::Digit0 && control <= Control::Digit9);
    const bool panel = control == Control::LevelUp || control == Control::LevelDown ||
                       control == Control::AutoBox || control == Control::ResetBox || control == Control::Ok;
    if (keypad && !view.keypadShown) return "The keypad is not open yet: balance the scale first.";
    if (panel && !view.optionsOpen) return "The options are closed: O opens them.";
    if (control == Control::Options && view.optionsOpen) return "The options are open: Enter closes them.";
    if (view.flashing) return "Wait a moment: the scale has just come level.";
    return "That does nothing now.";
}

void KeyControl::Tap(const GameView& view, Control control) {
    for (size_t i = 0; i < view.elements.size(); ++i) {
        const ViewElement& element = view.elements[i];
        if (element.control != control) continue;
        const Point centre = KeyTargets::Centre(element);
        if (!KeyTargets::Answers(element) || !view.ReachedAt(i, centre.x, centre.y))
            return Refuse(WhyNot(view, control));
        out_(KeyTargets::Stylus(WindowEvent::Type::PenDown, centre));
        out_(KeyTargets::Stylus(WindowEvent::Type::PenUp, centre));
        return;
    }
}

void KeyControl::FocusBar(BarControl control) {
    barFocus_ = control;
    if (control != BarControl::None) focus_.Hide();
    window_.FocusBarControl(control);
}

bool KeyControl::OnBarKey(const GameView& view, const WindowEvent& event) {
    const Key key = event.key;
    // On the title, Tab goes to the bar at once: there are no weights yet.
    if (barFocus_ == BarControl::None) {
        if (key != Key::Tab || !window_.HasBar() || view.screen != GameView::Screen::Title) return false;
        FocusBar(event.shift ? BarControl::Progress : BarControl::Sound);
        return true;
    }
    const int at = static_cast<int>(barFocus_);
    if (key == Key::Tab) {
        const int next = at + (event.shift ? -1 : 1);
        if (next > static_cast<int>(BarControl::None) && next <= static_cast<int>(BarControl::Progress)) {
            FocusBar(static_cast<BarControl>(next));
            return true;
        }
        // Past either end the focus comes back into the game, on the first
        // weight (Tab) or the last (Shift+Tab).
        FocusBar(BarControl::None);
        if (view.screen == GameView::Screen::Game) {
            focus_.Show();
            focus_.Step(view, event.shift ? -1 : 1);
        }
        return true;
    }
    if (key == Key::Enter || key == Key::Space) {
        const Key acts = barFocus_ == BarControl::Sound       ? Key::M
                         : barFocus_ == BarControl::HowToPlay ? Key::F1
                                                              : Key::P;
        if (acts == Key::M)
            sound_.Toggle(registry_);
        else if (hostKey_)
            hostKey_(acts);
        return true;
    }
    // Any other key is the game's again.
    FocusBar(BarControl::None);
    return key == Key::Escape;
}

void KeyControl::LeaveFullscreen() {
    if (window_.IsFullscreen()) window_.SetFullscreen(false);
}

}  // namespace pw
