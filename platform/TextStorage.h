#pragma once
// Where a registry keeps each key's values when there are no files: named
// texts, each read and replaced whole (the browser's local storage, or memory
// for a replay's private settings and for tests).
#include <map>
#include <string>

namespace pw {

class TextStorage {
public:
    enum class State {
        Absent,       // nothing stored under the name yet
        Readable,     // text holds what is stored
        Unreachable,  // the storage cannot be read now (blocked, failing)
    };
    virtual ~TextStorage() = default;
    virtual State Load(const std::string& name, std::string& text) = 0;
    // Replaces the whole text; false when it could not be stored (nothing changed).
    virtual bool Save(const std::string& name, const std::string& text) = 0;
};

class MemoryTextStorage : public TextStorage {
public:
    State Load(const std::string& name, std::string& text) override {
        auto found = texts.find(name);
        if (found == texts.end()) return State::Absent;
        text = found->second;
        return State::Readable;
    }
    bool Save(const std::string& name, const std::string& text) override {
        texts[name] = text;
        return true;
    }

    std::map<std::string, std::string> texts;
};

}  // namespace pw
