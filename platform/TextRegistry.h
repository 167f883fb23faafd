#pragma once
// The registry: each key is one named text holding the key's values in the
// text form of a registry export, kept by a TextStorage. The key
// "Software\Marblequill\Pivotwarden" is the text named
// "Marblequill/Pivotwarden/settings.reg": on the desktop, that file below the
// user's configuration folder; in the browser, the local storage item of
// that name.
//
// Every read loads the text and every write replaces it whole. The text is
// read as UTF-8, or as UTF-16 when it starts with a byte order mark (as the
// system's own exports are) or has a zero in every pair of bytes (UTF-16
// without the mark), and always written as UTF-8.
//
// What cannot be made sense of never stops the game: a text holding zero
// bytes (binary data) reads as having no values, and the next write keeps it
// beside itself (".bak" added to the name) before replacing it. A text
// larger than kMaxTextBytes is neither read nor replaced, and neither is one
// that cannot be reached, nor one the player made read-only: what it holds
// is unknown, or meant to stay. Play goes on with the values in memory, and
// the first write that fails is reported (OnWriteFailure), once for the run.
#include <cstddef>
#include <functional>
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

    // Null for a path with an empty part, ".", "..", a '/' or a zero in a
    // part, and when the storage cannot make its place. A leading
    // "Software\" is dropped from the text's name.
    std::unique_ptr<RegistryKey> CreateKey(const std::string& path) override;

    // The name of the text that holds the key's values, or empty for a bad path.
    static std::string TextName(const std::string& path);

    // Called with a one-line message for the first write that fails from now on.
    void OnWriteFailure(std::function<void(const std::string&)> report) {
        failures_.report = std::move(report);
        failures_.reported = false;
    }

    struct WriteFailures {
        std::function<void(const std::string&)> report;
        bool reported = false;
        void Report(const std::string& message);
    };

private:
    TextStorage& storage_;
    WriteFailures failures_;
};

}  // namespace pw
