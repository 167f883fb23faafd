#include "platform/posix/FileHistoryStorage.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/posix/OutputFile.h"
#include "platform/posix/PathParts.h"

namespace pw {

namespace {

// A history larger than this is not one the game wrote (50,000 rows are
// about 3 MB).
constexpr size_t kLoadLimit = 64u * 1024 * 1024;
const char kNoFolder[] = "there is no home folder to keep it in";

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Reads length bytes at offset; false when they are not all there.
bool ReadBytesAt(int fd, uint64_t offset, size_t length, std::string& bytes, std::string& reason) {
    bytes.resize(length);
    for (size_t done = 0; done < length;) {
        const ssize_t got = pread(fd, &bytes[done], length - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            reason = got < 0 ? std::strerror(errno) : "it changed while it was read";
            return false;
        }
        done += static_cast<size_t>(got);
    }
    return true;
}

bool Lock(int fd) {
    while (flock(fd, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        // A file system without locks still gets whole rows, only without
        // the guard against a second copy of the game.
        return errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS;
    }
    return true;
}

// The locked history as the shared append sees it.
class LockedDescriptor : public LockedHistoryFile {
public:
    explicit LockedDescriptor(int fd) : fd_(fd) {}
    bool Length(uint64_t& length, std::string& reason) override {
        struct stat info;
        if (fstat(fd_, &info) != 0) return (reason = std::strerror(errno), false);
        length = static_cast<uint64_t>(info.st_size);
        return true;
    }
    bool ReadAt(uint64_t offset, size_t length, std::string& bytes, std::string& reason) override {
        return ReadBytesAt(fd_, offset, length, bytes, reason);
    }
    bool Truncate(uint64_t length, std::string& reason) override {
        if (ftruncate(fd_, static_cast<off_t>(length)) == 0) return true;
        reason = std::strerror(errno);
        return false;
    }
    bool WriteAtEnd(const char* data, size_t size, size_t& put, std::string& reason) override {
        // O_APPEND: at the end whatever the file's offset.
        ssize_t wrote;
        do {
            wrote = write(fd_, data, size);
        } while (wrote < 0 && errno == EINTR);
        if (wrote < 0) return (reason = std::strerror(errno), false);
        put = static_cast<size_t>(wrote);
        return true;
    }

private:
    int fd_;
};

// A rewrite's temporary: "." name "." and the six letters or digits mkstemp
// chose.
bool IsTemporaryOf(const char* entry, const std::string& name) {
    const std::string prefix = "." + name + ".";
    if (std::strncmp(entry, prefix.c_str(), prefix.size()) != 0 || std::strlen(entry) != prefix.size() + 6)
        return false;
    for (const char* c = entry + prefix.size(); *c != '\0'; ++c)
        if (!std::isalnum(static_cast<unsigned char>(*c))) return false;
    return true;
}

}  // namespace

HistoryStorage::Loaded FileHistoryStorage::Load() {
    Loaded loaded;
    if (root_.empty()) {
        loaded.state = State::Unreachable;
        loaded.reason = kNoFolder;
        return loaded;
    }
    TextStorage::Loaded file = files_.Load(name_, kLoadLimit);
    loaded.bytes = std::move(file.bytes);
    loaded.reason = std::move(file.reason);
    if (file.state == TextStorage::State::Absent) loaded.state = State::Absent;
    if (file.state == TextStorage::State::Stored) loaded.state = State::Stored;
    if (file.state == TextStorage::State::Unreachable) loaded.state = State::Unreachable;
    if (loaded.state == State::Stored && loaded.bytes.size() > kLoadLimit) {
        loaded.state = State::Unreachable;
        loaded.reason = "it is too large";
    }
    return loaded;
}

bool FileHistoryStorage::Ready(std::string& reason) {
    if (root_.empty())
        reason = kNoFolder;
    else if (!files_.Prepare(name_))
        reason = std::strerror(errno);
    else
        return true;
    return false;
}

int FileHistoryStorage::OpenLocked(bool create, std::string& reason) {
    const std::string path = Where();
    for (int attempt = 0; attempt < 8; ++attempt) {
        int fd = open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC | O_NOCTTY);
        if (fd < 0 && errno == ENOENT && create) {
            // A new history is a file of its own: a link that leads nowhere
            // is never followed to make one.
            fd = open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY,
                      0600);
            struct stat link;
            if (fd < 0 && errno == EEXIST && lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
                reason = "it is a link that leads nowhere";
                return -1;
            }
            if (fd < 0 && errno == EEXIST) continue;  // another copy made it just now
        }
        if (fd < 0) {
            reason = std::strerror(errno);
            return -1;
        }
        struct stat opened, now;
        const char* refused = fstat(fd, &opened) != 0      ? std::strerror(errno)
                              : !S_ISREG(opened.st_mode)   ? "it is not a file"
                              : opened.st_uid != geteuid() ? "it belongs to another user"
                              : !Lock(fd)                  ? std::strerror(errno)
                                                           : nullptr;
        if (refused != nullptr) {
            reason = refused;
            close(fd);
            return -1;
        }
        // A rewrite may have put a new file in place, or the file may have
        // been deleted, while this one waited for the lock.
        if (stat(path.c_str(), &now) == 0 && SameFile(opened, now)) return fd;
        close(fd);
    }
    reason = "it keeps being replaced";
    return -1;
}

