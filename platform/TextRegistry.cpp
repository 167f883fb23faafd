#include "platform/TextRegistry.h"

#include <optional>
#include <utility>

#include "platform/RegistryExport.h"

namespace pw {

namespace {

// Characters as the registry counts them: UTF-16 code units.
size_t Utf16Units(const std::string& text) {
    size_t units = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) ++units;
        if (c >= 0xF0) ++units;  // four-byte characters take a surrogate pair
    }
    return units;
}

class TextRegistryKey : public RegistryKey {
public:
    TextRegistryKey(TextStorage& storage, std::string textName, std::string keyName)
        : storage(storage), textName(std::move(textName)), keyName(std::move(keyName)) {}

    std::optional<size_t> ValueSize(const std::string& name) override {
        std::optional<std::string> value = Read(name);
        if (!value) return std::nullopt;
        return (Utf16Units(*value) + 1) * 2;
    }

    // A text that does not fit reads as missing rather than cut short.
    bool ReadValue(const std::string& name, std::string& text, size_t bufferChars) override {
        std::optional<std::string> value = Read(name);
        if (!value || Utf16Units(*value) + 1 > bufferChars) return false;
        text = *value;
        return true;
    }

    bool WriteValue(const std::string& name, const std::string& text) override {
        std::string stored;
        const TextStorage::State state = storage.Load(textName, stored);
        if (state == TextStorage::State::Unreachable) return false;
        if (state == TextStorage::State::Absent || !IsSound(stored)) stored.clear();
        RegistryExport file = RegistryExport::Parse(stored);
        if (!file.SetStringValue(keyName, name, text)) return false;
        return storage.Save(textName, file.Text());
    }

private:
    static bool IsSound(const std::string& text) {
        return text.size() <= TextRegistry::kMaxTextBytes && text.find('\0') == std::string::npos;
    }

    std::optional<std::string> Read(const std::string& name) const {
        std::string stored;
        if (storage.Load(textName, stored) != TextStorage::State::Readable || !IsSound(stored))
            return std::nullopt;
        return RegistryExport::Parse(stored).StringValue(keyName, name);
    }

    TextStorage& storage;
    const std::string textName;
    const std::string keyName;
};

// Registry paths compare without regard to case, as Windows does.
bool IsSoftware(const std::string& part) {
    static const char kSoftware[] = "software";
    if (part.size() != sizeof kSoftware - 1) return false;
    for (size_t i = 0; i < part.size(); ++i) {
        const char c = part[i] >= 'A' && part[i] <= 'Z' ? static_cast<char>(part[i] - 'A' + 'a') : part[i];
        if (c != kSoftware[i]) return false;
    }
    return true;
}

}  // namespace

std::string TextRegistry::TextName(const std::string& path) {
    std::string name;
    size_t start = 0;
    bool first = true;
    for (;;) {
        const size_t end = path.find('\\', start);
        const std::string part =
            path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty() || part.find('/') != std::string::npos) return std::string();
        const bool software = first && end != std::string::npos && IsSoftware(part);
        if (!software) name += part + "/";
        first = false;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return name + "settings.reg";
}

std::unique_ptr<RegistryKey> TextRegistry::CreateKey(const std::string& path) {
    std::string textName = TextName(path);
    if (textName.empty()) return nullptr;
    return std::make_unique<TextRegistryKey>(storage_, std::move(textName), "HKEY_CURRENT_USER\\" + path);
}

}  // namespace pw
