#include "elements/Hotspot.h"

#include "resources/ResourceIds.h"
#include "scene/Screen.h"

namespace pw {

const SoundData* Hotspot::clickSound = nullptr;

Hotspot::Hotspot(Screen* screen_, int32_t w, int32_t h) : Figure(screen_) {
    SetWidth(w);
    SetHeight(h);
    enabled = true;
    if (clickSound == nullptr) clickSound = GetPlatform().resources.FindSound(res::kClickSound);
}

const char16_t* Hotspot::GetKindName() const { return u"Hotspot"; }

void Hotspot::OnPenDown(int32_t px, int32_t py) {
    if (clickSound != nullptr) GetPlatform().sound.Play(clickSound);
    Figure::OnPenDown(px, py);
}

}  // namespace pw
