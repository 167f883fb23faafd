#include "platform/windows/WindowsRegistry.h"

#include <windows.h>

#include <vector>

#include "platform/windows/WideText.h"

namespace pw {

namespace {

class WindowsRegistryKey : public RegistryKey {
public:
    WindowsRegistryKey(HKEY key, std::string path, TextRegistry::WriteFailures& failures)
        : key_(key), path_(std::move(path)), failures_(failures) {}
    ~WindowsRegistryKey() override { RegCloseKey(key_); }
    WindowsRegistryKey(const WindowsRegistryKey&) = delete;
    WindowsRegistryKey& operator=(const WindowsRegistryKey&) = delete;

    std::optional<size_t> ValueSize(const std::string& name) override {
        std::wstring text;
        if (!Load(name, text)) return std::nullopt;
        return (text.size() + 1) * sizeof(wchar_t);
    }

    bool ReadValue(const std::string& name, std::string& text, size_t bufferChars) override {
        std::wstring wide;
        if (!Load(name, wide) || wide.size() + 1 > bufferChars) return false;
        text = Utf8FromWide(wide);
        return true;
    }

    bool WriteValue(const std::string& name, const std::string& text) override {
        const std::wstring wide = WideFromUtf8(text);
        const DWORD bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
        const LONG result = RegSetValueExW(key_, WideFromUtf8(name).c_str(), 0, REG_SZ,
                                           reinterpret_cast<const BYTE*>(wide.c_str()), bytes);
        if (result == ERROR_SUCCESS) return true;
        failures_.Report("cannot save the settings in 'HKEY_CURRENT_USER\\" + path_ +
                         "': " + SystemMessage(static_cast<unsigned long>(result)));
        return false;
    }

private:
    // The value's text up to its terminator. Only string values count; the
    // value may change size between the two calls, so it is asked again.
    bool Load(const std::string& name, std::wstring& text) {
        const std::wstring wideName = WideFromUtf8(name);
        for (int attempt = 0; attempt < 4; ++attempt) {
            DWORD type = 0;
            DWORD bytes = 0;
            if (RegQueryValueExW(key_, wideName.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
                type != REG_SZ)
                return false;
            // Room for a terminator the stored data may lack.
            std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
            DWORD got = bytes;
            const LONG result = RegQueryValueExW(key_, wideName.c_str(), nullptr, &type,
                                                 reinterpret_cast<BYTE*>(data.data()), &got);
            if (result == ERROR_MORE_DATA) continue;
            if (result != ERROR_SUCCESS || type != REG_SZ) return false;
            const size_t chars = got / sizeof(wchar_t);
            size_t length = 0;
            while (length < chars && data[length] != L'\0') ++length;
            text.assign(data.data(), length);
            return true;
        }
        return false;
    }

    HKEY key_;
    std::string path_;
    TextRegistry::WriteFailures& failures_;
};

}  // namespace

std::unique_ptr<RegistryKey> WindowsRegistry::CreateKey(const std::string& path) {
    if (path.empty()) return nullptr;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, WideFromUtf8(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<WindowsRegistryKey>(key, path, failures_);
}

}  // namespace pw
