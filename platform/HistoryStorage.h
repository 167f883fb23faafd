#pragma once
// Where the results history lives: one text that grows by whole rows. A file
// below the user's data folder on the desktop, or memory for tests. A storage
// only moves the bytes; what a row is belongs to the history.
#include <string>

namespace pw {

class HistoryStorage {
public:
    enum class State { Absent, Stored, Unreachable };
    struct Loaded {
        State state = State::Absent;
        std::string bytes;
        std::string reason;  // why it is unreachable, in a few words
    };

    virtual ~HistoryStorage() = default;
    virtual Loaded Load() = 0;
    // Adds bytes at the end in one write, so that a crash leaves at worst a
    // torn last line; keep is the length of the text known whole before it
    // (anything beyond it, a torn line, is cut off first). False, with the
    // reason, when nothing could be added.
    virtual bool Append(size_t keep, const std::string& bytes, std::string& reason) = 0;
    // Replaces the whole text at once (old or new after a crash, never half).
    virtual bool Replace(const std::string& bytes, std::string& reason) = 0;
    // The place as the player would look for it.
    virtual std::string Where() const = 0;
};

class MemoryHistoryStorage : public HistoryStorage {
public:
    Loaded Load() override {
        Loaded loaded;
        if (!present) return loaded;
        loaded.state = State::Stored;
        loaded.bytes = text;
        return loaded;
    }
    bool Append(size_t keep, const std::string& bytes, std::string&) override {
        if (keep < text.size()) text.resize(keep);
        text += bytes;
        present = true;
        return true;
    }
    bool Replace(const std::string& bytes, std::string&) override {
        text = bytes;
        present = true;
        return true;
    }
    std::string Where() const override { return "memory"; }

    bool present = false;
    std::string text;
};

}  // namespace pw
