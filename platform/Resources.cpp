#include "platform/Platform.h"

namespace pw {

Size Resources::BitmapSize(int id) {
    const std::unique_ptr<Surface> picture = LoadBitmap(id);
    return picture ? Size{picture->Width(), picture->Height()} : Size{};
}

std::shared_ptr<const Surface> Resources::SharedBitmap(int id) {
    if (auto kept = kept_.find(id); kept != kept_.end()) return kept->second;
    if (auto shared = shared_.find(id); shared != shared_.end())
        if (std::shared_ptr<const Surface> picture = shared->second.lock()) return picture;
    std::shared_ptr<const Surface> picture = LoadBitmap(id);
    if (picture == nullptr) return nullptr;
    if (static_cast<int64_t>(picture->Width()) * picture->Height() <= kKeptPixels)
        kept_[id] = picture;
    else
        shared_[id] = picture;
    return picture;
}

}  // namespace pw