bool FileHistoryStorage::Append(size_t headerLength, const std::string& bytes, std::string& reason) {
    if (!Ready(reason)) return false;
    const int fd = OpenLocked(true, reason);
    if (fd < 0) return false;
    if (!cleaned_) {
        cleaned_ = true;
        RemoveStaleTemporaries();
    }
    LockedDescriptor file(fd);
    const bool added = AppendToLockedHistory(file, headerLength, bytes, reason);
    close(fd);
    return added;
}

bool FileHistoryStorage::Replace(const std::string& bytes, std::string& reason) {
    if (!Ready(reason)) return false;
    return files_.Save(name_, bytes, reason);
}

bool FileHistoryStorage::Rewrite(const Edit& edit, std::string& reason) {
    if (!Ready(reason)) return false;
    const int fd = OpenLocked(true, reason);
    if (fd < 0) return false;
    struct stat info;
    std::string text, replacement;
    bool done = fstat(fd, &info) == 0;
    if (!done) reason = std::strerror(errno);
    if (done && static_cast<uint64_t>(info.st_size) > kLoadLimit) {
        done = false;
        reason = "it is too large";
    }
    // The new file is renamed into place while the old one is still locked:
    // an append waiting for the lock then finds the new one.
    done = done && ReadBytesAt(fd, 0, static_cast<size_t>(info.st_size), text, reason) &&
           edit(text, replacement, reason) && files_.Save(name_, replacement, reason);
    close(fd);
    return done;
}

bool FileHistoryStorage::IsTheHistory(const std::string& path) const {
    const std::string where = Where();
    struct stat page, history;
    if (stat(path.c_str(), &page) == 0) return stat(where.c_str(), &history) == 0 && SameFile(page, history);
    // Neither there yet: the same name in the same folder.
    struct stat pageFolder, historyFolder;
    return NameOf(path) == NameOf(where) && stat(FolderOf(path).c_str(), &pageFolder) == 0 &&
           stat(FolderOf(where).c_str(), &historyFolder) == 0 && SameFile(pageFolder, historyFolder);
}

bool FileHistoryStorage::SavePage(const std::string& path, const std::string& page, std::string& reason) {
    if (!root_.empty() && IsTheHistory(path)) {
        reason = "it is the results history itself, which is kept as it is";
        return false;
    }
    // On a new profile the history's folder is not there yet.
    if (!root_.empty() && FolderOf(path) == FolderOf(Where()) && !files_.Prepare(name_)) {
        reason = std::string("cannot make its folder: ") + std::strerror(errno);
        return false;
    }
    OutputFile file;
    return WriteWholeFile(file, path, page, reason);
}

void FileHistoryStorage::RemoveStaleTemporaries() {
    // Called under the history's lock, which a rewrite holds while its
    // temporary exists: any temporary seen now was left by a crash.
    char* resolved = realpath(Where().c_str(), nullptr);
    if (resolved == nullptr) return;
    const std::string target = resolved;
    std::free(resolved);
    DIR* folder = opendir(FolderOf(target).c_str());
    if (folder == nullptr) return;
    const std::string name = NameOf(target);
    for (const dirent* entry = readdir(folder); entry != nullptr; entry = readdir(folder))
        if (IsTemporaryOf(entry->d_name, name)) unlinkat(dirfd(folder), entry->d_name, 0);
    closedir(folder);
}

std::string FileHistoryStorage::DefaultDataRoot() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/') return xdg;  // a relative path is to be ignored
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* user = getpwuid(getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/') return std::string();
    return std::string(home) + "/.local/share";
}

}  // namespace pw
