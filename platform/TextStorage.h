#pragma once
// Where the registry keeps each key's values: named texts, each read and
// replaced whole. A file below the user's configuration folder on the
// desktop, the browser's local storage, or memory for a replay's private
// settings and for tests. The registry's rules (what reads as values, what
// may be replaced) are the same over all of them; a storage only moves the
// bytes and says what it knows of them.
#include <cstddef>
#include <map>
#include <string>

namespace pw {

class TextStorage {
public:
    enum class State {
        Absent,       // nothing stored under the name yet
        Stored,       // bytes hold what is stored (at most the limit asked for, plus one)
        Unreachable,  // the storage cannot be read now (blocked, failing, not a file)
    };
    struct Loaded {
        State state = State::Absent;
        std::string bytes;
        // False when what is stored is the player's to keep as it is (a file
        // made read-only): it is read, never replaced.
        bool replaceable = true;
        // Why it is unreachable, in a few words.
        std::string reason;
    };

    virtual ~TextStorage() = default;
    // Makes the place for the name ready (a folder), when it has one. False
    // when it can neither be found nor made.
    virtual bool Prepare(const std::string& name) {
        (void)name;
        return true;
    }
    // Reads no more than limit + 1 bytes: one past the limit is enough to
    // know that what is stored is too large.
    virtual Loaded Load(const std::string& name, size_t limit) = 0;
    // Replaces the whole text; false, with the reason, when it could not be
    // stored (nothing changed).
    virtual bool Save(const std::string& name, const std::string& bytes, std::string& reason) = 0;
    // The name as the player would look for it (a file's path).
    virtual std::string Where(const std::string& name) const { return name; }
};

class MemoryTextStorage : public TextStorage {
public:
    Loaded Load(const std::string& name, size_t limit) override {
        Loaded loaded;
        auto found = texts.find(name);
        if (found == texts.end()) return loaded;
        loaded.state = State::Stored;
        loaded.bytes = found->second.substr(0, limit + 1);
        return loaded;
    }
    bool Save(const std::string& name, const std::string& bytes, std::string&) override {
        texts[name] = bytes;
        return true;
    }

    std::map<std::string, std::string> texts;
};

}  // namespace pw
