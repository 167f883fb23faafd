#include "platform/Platform.h"

namespace pw {

LogFont BoldSwissFont(int32_t height) {
    LogFont font;
    font.height = height;
    font.weight = 700;
    font.pitchAndFamily = 0x20;
    return font;
}

}  // namespace pw
