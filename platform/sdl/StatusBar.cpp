#include "platform/sdl/StatusBar.h"

#include "platform/GlyphAtlas.h"

namespace pw {

namespace {

constexpr BarControl kControls[] = {BarControl::Sound, BarControl::HowToPlay, BarControl::Progress};

// Below: one line of text over a row of three buttons. Beside: lines of
// text from the top, the buttons stacked at the bottom, where they stay
// whatever the text.
constexpr int kBelowTextHeight = 17;
constexpr int kBelowButtonTop = 19, kBelowButtonHeight = 17, kBelowButtonPitch = 79;
constexpr int kBesideButtonHeight = 19, kBesideButtonPitch = 23;
constexpr int kBesideLineHeight = 14;
constexpr int kMargin = 3;

int IndexOf(BarControl control) {
    for (int i = 0; i < 3; ++i)
        if (kControls[i] == control) return i;
    return -1;
}

Size SizeFor(StatusBar::Side side) {
    return side == StatusBar::Side::Below ? Size{kDisplayWidth, StatusBar::kBelowHeight}
                                          : Size{StatusBar::kBesideWidth, kDisplayHeight};
}

}  // namespace

StatusBar::StatusBar(TextRenderer& text, Side side)
    : text_(text), side_(side), picture_(SizeFor(side).width, SizeFor(side).height) {}

bool StatusBar::SetPlace(const std::u16string& place) {
    if (place == place_) return false;
    place_ = place;
    stale_ = true;
    return caption_.empty();
}

bool StatusBar::SetCaption(const std::u16string& caption) {
    if (caption == caption_) return false;
    caption_ = caption;
    stale_ = true;
    return true;
}

bool StatusBar::SetSound(bool on) {
    if (on == soundOn_) return false;
    soundOn_ = on;
    stale_ = true;
    return true;
}

bool StatusBar::SetFocus(BarControl control) {
    if (control == focus_) return false;
    focus_ = control;
    stale_ = true;
    return true;
}

bool StatusBar::SetSide(Side side) {
    if (side == side_) return false;
    side_ = side;
    picture_ = Surface(SizeFor(side).width, SizeFor(side).height);
    stale_ = true;
    return true;
}

Rect StatusBar::ControlArea(BarControl control) const {
    const int i = IndexOf(control);
    if (i < 0) return Rect{};
    if (side_ == Side::Below) {
        const int left = kMargin + i * kBelowButtonPitch;
        return Rect{left, kBelowButtonTop, left + kBelowButtonPitch - kMargin,
                    kBelowButtonTop + kBelowButtonHeight};
    }
    const int top =
        kDisplayHeight - kMargin - (3 - i) * kBesideButtonPitch + (kBesideButtonPitch - kBesideButtonHeight);
    return Rect{kMargin, top, kBesideWidth - kMargin, top + kBesideButtonHeight};
}

BarControl StatusBar::ControlAt(int x, int y) const {
    for (BarControl control : kControls) {
        const Rect r = ControlArea(control);
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return control;
    }
    return BarControl::None;
}

Key StatusBar::KeyOf(BarControl control) {
    switch (control) {
        case BarControl::Sound:
            return Key::M;
        case BarControl::HowToPlay:
            return Key::F1;
        case BarControl::Progress:
            return Key::P;
        case BarControl::None:
            break;
    }
    return Key::None;
}

const Surface& StatusBar::Picture() {
    if (stale_) Draw();
    stale_ = false;
    return picture_;
}

void StatusBar::Draw() {
    picture_.Fill(0, 0, picture_.Width(), picture_.Height(), kBackground);
    const std::u16string& text = caption_.empty() ? place_ : caption_;
    if (side_ == Side::Below) {
        DrawLine(text, Rect{kMargin, 0, kDisplayWidth - kMargin, kBelowTextHeight});
    } else {
        // The lines that fit above the buttons.
        const int end = ControlArea(kControls[0]).top - kMargin;
        int top = kMargin;
        for (const std::u16string& line : Wrap(text, kBesideWidth - 2 * kMargin)) {
            if (top + kBesideLineHeight > end) break;
            DrawLine(line, Rect{kMargin, top, kBesideWidth - kMargin, top + kBesideLineHeight});
            top += kBesideLineHeight;
        }
    }
    for (BarControl control : kControls) DrawButton(control);
}

void StatusBar::DrawButton(BarControl control) {
    const Rect r = ControlArea(control);
    const int w = r.right - r.left, h = r.bottom - r.top;
    // A focused button wears a frame of the focus colour, its own edge
    // included, so that it shows on the bar and on the button alike.
    if (control == focus_) picture_.Fill(r.left - 1, r.top - 1, w + 2, h + 2, kFocus);
    picture_.Fill(r.left, r.top, w, h, control == focus_ ? kFocus : kButtonEdge);
    const Rect inside{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    const char16_t* label = control == BarControl::Sound       ? (soundOn_ ? u"Sound on" : u"Sound off")
                            : control == BarControl::HowToPlay ? u"How to play"
                                                               : u"Progress";
    Surface button(inside.right - inside.left, inside.bottom - inside.top);
    text_.Draw(BoldSwissFont(kBarCell), label, kLetters, kButton, button);
    CopyOpaque(picture_, inside.left, inside.top, button.Width(), button.Height(), button, 0, 0);
}

void StatusBar::DrawLine(const std::u16string& line, const Rect& area) {
    Surface lettering(area.right - area.left, area.bottom - area.top);
    text_.Draw(BoldSwissFont(kBarCell), line, kLetters, kBackground, lettering);
    CopyOpaque(picture_, area.left, area.top, lettering.Width(), lettering.Height(), lettering, 0, 0);
}

std::vector<std::u16string> StatusBar::Wrap(const std::u16string& text, int width) {
    std::vector<std::u16string> lines;
    std::u16string line;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(u' ', start);
        if (end == std::u16string::npos) end = text.size();
        const std::u16string word = text.substr(start, end - start);
        const std::u16string longer = line.empty() ? word : line + u' ' + word;
        // A word wider than the line stands alone on one, cut at its edge.
        if (!line.empty() && text_.Measure(BoldSwissFont(kBarCell), longer).width > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
        start = end + 1;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace pw
