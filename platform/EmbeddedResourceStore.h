#pragma once
// Resources found by id among those embedded into the executable.
#include <map>

#include "platform/Platform.h"

namespace pw {

class EmbeddedResourceStore : public Resources {
public:
    std::unique_ptr<Surface> LoadBitmap(int id) override;
    Size BitmapSize(int id) override;  // from the file's header
    const SoundData* FindSound(int id) override;
    std::u16string LoadString(int id, int bufferChars) override;

private:
    std::map<int, SoundData> sounds_;
};

// Decodes an uncompressed 4- or 8-bit (or 24-bit) BMP image; null when the
// data is not one.
std::unique_ptr<Surface> DecodeBmp(const uint8_t* data, size_t size);

}  // namespace pw
