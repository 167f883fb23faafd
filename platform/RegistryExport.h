#pragma once
// The text of a settings file in the form of a registry export:
//
//     Windows Registry Editor Version 5.00
//
//     [HKEY_CURRENT_USER\Software\Marblequill\Pivotwarden]
//     "score"="48"
//
// The text is held line by line so that a rewrite keeps every line it does not
// change: comments, values of other types, other keys and lines it cannot make
// sense of all survive, because a player may have edited the file by hand.
#include <optional>
#include <string>
#include <vector>

namespace pw {

class RegistryExport {
public:
    static constexpr const char* kHeader = "Windows Registry Editor Version 5.00";

    // Never fails: a line that is not understood is kept as it is. A missing
    // header does not stop values from being read; hand-written files often
    // lack it. CRLF line ends are accepted and kept.
    static RegistryExport Parse(const std::string& text);

    // The string value `name` under the key `keyName` (for example
    // "HKEY_CURRENT_USER\Software\Marblequill\Pivotwarden"), unescaped.
    // Missing when there is no such value or it holds another type (a dword,
    // hex data, a deletion), which the game cannot use. Key and value names
    // compare without regard to ASCII case, as the registry does; when a value
    // appears more than once the last one counts, as an import would leave it.
    std::optional<std::string> StringValue(const std::string& keyName, const std::string& name) const;

    // Sets the value in place of the one StringValue would find, or adds it to
    // the key (adding the key, and the header when missing). False, with
    // nothing changed, for text that a line of the file cannot hold: line
    // breaks and zero characters.
    bool SetStringValue(const std::string& keyName, const std::string& name, const std::string& value);

    std::string Text() const;

private:
    struct Located {
        int keyEnd = -1;     // index after the last line of the last block of the key, or -1
        int valueLine = -1;  // index of the line that holds the value, or -1
    };
    Located Locate(const std::string& keyName, const std::string& name) const;
    bool HasHeader() const;

    std::vector<std::string> lines;  // without their line ends
    std::string lineEnd = "\n";      // as the file had it, so a rewrite does not mix line ends
};

}  // namespace pw
