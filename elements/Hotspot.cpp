#include "elements/Hotspot.h"

#include "resources/ResourceIds.h"
#include "scene/Screen.h"

namespace pw {

const SoundData* Hotspot::clickSound = nullptr;

namespace {
// The shared click is kept as our own copy of the sound's record: its bytes
// belong to the program and live as long as it does, but the record belongs
// to the resource store that found it, which may go first.
SoundData clickSoundRecord;
}  // namespace

Hotspot::Hotspot(Screen* screen_, int32_t w, int32_t h) : Figure(screen_) {
    SetWidth(w);
    SetHeight(h);
    enabled = true;
    if (clickSound == nullptr) {
        if (const SoundData* found = GetPlatform().resources.FindSound(res::kClickSound)) {
            clickSoundRecord = *found;
            clickSound = &clickSoundRecord;
        }
    }
}

const char16_t* Hotspot::GetKindName() const { return u"Hotspot"; }

void Hotspot::OnPenDown(int32_t px, int32_t py) {
    if (clickSound != nullptr) GetPlatform().sound.Play(clickSound);
    Figure::OnPenDown(px, py);
}

}  // namespace pw
