#include "platform/TextRegistry.h"

#include <optional>
#include <utility>

#include "platform/RegistryExport.h"
#include "platform/TextFormat.h"

namespace pw {

namespace {

enum class Utf16 { No, Little, Big };

// A registry export as the system writes it is UTF-16 with a byte order
// mark; some tools leave the mark out, and then every other byte of the
// text (all of it ASCII at the start) is zero.
Utf16 Utf16Order(const std::string& bytes, size_t& start) {
    start = 0;
    if (bytes.size() < 2 || bytes.size() % 2 != 0) return Utf16::No;
    const auto at = [&bytes](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    start = 2;
    if (at(0) == 0xFF && at(1) == 0xFE) return Utf16::Little;
    if (at(0) == 0xFE && at(1) == 0xFF) return Utf16::Big;
    start = 0;
    bool little = true, big = true;
    for (size_t i = 0; i < bytes.size() && i < 512; i += 2) {
        little = little && at(i) != 0 && at(i + 1) == 0;
        big = big && at(i) == 0 && at(i + 1) != 0;
    }
    return little ? Utf16::Little : big ? Utf16::Big : Utf16::No;
}

// UTF-16 is read as the UTF-8 text it stands for. Any other text is taken
// as it is.
std::string FromUtf16(const std::string& bytes) {
    size_t start = 0;
    const Utf16 order = Utf16Order(bytes, start);
    if (order == Utf16::No) return bytes;
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t i = start; i + 1 < bytes.size(); i += 2) {
        const unsigned char a = static_cast<unsigned char>(bytes[i]),
                            b = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(static_cast<char16_t>(order == Utf16::Little ? (b << 8 | a) : (a << 8 | b)));
    }
    return ToUtf8(units);
}

// Characters as the registry counts them: UTF-16 code units.
size_t Utf16Units(const std::string& text) {
    size_t units = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) ++units;  // a character starts at every byte that does not continue one
        if (c >= 0xF0) ++units;           // four-byte characters take a surrogate pair
    }
    return units;
}

// What a key's text holds, as far as the registry is concerned.
struct Reading {
    bool values = true;    // text holds values to parse (empty when nothing is stored yet)
    bool writable = true;  // a write may replace it
    bool damaged = false;  // binary: no values, kept aside before a write replaces it
    std::string text;
    std::string bytes;   // as stored, for the copy kept of a damaged text
    std::string reason;  // why it is not writable
};

Reading Read(TextStorage& storage, const std::string& name) {
    TextStorage::Loaded loaded = storage.Load(name, TextRegistry::kMaxTextBytes);
    Reading reading;
    if (loaded.state == TextStorage::State::Unreachable) {
        reading.values = reading.writable = false;
        reading.reason = loaded.reason;
        return reading;
    }
    if (loaded.bytes.size() > TextRegistry::kMaxTextBytes) {
        reading.values = reading.writable = false;
        reading.reason = "it is larger than " + std::to_string(TextRegistry::kMaxTextBytes / 1024) +
                         " KiB, and is left as it is";
        return reading;
    }
    reading.text = FromUtf16(loaded.bytes);
    if (reading.text.find('\0') != std::string::npos) {
        reading.values = false;
        reading.damaged = true;
        reading.text.clear();
        reading.bytes = std::move(loaded.bytes);
    }
    if (!loaded.replaceable) {
        reading.writable = false;
        reading.reason = "it is read-only, and is left as it is";
    }
    return reading;
}

class TextRegistryKey : public RegistryKey {
public:
    TextRegistryKey(TextStorage& storage, std::string textName, std::string keyName,
                    TextRegistry::WriteFailures& failures)
        : storage(storage), textName(std::move(textName)), keyName(std::move(keyName)), failures(failures) {}

    std::optional<size_t> ValueSize(const std::string& name) override {
        std::optional<std::string> value = Value(name);
        if (!value) return std::nullopt;
        return (Utf16Units(*value) + 1) * 2;
    }

    // A text that does not fit is not cut: a cut number would read as another
    // number, so such a value reads as missing instead.
    bool ReadValue(const std::string& name, std::string& text, size_t bufferChars) override {
        std::optional<std::string> value = Value(name);
        if (!value || Utf16Units(*value) + 1 > bufferChars) return false;
        text = *value;
        return true;
    }

    bool WriteValue(const std::string& name, const std::string& text) override {
        Reading reading = Read(storage, textName);
        if (!reading.writable) return Refuse(reading.reason);
        RegistryExport file = RegistryExport::Parse(reading.text);
        if (!file.SetStringValue(keyName, name, text)) return false;
        std::string reason;
        // What could not be read is kept aside before it is replaced: it may
        // be the player's, damaged or in a form not understood here.
        const std::string backup = textName + ".bak";
        if (reading.damaged && !storage.Save(backup, reading.bytes, reason))
            return Refuse("cannot keep the unreadable settings as '" + storage.Where(backup) +
                          "': " + reason);
        if (!storage.Save(textName, file.Text(), reason)) return Refuse(reason);
        return true;
    }

private:
    bool Refuse(const std::string& reason) {
        failures.Report("cannot save the settings in '" + storage.Where(textName) + "': " + reason);
        return false;
    }

    std::optional<std::string> Value(const std::string& name) const {
        Reading reading = Read(storage, textName);
        if (!reading.values) return std::nullopt;
        return RegistryExport::Parse(reading.text).StringValue(keyName, name);
    }

    TextStorage& storage;
    const std::string textName;
    const std::string keyName;
    TextRegistry::WriteFailures& failures;
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

// A part of a key's path becomes a part of the text's name (a folder on the
// desktop): nothing that could lead elsewhere.
bool IsSafePart(const std::string& part) {
    return !part.empty() && part != "." && part != ".." && part.find('/') == std::string::npos &&
           part.find('\0') == std::string::npos;
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
        if (!IsSafePart(part)) return std::string();
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
    if (textName.empty() || !storage_.Prepare(textName)) return nullptr;
    return std::make_unique<TextRegistryKey>(storage_, std::move(textName), "HKEY_CURRENT_USER\\" + path,
                                             failures_);
}

void TextRegistry::WriteFailures::Report(const std::string& message) {
    if (reported || !report) return;
    reported = true;
    report(message);
}

}  // namespace pw
