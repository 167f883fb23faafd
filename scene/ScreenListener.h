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
    // A second report that no screen makes: a listener that does not care
    // for it need not answer it.
    virtual void OnScreenNotice(Screen* source) { (void)source; }
};

}  // namespace pw
