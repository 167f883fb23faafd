#pragma once
// The resource files embedded into the executable at build time.
#include <cstddef>
#include <cstdint>

namespace pw {

// Demo: the recordings How to play shows, 1 and 2 in the order shown.
enum class EmbeddedKind { Bitmap, Wave, Icon, GlyphAtlas, Demo };

struct EmbeddedResource {
    EmbeddedKind kind;
    int id;
    const uint8_t* begin;
    const uint8_t* end;
    size_t Size() const { return static_cast<size_t>(end - begin); }
};

extern const EmbeddedResource kEmbeddedResources[];
extern const size_t kEmbeddedResourceCount;

// The resource of that kind and id, or null.
const EmbeddedResource* FindEmbedded(EmbeddedKind kind, int id);

// The string table entry, or null when there is none.
const char16_t* FindEmbeddedString(int id);

}  // namespace pw
