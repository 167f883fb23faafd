#pragma once
// The registry kept in named texts instead of files: the key
// "Software\Marblequill\Pivotwarden" is the text named
// "Marblequill/Pivotwarden/settings.reg", holding the same registry-export
// text the desktop's settings file holds, read and written by the same code.
//
// As with the file, every read loads the text and every write replaces it
// whole. A text that is too large or holds zero characters (binary data)
// reads as having no values and is replaced by the next write; storage that
// cannot be read reads as having no values and is left alone.
#include <cstddef>
#include <memory>
#include <string>

#include "platform/Registry.h"
#include "platform/TextStorage.h"

namespace pw {

class TextRegistry : public Registry {
public:
    static constexpr size_t kMaxTextBytes = 1 << 20;

    // storage must outlive the registry and every key it opens.
    explicit TextRegistry(TextStorage& storage) : storage_(storage) {}

    // Null for a path with an empty part or a '/' in a part. A leading
    // "Software\" is dropped from the text's name, as from the desktop's folder.
    std::unique_ptr<RegistryKey> CreateKey(const std::string& path) override;

    // The name of the text that holds the key's values, or empty for a bad path.
    static std::string TextName(const std::string& path);

private:
    TextStorage& storage_;
};

}  // namespace pw
