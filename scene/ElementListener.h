#pragma once
#include <cstdint>

namespace pw {

class Figure;

// How an element reports the stylus to whoever listens (the screens).
class ElementListener {
public:
    virtual ~ElementListener() = default;
    virtual void OnElementPressed(Figure* element, int32_t x, int32_t y) = 0;
    virtual void OnElementReleased(Figure* element, int32_t x, int32_t y) = 0;
};

}  // namespace pw
