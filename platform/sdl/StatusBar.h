#pragma once
// The bar the desktop window shows beside the game's picture: where the
// player is ("Level 6", "Set 4711 · level 6") or How to play's caption while
// it plays, and three controls a click reaches (Sound, on or off, How to
// play and Progress), each acting as its key. It is drawn in display pixels
// with the game's lettering and scaled by the picture's own whole factor,
// so it is as crisp as the picture; its layout follows the side it stands
// on: a strip below the picture, or a column beside it.
#include <string>

#include "platform/Platform.h"

namespace pw {

class StatusBar {
public:
    enum class Side { Below, Beside };
    // The bar's size in display pixels: below, the picture's width by this
    // height; beside, this width by the picture's height.
    static constexpr int kBelowHeight = 38;
    static constexpr int kBesideWidth = 88;

    static constexpr Pixel kBackground = Rgb(22, 30, 54);
    static constexpr Pixel kLetters = Rgb(255, 255, 255);
    static constexpr Pixel kButton = Rgb(50, 66, 108);
    static constexpr Pixel kButtonEdge = Rgb(140, 160, 204);
    static constexpr Pixel kFocus = Rgb(255, 214, 0);

    explicit StatusBar(TextRenderer& text, Side side = Side::Below);

    // Each answers whether the bar's picture changed.
    bool SetPlace(const std::u16string& place);
    // An empty caption gives the place back.
    bool SetCaption(const std::u16string& caption);
    bool SetSound(bool on);
    bool SetFocus(BarControl control);
    bool SetSide(Side side);

    Side GetSide() const { return side_; }
    bool SoundOn() const { return soundOn_; }
    BarControl Focus() const { return focus_; }
    // The bar's picture, drawn again first when something changed.
    const Surface& Picture();
    // The control under a pixel of the bar (display pixels from its corner),
    // None between and outside them.
    BarControl ControlAt(int x, int y) const;
    // A control's button, in the bar's display pixels.
    Rect ControlArea(BarControl control) const;
    // The key a control acts as.
    static Key KeyOf(BarControl control);

private:
    void Draw();
    void DrawButton(BarControl control);
    // The words of text, broken into lines no wider than width.
    std::vector<std::u16string> Wrap(const std::u16string& text, int width);
    void DrawLine(const std::u16string& line, const Rect& area);

    TextRenderer& text_;
    Side side_;
    Surface picture_;
    bool stale_ = true;
    std::u16string place_, caption_;
    bool soundOn_ = true;
    BarControl focus_ = BarControl::None;
};

}  // namespace pw
