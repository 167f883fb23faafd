#include "platform/RegistryExport.h"

#include <cstddef>

namespace pw {

namespace {

const char* const kBlanks = " \t\r\v\f";

std::string Trimmed(const std::string& line) {
    size_t first = line.find_first_not_of(kBlanks);
    if (first == std::string::npos) return std::string();
    size_t last = line.find_last_not_of(kBlanks);
    return line.substr(first, last - first + 1);
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

// Reads a quoted text starting at text[at] == '"', understanding the two
// escapes of the format. Any other backslash makes the text unreadable rather
// than guessed at.
bool ReadQuoted(const std::string& text, size_t& at, std::string& out) {
    if (at >= text.size() || text[at] != '"') return false;
    out.clear();
    for (++at; at < text.size(); ++at) {
        char c = text[at];
        if (c == '"') {
            ++at;
            return true;
        }
        if (c == '\\') {
            if (at + 1 >= text.size()) return false;
            char next = text[at + 1];
            if (next != '\\' && next != '"') return false;
            out += next;
            ++at;
        } else {
            out += c;
        }
    }
    return false;
}

void SkipBlanks(const std::string& text, size_t& at) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
}

struct ValueLine {
    std::string name;
    bool isString = false;
    std::string data;
};

// A line of the form "name"=<data>. When the name and '=' can be read but the
// data is not a well-formed string (another type, a cut-off line), the line
// still names the value, so that writing the value replaces it.
std::optional<ValueLine> ParseValueLine(const std::string& line) {
    std::string text = Trimmed(line);
    ValueLine value;
    size_t at = 0;
    if (!ReadQuoted(text, at, value.name)) return std::nullopt;
    SkipBlanks(text, at);
    if (at >= text.size() || text[at] != '=') return std::nullopt;
    ++at;
    SkipBlanks(text, at);
    std::string data;
    if (ReadQuoted(text, at, data)) {
        SkipBlanks(text, at);
        if (at == text.size()) {
            value.isString = true;
            value.data = data;
        }
    }
    return value;
}

// The key name of a line "[name]", or nothing for any other line.
std::optional<std::string> ParseKeyLine(const std::string& line) {
    std::string text = Trimmed(line);
    if (text.size() < 2 || text.front() != '[' || text.back() != ']') return std::nullopt;
    return Trimmed(text.substr(1, text.size() - 2));
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out;
}

bool FitsOnOneLine(const std::string& text) {
    return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

}  // namespace

RegistryExport RegistryExport::Parse(const std::string& text) {
    RegistryExport result;
    size_t start = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;  // a byte order mark left by an editor
    size_t firstBreak = text.find('\n', start);
    if (firstBreak != std::string::npos && firstBreak > start && text[firstBreak - 1] == '\r')
        result.lineEnd = "\r\n";
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        result.lines.push_back(line);
        start = end + 1;
    }
    return result;
}

bool RegistryExport::HasHeader() const {
    if (lines.empty()) return false;
    std::string first = Trimmed(lines.front());
    return first == kHeader || first == "REGEDIT4";
}

RegistryExport::Located RegistryExport::Locate(const std::string& keyName, const std::string& name) const {
    Located found;
    bool inKey = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        int index = static_cast<int>(i);
        if (std::optional<std::string> key = ParseKeyLine(lines[i])) {
            inKey = SameName(*key, keyName);
            if (inKey) found.keyEnd = index + 1;
            continue;
        }
        if (!inKey) continue;
        if (!Trimmed(lines[i]).empty()) found.keyEnd = index + 1;
        std::optional<ValueLine> value = ParseValueLine(lines[i]);
        if (value && SameName(value->name, name)) found.valueLine = index;
    }
    return found;
}

std::optional<std::string> RegistryExport::StringValue(const std::string& keyName,
                                                       const std::string& name) const {
    Located found = Locate(keyName, name);
    if (found.valueLine < 0) return std::nullopt;
    std::optional<ValueLine> value = ParseValueLine(lines[found.valueLine]);
    if (!value || !value->isString) return std::nullopt;
    return value->data;
}

bool RegistryExport::SetStringValue(const std::string& keyName, const std::string& name,
                                    const std::string& value) {
    if (!FitsOnOneLine(keyName) || !FitsOnOneLine(name) || !FitsOnOneLine(value)) return false;
    if (!HasHeader()) lines.insert(lines.begin(), {kHeader, ""});
    std::string line = "\"" + Escaped(name) + "\"=\"" + Escaped(value) + "\"";
    Located found = Locate(keyName, name);
    if (found.valueLine >= 0) {
        lines[found.valueLine] = line;
    } else if (found.keyEnd >= 0) {
        lines.insert(lines.begin() + found.keyEnd, line);
    } else {
        if (!Trimmed(lines.back()).empty()) lines.push_back("");
        lines.push_back("[" + keyName + "]");
        lines.push_back(line);
    }
    return true;
}

std::string RegistryExport::Text() const {
    std::string text;
    for (const std::string& line : lines) text += line + lineEnd;
    return text;
}

}  // namespace pw
