#pragma once
// The game the pen-event fuzzer plays: one game for the whole run, started
// over for each input as if built anew (no settings, the input's seed, the
// title showing) and put away after it, and each input decoded into pen
// downs, moves and ups at any place and clock advances from a millisecond to
// a few seconds (long enough for the pan flash to finish), handled as the
// main loop handles them, window messages included, so that the close icon
// really closes the game. The settings are kept in memory, in the text the
// desktop's settings file holds, written and read by the same code; only the
// file system calls are left out.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "app/MainLoop.h"
#include "platform/TextRegistry.h"
#include "platform/TextStorage.h"
#include "platform/headless/HeadlessPlatform.h"
#include "resources/ResourceIds.h"
#include "scene/Screen.h"
#include "settings/SettingsStore.h"
#include "tests/fuzz/FuzzFolder.h"

namespace pw::fuzz {

// The game's window, a picture in memory. Nothing the game does reads it
// back, and the fuzzer does not look at it, so presenting only notes the area
// unless a test asks for the picture.
class FuzzWindow : public HeadlessWindow {
public:
    void Present(const Surface& back, const Rect& area) override {
        if (keepPicture) return HeadlessWindow::Present(back, area);
        ++presentCount;
        lastPresented = area;
    }
    bool keepPicture = false;
};

class PenEventsGame {
public:
    PenEventsGame() : platform(folder.root) {}
    PenEventsGame(const PenEventsGame&) = delete;
    PenEventsGame& operator=(const PenEventsGame&) = delete;

    // The first two bytes seed the game; four bytes a step follow.
    static constexpr size_t kHeaderBytes = 2;
    static uint32_t SeedOf(const uint8_t* data) { return static_cast<uint32_t>(data[0] | data[1] << 8); }

    // The game starts over on the screens it has, even after an input closed
    // it (the close icon), which keeps the ended game for this. Nothing of
    // the last input is left: its settings, clock, queued messages and sounds
    // are gone too. The loop's keyboard play is kept, but only keys change
    // what it does and the inputs hold none.
    void StartOver(uint32_t seed) {
        settingsText.texts.clear();
        platform.clock.now = 0;
        platform.sound.played.clear();
        WindowEvent dropped;
        while (window.PollEvent(dropped)) {
        }
        if (loop) {
            loop->Restart(seed);
        } else {
            loop = std::make_unique<MainLoop>(game);
            loop->KeepClosedGame();
            loop->Start(seed);
        }
    }

    void Play(const uint8_t* data, size_t size) {
        for (size_t i = kHeaderBytes; i + 4 <= size && !loop->QuitPosted(); i += 4) {
            const uint8_t what = data[i];
            const int x = data[i + 1] * 240 / 256;
            const int y = data[i + 2] * 320 / 256;
            static constexpr WindowEvent::Type kTypes[] = {
                WindowEvent::Type::PenDown, WindowEvent::Type::PenMove, WindowEvent::Type::PenUp,
                WindowEvent::Type::Paint};
            loop->HandleMessage(WindowEvent{kTypes[what % 4], x, y, (what & 0x80) == 0});
            HandleWindowMessages();
            // Small steps mostly; now and then a long one, passed as many
            // ticks so that animations step through their frames.
            const uint32_t wait = (what & 0x40) != 0 ? data[i + 3] * 16u : data[i + 3] % 32u;
            for (uint32_t passed = 0; passed <= wait && loop->App() != nullptr; passed += 1 + wait / 64) {
                platform.clock.now += 1 + wait / 64;
                loop->App()->current->Tick(platform.clock.now);
            }
            HandleWindowMessages();
        }
    }

    // After each input: the game kept, open or closed, frees what only the
    // game in play holds (the puzzle's weights, running animations, the
    // settings), which the next StartOver would replace. Every game put away
    // then holds the same blocks, so that a whole input frees as many as it
    // allocates unless something leaks; the fuzzer looks for leaks only after
    // an input that allocates more.
    void PutAway() {
        if (loop) loop->PutAway();
        settingsText.texts.clear();
    }

    // The settings as the desktop's settings file would hold them; empty
    // when nothing was written.
    std::string SettingsText() const {
        auto found = settingsText.texts.find(TextRegistry::TextName(SettingsStore::kKeyPath));
        return found == settingsText.texts.end() ? std::string() : found->second;
    }

    // Handles what the window queued (paints, the destroy from the close icon).
    void HandleWindowMessages() {
        WindowEvent message;
        while (window.PollEvent(message)) loop->HandleMessage(message);
    }

    MemoryTextStorage settingsText;
    TextRegistry registry{settingsText};
    // The headless platform's own file registry is never used; its folder is
    // a throwaway one all the same, so that nothing can reach the player's.
    FuzzFolder folder;
    HeadlessPlatform platform;
    FuzzWindow window;
    // The headless platform with this window and the settings in memory.
    Platform game{window, platform.resources, platform.text, platform.sound, platform.clock, registry, platform.time};
    // The title lets go of its picture once the game shows, since a game
    // shows it once; here every input shows it again, so the picture is kept
    // decoded (the same pixels the title would decode each time).
    std::shared_ptr<const Surface> titlePicture = platform.resources.SharedBitmap(res::kTitlePicture);
    // Declared after the platform, so that the game goes first.
    std::unique_ptr<MainLoop> loop;
};

}  // namespace pw::fuzz
