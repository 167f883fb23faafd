#pragma once
// The services the game uses from the machine it runs on, as small interfaces.
// Each backend implements them in a folder of its own: sdl/ (the desktop's
// window and sound), posix/ (files, signals and the one-copy lock every POSIX
// desktop shares), windows/ (the registry, files and console on Windows),
// web/ (the browser), headless/ (tests, replays and How to play's game).
// Only plain values cross this boundary.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/Registry.h"
#include "platform/Surface.h"

namespace pw {

// The game's display, in pixels: the size of the original handheld's screen.
// Every window shows it scaled, and the page is handed it by the game.
constexpr int kDisplayWidth = 240;
constexpr int kDisplayHeight = 320;

// A font request, the part of a LOGFONT record the game fills in: every
// text of the game asks for a bold Swiss face at some cell height, the rest
// of the record left zero. The glyph atlas holds that one face, so the text
// renderer reads only the height; weight and family say what was asked for.
struct LogFont {
    // The height of the character cell in pixels.
    int32_t height = 0;
    int32_t weight = 0;
    uint8_t pitchAndFamily = 0;
};

// Bold, Swiss family: the font every text of the game uses.
LogFont BoldSwissFont(int32_t height);

// Single-line text: measured and drawn the same on every machine. Drawn glyph
// pixels are exactly the text colour, every other pixel exactly the
// background colour, so that a keyed copy leaves no fringe.
class TextRenderer {
public:
    virtual ~TextRenderer() = default;
    virtual Size Measure(const LogFont& font, const std::u16string& text) = 0;
    // Draws text centred in dst, after filling dst with background.
    virtual void Draw(const LogFont& font, const std::u16string& text, Pixel colour, Pixel background,
                      Surface& dst) = 0;
};

// A complete RIFF WAVE image held in memory.
struct SoundData {
    int id = 0;
    const uint8_t* bytes = nullptr;
    size_t size = 0;
};

// Bitmaps, sounds and strings embedded into the executable, found by id.
class Resources {
public:
    virtual ~Resources() = default;
    // The decoded picture, or null when no bitmap has that id.
    virtual std::unique_ptr<Surface> LoadBitmap(int id) = 0;
    // The picture's size without decoding it where the store can (zero for
    // a missing bitmap).
    virtual Size BitmapSize(int id);
    // The same, decoded once and shared by everything that shows it: small
    // pictures (weights, keys, icons) are kept once decoded, bigger ones
    // while anything holds them.
    std::shared_ptr<const Surface> SharedBitmap(int id);
    // The sound's image, or null when no sound has that id. Never freed.
    virtual const SoundData* FindSound(int id) = 0;
    // The string cut to bufferChars - 1 characters, as a buffer of that many
    // characters with its terminator would hold it. Empty when missing.
    virtual std::u16string LoadString(int id, int bufferChars) = 0;

    // Pictures of at most this many pixels stay decoded.
    static constexpr int kKeptPixels = 4096;

protected:
    // For a store whose pictures change: what is shared now is decoded again
    // when next asked for.
    void ForgetSharedBitmaps() {
        kept_.clear();
        shared_.clear();
    }

private:
    std::unordered_map<int, std::shared_ptr<const Surface>> kept_;
    std::unordered_map<int, std::weak_ptr<const Surface>> shared_;
};

// Plays a sound asynchronously; a new sound cuts off the one playing.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void Play(const SoundData* sound) = 0;
};

// The millisecond tick count: unsigned 32-bit, wrapping.
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t Now() = 0;
};

struct DateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// The keys the game answers, whatever the machine calls them. The digit row
// and the numeric keypad give the same digits; both Enter keys give Enter.
enum class Key {
    None,
    Enter,
    Space,
    Escape,
    Tab,
    Left,
    Right,
    Up,
    Down,
    Backspace,
    Delete,
    F1,
    F11,
    A,
    B,
    H,
    M,
    O,
    P,
    R,
    Digit0,
    Digit1,
    Digit2,
    Digit3,
    Digit4,
    Digit5,
    Digit6,
    Digit7,
    Digit8,
    Digit9,
};

