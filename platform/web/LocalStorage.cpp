#include "platform/web/LocalStorage.h"

#include <algorithm>
#include <cstdlib>

#include "platform/web/PageContract.h"

namespace pw {

TextStorage::Loaded LocalStorage::Load(const std::string& name, size_t limit) {
    Loaded loaded;
    char* copy = nullptr;
    int length = 0;
    const int found = pw_storage_load(name.c_str(), &copy, &length);
    if (found != 1) {
        if (found != 0) {
            loaded.state = State::Unreachable;
            loaded.reason = "the browser's storage cannot be read";
        }
        return loaded;
    }
    loaded.state = State::Stored;
    loaded.bytes.assign(copy, std::min(static_cast<size_t>(length), limit + 1));
    std::free(copy);
    return loaded;
}

bool LocalStorage::Save(const std::string& name, const std::string& bytes, std::string& reason) {
    if (pw_storage_save(name.c_str(), bytes.c_str(), static_cast<int>(bytes.size())) == 1) return true;
    reason = "the browser's storage is full or blocked";
    return false;
}

}  // namespace pw
