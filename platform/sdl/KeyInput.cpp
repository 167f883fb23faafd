#include "platform/sdl/KeyInput.h"

#include <SDL.h>

#include "platform/KeyCodes.h"

namespace pw {

namespace {

Key KeypadDigit(int32_t scancode) {
    if (scancode == SDL_SCANCODE_KP_0) return Key::Digit0;
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9)
        return static_cast<Key>(static_cast<int>(Key::Digit1) + (scancode - SDL_SCANCODE_KP_1));
    return Key::None;
}

Key FromKeycode(int32_t keycode) {
    if (keycode >= SDLK_0 && keycode <= SDLK_9)
        return static_cast<Key>(static_cast<int>(Key::Digit0) + (keycode - SDLK_0));
    switch (keycode) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return Key::Enter;
        case SDLK_SPACE:
            return Key::Space;
        case SDLK_ESCAPE:
            return Key::Escape;
        case SDLK_TAB:
            return Key::Tab;
        case SDLK_LEFT:
            return Key::Left;
        case SDLK_RIGHT:
            return Key::Right;
        case SDLK_UP:
            return Key::Up;
        case SDLK_DOWN:
            return Key::Down;
        case SDLK_BACKSPACE:
            return Key::Backspace;
        case SDLK_DELETE:
            return Key::Delete;
        case SDLK_F1:
            return Key::F1;
        case SDLK_F11:
            return Key::F11;
        case SDLK_a:
            return Key::A;
        case SDLK_b:
            return Key::B;
        case SDLK_h:
            return Key::H;
        case SDLK_m:
            return Key::M;
        case SDLK_o:
            return Key::O;
        case SDLK_p:
            return Key::P;
        case SDLK_r:
            return Key::R;
        default:
            return Key::None;
    }
}

}  // namespace

bool KeyInput::Translate(int32_t keycode, int32_t scancode, uint16_t modifiers, bool repeat,
                         WindowEvent& out) {
    if ((modifiers & (KMOD_CTRL | KMOD_ALT | KMOD_GUI)) != 0) return false;
    Key key = KeypadDigit(scancode);
    if (key == Key::None) key = FromKeycode(keycode);
    if (key == Key::None) return false;
    if (repeat && !KeyRepeats(key)) return false;
    out = WindowEvent{};
    out.type = WindowEvent::Type::KeyDown;
    out.key = key;
    out.shift = (modifiers & KMOD_SHIFT) != 0;
    return true;
}

}  // namespace pw