// Messages the window delivers to the main loop. Pen positions are display
// pixels, already mapped and clamped to the emulated display.
struct WindowEvent {
    enum class Type { Paint, Destroy, PenDown, PenMove, PenUp, KeyDown };
    Type type = Type::Paint;
    int x = 0;
    int y = 0;
    // For PenMove: true when exactly the primary button is held.
    bool primaryOnly = false;
    // For KeyDown: the key, and whether Shift was held with it.
    Key key = Key::None;
    bool shift = false;
};

// The controls of a bar beside the game's picture, in the order the keys
// go through them. Each acts as its key does: Sound as M, How to play as F1,
// Progress as P.
enum class BarControl { None, Sound, HowToPlay, Progress };

class Window {
public:
    // A wait for the next message with no time limit.
    static constexpr uint32_t kNoTimeout = UINT32_MAX;

    virtual ~Window() = default;
    virtual Size ClientSize() const = 0;
    // Copies one rectangle (left/top inclusive, right/bottom exclusive) of the
    // back buffer to the window.
    virtual void Present(const Surface& back, const Rect& area) = 0;
    // A window that keeps a picture of what it shows may lend it out as the
    // back buffer, so that the scene is composed straight into it and the
    // same pixels are not held twice; null when it does not. Only one scene
    // composes into it at a time: screens that take turns on the window share
    // one back buffer.
    virtual Surface* LentPicture() { return nullptr; }
    // Asks for a paint message (the whole window is repainted).
    virtual void Invalidate() = 0;
    // Posts the destroy message to the window's own queue.
    virtual void PostDestroy() = 0;
    // Whether the primary button is down now.
    virtual bool IsPrimaryButtonDown() = 0;
    // Takes the next waiting message without blocking.
    virtual bool PollEvent(WindowEvent& event) = 0;
    // Waits at most timeoutMs (kNoTimeout: as long as it takes) for the next
    // message.
    virtual bool WaitEvent(WindowEvent& event, uint32_t timeoutMs) = 0;
    // What the window shows now, in display pixels.
    virtual const Surface& Shown() const = 0;
    // Rings the area (display pixels, right and bottom exclusive) to show
    // what the keys act on; an empty area takes the ring away. The ring is
    // drawn over the picture in window pixels and is never part of Shown().
    virtual void ShowFocusRing(const Rect& area) { (void)area; }
    // Full screen on or off, where the window can be.
    virtual void SetFullscreen(bool on) { (void)on; }
    virtual bool IsFullscreen() const { return false; }

    // How to play, for a window that can show it. While picture is not null
    // the window shows it instead of its own (area of it just changed, or
    // all of it when it is new); null gives the window's own picture back,
    // all of it drawn again. The game's picture is never touched meanwhile.
    virtual void ShowInstead(const Surface* picture, const Rect& area) {
        (void)picture;
        (void)area;
    }
    // A hand at the stylus (display pixels), open while up and pressing
    // while down, drawn over the picture in window pixels as the ring is;
    // shown false takes it away.
    virtual void ShowHand(bool shown, int x, int y, bool down) {
        (void)shown;
        (void)x;
        (void)y;
        (void)down;
    }
    // One short line beside the game's picture (the title bar of a desktop
    // window); empty gives the usual one back.
    virtual void ShowCaption(const std::string& text) { (void)text; }
    // What a bar beside the game's picture shows, for a window that has one:
    // where the player is ("Level 6", "Set 4711 · level 6") and whether
    // sound is on. While the bar is there, the captions go to it too.
    virtual void ShowStatus(const std::string& place, bool soundOn) {
        (void)place;
        (void)soundOn;
    }
    // Marks the bar's control the keys act on (None: none of them).
    virtual void FocusBarControl(BarControl control) { (void)control; }
    // Whether a bar with controls shows beside the picture now.
    virtual bool HasBar() const { return false; }
};

class SystemTime {
public:
    virtual ~SystemTime() = default;
    virtual DateTime LocalNow() = 0;
};

// Everything a screen and its elements reach of the machine.
struct Platform {
    Window& window;
    Resources& resources;
    TextRenderer& text;
    SoundPlayer& sound;
    Clock& clock;
    Registry& registry;
    SystemTime& time;
};

}  // namespace pw
