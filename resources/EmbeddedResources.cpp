#include "resources/EmbeddedResources.h"

namespace pw {

const EmbeddedResource* FindEmbedded(EmbeddedKind kind, int id) {
    for (size_t i = 0; i < kEmbeddedResourceCount; ++i)
        if (kEmbeddedResources[i].kind == kind && kEmbeddedResources[i].id == id)
            return &kEmbeddedResources[i];
    return nullptr;
}

}  // namespace pw
