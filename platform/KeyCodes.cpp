#include "platform/KeyCodes.h"

namespace pw {

Key KeyFromCode(const std::string& code) {
    struct Named {
        const char* code;
        Key key;
    };
    static const Named kNamed[] = {
        {"Enter", Key::Enter},      {"NumpadEnter", Key::Enter},
        {"Space", Key::Space},      {"Escape", Key::Escape},
        {"Tab", Key::Tab},          {"ArrowLeft", Key::Left},
        {"ArrowRight", Key::Right}, {"ArrowUp", Key::Up},
        {"ArrowDown", Key::Down},   {"Backspace", Key::Backspace},
        {"Delete", Key::Delete},    {"F1", Key::F1},
        {"F11", Key::F11},          {"KeyA", Key::A},
        {"KeyB", Key::B},           {"KeyH", Key::H},
        {"KeyM", Key::M},           {"KeyO", Key::O},
        {"KeyP", Key::P},           {"KeyR", Key::R},
    };
    for (const Named& named : kNamed)
        if (code == named.code) return named.key;
    for (const char* prefix : {"Digit", "Numpad"}) {
        const std::string start(prefix);
        if (code.size() == start.size() + 1 && code.compare(0, start.size(), start) == 0 &&
            code.back() >= '0' && code.back() <= '9')
            return static_cast<Key>(static_cast<int>(Key::Digit0) + (code.back() - '0'));
    }
    return Key::None;
}

bool KeyRepeats(Key key) {
    return key == Key::Left || key == Key::Right || key == Key::Up || key == Key::Down || key == Key::Tab;
}

}  // namespace pw
