#include "platform/posix/FileTextStorage.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/posix/PathParts.h"

namespace pw {

namespace {

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t put = write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

// The file a write replaces: the settings file itself, or, when it is a
// symbolic link, the file it leads to, so that the link stays (as editors
// keep it).
std::string WriteTarget(const std::string& path) {
    std::string target = path;
    std::vector<char> link(4096);
    for (int hops = 0; hops < 40; ++hops) {
        const ssize_t length = readlink(target.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<size_t>(length) >= link.size()) break;
        const std::string next(link.data(), static_cast<size_t>(length));
        target = next[0] == '/' ? next : FolderOf(target) + "/" + next;
    }
    return target;
}

// Replaces path with a file holding text, so that the file is at every moment
// either whole old or whole new, also after a crash. False with errno set.
bool ReplaceAtomically(const std::string& path, const std::string& text, mode_t mode) {
    const std::string folder = FolderOf(path);
    std::string temporary = folder + "/." + NameOf(path) + ".XXXXXX";
    int fd = mkstemp(&temporary[0]);
    if (fd < 0) return false;
    bool written = fchmod(fd, mode) == 0 && WriteAll(fd, text) && fsync(fd) == 0;
    int failure = written ? 0 : errno;
    if (close(fd) != 0 && written) {
        written = false;
        failure = errno;
    }
    if (written && rename(temporary.c_str(), path.c_str()) != 0) {
        written = false;
        failure = errno;
    }
    if (!written) {
        unlink(temporary.c_str());
        errno = failure;
        return false;
    }
    // The rename itself reaches the disk only with the folder. Should this
    // fail, the new settings are in place all the same and read back as such,
    // so the write is not reported as failed.
    int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    return true;
}

// Settings thrown away after the run need no such care: they are rewritten
// in place, which spares the file system a new file and a rename each time.
// Cutting the file to its new length only after writing, never to nothing
// first, keeps ext4 from flushing it on close as it does a replaced file.
bool Overwrite(const std::string& path, const std::string& text, mode_t mode) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY, mode);
    if (fd < 0) return false;
    const bool written = WriteAll(fd, text) && ftruncate(fd, static_cast<off_t>(text.size())) == 0;
    const int failure = errno;
    if (close(fd) != 0) return false;
    errno = failure;
    return written;
}

bool IsFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// mkdir -p, with the private permissions a configuration folder should have.
bool MakeFolders(const std::string& folder) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        std::string prefix = folder.substr(0, slash);
        if (!prefix.empty() && mkdir(prefix.c_str(), 0700) != 0 && !(errno == EEXIST && IsFolder(prefix)))
            return false;
        if (slash == std::string::npos) return true;
    }
}

}  // namespace

bool FileTextStorage::Prepare(const std::string& name) {
    return !root_.empty() && MakeFolders(FolderOf(Where(name)));
}

TextStorage::Loaded FileTextStorage::Load(const std::string& name, size_t limit) {
    Loaded loaded;
    // O_NONBLOCK so that a pipe put in the file's place cannot hang the game.
    const int fd = open(Where(name).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT) {
            loaded.state = State::Unreachable;
            loaded.reason = std::strerror(errno);
        }
        return loaded;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        loaded.state = State::Unreachable;
        loaded.reason = "it is not a file";
        return loaded;
    }
    loaded.state = State::Stored;
    loaded.replaceable = (info.st_mode & S_IWUSR) != 0;
    std::vector<char> chunk(64 * 1024);
    while (loaded.bytes.size() <= limit) {
        const ssize_t got = read(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            loaded.state = State::Unreachable;
            loaded.reason = std::strerror(errno);
            loaded.bytes.clear();
            break;
        }
        if (got == 0) break;
        loaded.bytes.append(chunk.data(), static_cast<size_t>(got));
    }
    close(fd);
    return loaded;
}

bool FileTextStorage::Save(const std::string& name, const std::string& bytes, std::string& reason) {
    const std::string path = Where(name);
    const std::string target = WriteTarget(path);
    // A file replaced keeps its permissions; a new one is the player's alone.
    struct stat info;
    const mode_t mode = stat(target.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0600;
    const bool written = durability_ == Durability::CrashSafe ? ReplaceAtomically(target, bytes, mode)
                                                              : Overwrite(target, bytes, mode);
    if (!written) reason = std::strerror(errno);
    return written;
}

std::string FileTextStorage::DefaultConfigRoot() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') return xdg;  // a relative path is to be ignored
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {  // a relative home is to be ignored too
        const passwd* user = getpwuid(getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/') return std::string();
    return std::string(home) + "/.config";
}

}  // namespace pw
