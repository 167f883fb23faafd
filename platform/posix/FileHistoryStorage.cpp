#include "platform/posix/FileHistoryStorage.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace pw {

namespace {

// A history larger than this is not one the game wrote (50,000 rows are
// about 3 MB).
constexpr size_t kLoadLimit = 64u * 1024 * 1024;

}  // namespace

HistoryStorage::Loaded FileHistoryStorage::Load() {
    const TextStorage::Loaded file = files_.Load(name_, kLoadLimit);
    Loaded loaded;
    loaded.bytes = file.bytes;
    loaded.reason = file.reason;
    if (file.state == TextStorage::State::Absent) loaded.state = State::Absent;
    if (file.state == TextStorage::State::Stored) loaded.state = State::Stored;
    if (file.state == TextStorage::State::Unreachable) loaded.state = State::Unreachable;
    if (loaded.state == State::Stored && loaded.bytes.size() > kLoadLimit) {
        loaded.state = State::Unreachable;
        loaded.reason = "it is too large";
    }
    return loaded;
}

bool FileHistoryStorage::Append(size_t keep, const std::string& bytes, std::string& reason) {
    if (!files_.Prepare(name_)) {
        reason = std::strerror(errno);
        return false;
    }
    const int fd =
        open(Where().c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW, 0600);
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    // A torn line left by a crash is cut off, so that the row starts on a
    // fresh line and the fragment never reads as a row.
    const off_t end = lseek(fd, 0, SEEK_END);
    bool ok = end >= 0;
    const off_t base = ok && static_cast<size_t>(end) > keep ? static_cast<off_t>(keep) : end;
    if (ok && base < end) ok = ftruncate(fd, base) == 0;
    if (ok) {
        ssize_t put;
        do {
            put = write(fd, bytes.data(), bytes.size());
        } while (put < 0 && errno == EINTR);
        ok = put == static_cast<ssize_t>(bytes.size());
        if (!ok) {
            reason = put < 0 ? std::strerror(errno) : "the disk is full";
            // A short write is taken back, so the file stays whole rows.
            if (put > 0 && ftruncate(fd, base) != 0) reason += " (a torn row is left)";
        }
    } else {
        reason = std::strerror(errno);
    }
    close(fd);
    return ok;
}

bool FileHistoryStorage::Replace(const std::string& bytes, std::string& reason) {
    if (!files_.Prepare(name_)) {
        reason = std::strerror(errno);
        return false;
    }
    return files_.Save(name_, bytes, reason);
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
