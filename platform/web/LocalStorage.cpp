#include "platform/web/LocalStorage.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdlib>

namespace pw {

namespace {

// Answers 0 for no item, 1 with the item's UTF-8 text (malloc'd) and its
// length in bytes, 2 when storage cannot be read.
// clang-format off
EM_JS(int, pw_storage_load, (const char* name, char** text, int* length), {
    var value;
    try {
        value = window.localStorage.getItem(UTF8ToString(name));
    } catch (e) {
        return 2;
    }
    if (value === null) return 0;
    // TextEncoder turns a lone surrogate into U+FFFD; stringToUTF8 would
    // take the character after it as its other half and lose it.
    var bytes = new TextEncoder().encode(value);
    var copy = _malloc(bytes.length + 1);
    if (!copy) return 2;
    HEAPU8.set(bytes, copy);
    HEAPU8[copy + bytes.length] = 0;
    HEAP32[text >> 2] = copy;
    HEAP32[length >> 2] = bytes.length;
    return 1;
});
// A tab whose game another tab took over writes nothing more: the page
// says so through Module.mayStore. Module.onStored hears of every write, for
// the page's own view of the settings.
EM_JS(int, pw_storage_save, (const char* name, const char* text, int length), {
    if (Module.mayStore && !Module.mayStore()) return 0;
    try {
        window.localStorage.setItem(UTF8ToString(name), UTF8ToString(text, length));
    } catch (e) {
        return 0;
    }
    if (Module.onStored) Module.onStored();
    return 1;
});
// clang-format on

}  // namespace

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
