// The string table: the game's own texts. "v. 1.1" is the title's
// lettering, part of its artwork, not the package's version (which
// CMakeLists.txt holds).
#include "resources/EmbeddedResources.h"

namespace pw {

namespace {
struct StringEntry {
    int id;
    const char16_t* text;
};
const StringEntry kStrings[] = {
    {1, u"Pivot Warden"}, {3, u"FULCRUMLY"}, {206, u"v. 1.1"}, {207, u"\u00A9 Marblequill"}, {208, u"Score"},
};
}  // namespace

const char16_t* FindEmbeddedString(int id) {
    for (const StringEntry& entry : kStrings)
        if (entry.id == id) return entry.text;
    return nullptr;
}

}  // namespace pw
