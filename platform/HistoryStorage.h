#pragma once
// Where the results history lives: one text that grows by whole rows, under a
// header line. A file below the user's data folder on the desktop, or memory
// for tests. A storage only moves the bytes; what a row is belongs to the
// history.
#include <cstdint>
#include <functional>
#include <string>

namespace pw {

// The length of header (a line with its newline) at the start of text, as it
// was written or as a spreadsheet saves it (a byte-order mark before it, a
// carriage return before its newline); 0 when text does not start with it.
size_t HeaderLength(const std::string& text, const std::string& header);

// What an append finds at the end of a text, and does there.
struct HistoryEnding {
    // A row longer than this is no row of a history.
    static constexpr size_t kTailBytes = 4096;
    static constexpr const char* kNoHistory = "it is no longer a results history; it is left as it is";
    // How much of the text's start to look at: the header, also as a
    // spreadsheet saves it.
    static size_t HeadBytes(const std::string& header);

    // Reads a text of length bytes whose first bytes are head (HeadBytes, or
    // all of it) and whose last are tail (kTailBytes, or all of it). A torn
    // last line (a crash mid-write) is cut off; a text that is empty, or a
    // header torn on the very first write, gets the header first.
    static HistoryEnding Of(uint64_t length, const std::string& head, const std::string& tail,
                            const std::string& header);
    // The same for a whole text at hand.
    static HistoryEnding Of(const std::string& text, const std::string& header);

    bool history = true;  // false: another text, to be left as it is
    uint64_t keep = 0;    // the length up to the last whole line
    bool withHeader = false;
};

// A history file opened for an append and locked against other copies of the
// game, as the system gives it.
class LockedHistoryFile {
public:
    virtual ~LockedHistoryFile() = default;
    virtual bool Length(uint64_t& length, std::string& reason) = 0;
    // Reads length bytes at offset; false when they are not all there.
    virtual bool ReadAt(uint64_t offset, size_t length, std::string& bytes, std::string& reason) = 0;
    virtual bool Truncate(uint64_t length, std::string& reason) = 0;
    // Writes size bytes at the end in one write; put is how many went. False,
    // with the reason, when the system refused the write.
    virtual bool WriteAtEnd(const char* data, size_t size, size_t& put, std::string& reason) = 0;
};

// Adds bytes (the header, its first headerLength bytes, and one row) to the
// locked file as HistoryStorage::Append says: a torn last line is cut first,
// the header goes first where the file holds none, and a short write is
// taken back.
bool AppendToLockedHistory(LockedHistoryFile& file, size_t headerLength, const std::string& bytes,
                           std::string& reason);

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
    // bytes is the header (its first headerLength bytes) and one row. The row
    // is added at the end in one write, so that a crash leaves at worst a
    // torn last line, which is cut off first; nothing whole is ever cut, so a
    // row another copy of the game added stays. The header goes first where
    // the text holds none (it was never written, or deleted while the game
    // runs). False, with the reason, when nothing could be added, or when the
    // text is no longer a history (it is then left as it is).
    virtual bool Append(size_t headerLength, const std::string& bytes, std::string& reason) = 0;
    // Replaces the whole text at once (old or new after a crash, never half).
    virtual bool Replace(const std::string& bytes, std::string& reason) = 0;
    // Rewrites the text as edit makes it from the text as it stands (empty
    // when there is none); edit returns false, with the reason, to leave it.
    // On the desktop nobody appends in between.
    using Edit = std::function<bool(const std::string& text, std::string& replacement, std::string& reason)>;
    virtual bool Rewrite(const Edit& edit, std::string& reason);
    // Writes a page drawn from the history (the progress view) to path as one
    // whole file. False, with the reason, when it cannot be written or path
    // is the history itself.
    virtual bool SavePage(const std::string& path, const std::string& page, std::string& reason);
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
    bool Append(size_t headerLength, const std::string& bytes, std::string& reason) override;
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
