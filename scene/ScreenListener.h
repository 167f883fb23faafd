#pragma once
#include <cstdint>

namespace pw {

class Figure;
class Screen;

// How a screen reports to the application.
class ScreenListener {
public:
    virtual ~ScreenListener() = default;
    // source is the reporting screen, element the element involved.
    virtual void OnScreenEvent(Screen* source, Figure* element, int32_t x, int32_t y) = 0;
    // Reserved for screens that want to tell more; no screen calls it yet.
    virtual void OnScreenNotice(Screen* source) = 0;
};

}  // namespace pw
