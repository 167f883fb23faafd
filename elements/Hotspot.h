#pragma once
// An invisible touch area that clicks when touched.
#include "platform/Platform.h"
#include "scene/Figure.h"

namespace pw {

class Hotspot : public Figure {
public:
    Hotspot(Screen* screen, int32_t w, int32_t h);
    const char16_t* GetKindName() const override;
    const Surface* GetSurface() override { return nullptr; }
    void OnPenDown(int32_t px, int32_t py) override;

    // The click shared by every hotspot, looked up once.
    static const SoundData* clickSound;
};

}  // namespace pw
