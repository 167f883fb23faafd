#pragma once
// Per-user settings store in the shape of a registry: open-or-create a key
// by path, ask whether a value exists and its size, read it, store a string
// value, close. A key is closed when its handle is destroyed.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace pw {

class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // Size in bytes of the value's data as stored (UTF-16 characters with the
    // terminating zero, two bytes each), or nothing when the value is missing
    // or cannot be read.
    virtual std::optional<size_t> ValueSize(const std::string& name) = 0;
    // Copies the value's text when it fits in bufferChars characters with its
    // terminator; false, with text untouched, when the value is missing,
    // cannot be read, or does not fit (a text is never cut short).
    virtual bool ReadValue(const std::string& name, std::string& text, size_t bufferChars) = 0;
    // Stores a string value; false when the write failed (nothing changed).
    virtual bool WriteValue(const std::string& name, const std::string& text) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;
    // Opens the key below the current user's root, creating it when missing.
    // Null when it can neither be opened nor created.
    virtual std::unique_ptr<RegistryKey> CreateKey(const std::string& path) = 0;
};

}  // namespace pw
