// Arbitrary stylus input on the running game: each input starts a fresh game
// from no settings and decodes into pen downs, moves and ups at any place and
// clock advances from a millisecond to a few seconds (long enough for the pan
// flash to finish), handled as the main loop handles them, window messages
// included, so that the close icon really closes the game.
#include <cstddef>
#include <cstdint>

#include "app/MainLoop.h"
#include "platform/headless/HeadlessPlatform.h"
#include "scene/Screen.h"
#include "tests/fuzz/FuzzFolder.h"

namespace {

// Handles what the window queued (paints, the destroy from the close icon).
void HandleWindowMessages(pw::HeadlessPlatform& platform, pw::MainLoop& loop) {
    pw::WindowEvent message;
    while (platform.window.PollEvent(message)) loop.HandleMessage(message);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const pw::fuzz::FuzzFolder& folder = pw::fuzz::Folder();
    folder.Clear();
    pw::HeadlessPlatform platform(folder.root);
    pw::MainLoop loop(platform.Get());
    loop.Start(static_cast<uint32_t>(data[0] | data[1] << 8));
    pw::VirtualClock& clock = platform.clock;
    // Four bytes a step: what, x, y, how long until the next step.
    for (size_t i = 2; i + 4 <= size && !loop.QuitPosted(); i += 4) {
        const uint8_t what = data[i];
        const int x = data[i + 1] * 240 / 256;
        const int y = data[i + 2] * 320 / 256;
        pw::WindowEvent event{pw::WindowEvent::Type::PenMove, x, y, (what & 0x80) == 0};
        switch (what % 4) {
            case 0:
                event.type = pw::WindowEvent::Type::PenDown;
                break;
            case 1:
                event.type = pw::WindowEvent::Type::PenMove;
                break;
            case 2:
                event.type = pw::WindowEvent::Type::PenUp;
                break;
            default:
                event.type = pw::WindowEvent::Type::Paint;
                break;
        }
        loop.HandleMessage(event);
        HandleWindowMessages(platform, loop);
        // Small steps mostly; now and then a long one, passed as many ticks
        // so that animations step through their frames.
        const uint32_t wait = (what & 0x40) != 0 ? data[i + 3] * 16u : data[i + 3] % 32u;
        for (uint32_t passed = 0; passed <= wait && loop.App() != nullptr; passed += 1 + wait / 64) {
            clock.now += 1 + wait / 64;
            loop.App()->current->Tick(clock.now);
        }
        HandleWindowMessages(platform, loop);
    }
    return 0;
}
