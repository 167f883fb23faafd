#include "platform/posix/FileRegistry.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "platform/RegistryExport.h"
#include "platform/TextFormat.h"

namespace pw {

namespace {

// How the settings file stands when it is read.
enum class FileState {
    Absent,       // no file yet: no values
    Readable,     // text to parse
    Corrupt,      // too large or binary: no values, and a write replaces it
    Unreachable,  // cannot be opened or read: no values, and it is left alone
};

struct LoadedFile {
    FileState state = FileState::Absent;
    std::string text;
    mode_t mode = 0600;
};

// A registry export as the system writes it is UTF-16 with a byte order
// mark; it is read as the UTF-8 text it stands for (and written back as
// UTF-8). Any other text is taken as it is.
std::string FromUtf16(const std::string& bytes) {
    if (bytes.size() < 2) return bytes;
    const unsigned char first = static_cast<unsigned char>(bytes[0]),
                        second = static_cast<unsigned char>(bytes[1]);
    const bool little = first == 0xFF && second == 0xFE, big = first == 0xFE && second == 0xFF;
    if (!little && !big) return bytes;
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const unsigned char a = static_cast<unsigned char>(bytes[i]),
                            b = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(static_cast<char16_t>(little ? (b << 8 | a) : (a << 8 | b)));
    }
    return ToUtf8(units);
}

LoadedFile LoadFile(const std::string& path) {
    LoadedFile loaded;
    // O_NONBLOCK so that a pipe put in the file's place cannot hang the game.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        loaded.state = errno == ENOENT ? FileState::Absent : FileState::Unreachable;
        return loaded;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        loaded.state = FileState::Unreachable;
        return loaded;
    }
    loaded.mode = info.st_mode & 07777;
    loaded.state = FileState::Readable;
    // One byte past the limit is enough to know the file is too large.
    std::vector<char> chunk(64 * 1024);
    while (loaded.text.size() <= FileRegistry::kMaxFileBytes) {
        ssize_t got = read(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            loaded.state = FileState::Unreachable;
            break;
        }
        if (got == 0) break;
        loaded.text.append(chunk.data(), static_cast<size_t>(got));
    }
    close(fd);
    if (loaded.state == FileState::Readable) loaded.text = FromUtf16(loaded.text);
    if (loaded.state == FileState::Readable &&
        (loaded.text.size() > FileRegistry::kMaxFileBytes || loaded.text.find('\0') != std::string::npos)) {
        loaded.state = FileState::Corrupt;
    }
    if (loaded.state != FileState::Readable) loaded.text.clear();
    return loaded;
}

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

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
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
// either whole old or whole new, also after a crash.
bool ReplaceAtomically(const std::string& path, const std::string& text, mode_t mode) {
    const std::string folder = FolderOf(path);
    std::string temporary = folder + "/." + FileRegistry::kFileName + ".XXXXXX";
    int fd = mkstemp(&temporary[0]);
    if (fd < 0) return false;
    bool written = fchmod(fd, mode) == 0 && WriteAll(fd, text) && fsync(fd) == 0;
    if (close(fd) != 0) written = false;
    if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
        unlink(temporary.c_str());
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
    return close(fd) == 0 && written;
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

std::vector<std::string> SplitKeyPath(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t end = path.find('\\', start);
        parts.push_back(path.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

bool IsSafeFolderName(const std::string& part) {
    return !part.empty() && part != "." && part != ".." && part.find('/') == std::string::npos &&
           part.find('\0') == std::string::npos;
}

bool IsSoftware(const std::string& part) { return strcasecmp(part.c_str(), "Software") == 0; }

// Characters as the registry counts them: UTF-16 code units.
size_t Utf16Length(const std::string& text) {
    size_t units = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) ++units;  // a character starts at every byte that does not continue one
        if (c >= 0xF0) ++units;           // four-byte characters take a surrogate pair
    }
    return units;
}

class FileRegistryKey : public RegistryKey {
public:
    FileRegistryKey(const std::string& folder, std::string keyName, bool crashSafe)
        : path(folder + "/" + FileRegistry::kFileName), keyName(std::move(keyName)), crashSafe(crashSafe) {}

    std::optional<size_t> ValueSize(const std::string& name) override {
        std::optional<std::string> value = Read(name);
        if (!value) return std::nullopt;
        return (Utf16Length(*value) + 1) * 2;
    }

    // A text that does not fit is not cut: a cut number would read as another
    // number, so such a value reads as missing instead.
    bool ReadValue(const std::string& name, std::string& text, size_t bufferChars) override {
        std::optional<std::string> value = Read(name);
        if (!value || Utf16Length(*value) + 1 > bufferChars) return false;
        text = *value;
        return true;
    }

    bool WriteValue(const std::string& name, const std::string& text) override {
        LoadedFile loaded = LoadFile(path);
        if (loaded.state == FileState::Unreachable) return false;
        RegistryExport file = RegistryExport::Parse(loaded.text);
        if (!file.SetStringValue(keyName, name, text)) return false;
        const std::string target = WriteTarget(path);
        return crashSafe ? ReplaceAtomically(target, file.Text(), loaded.mode)
                         : Overwrite(target, file.Text(), loaded.mode);
    }

private:
    std::optional<std::string> Read(const std::string& name) const {
        LoadedFile loaded = LoadFile(path);
        if (loaded.state != FileState::Readable) return std::nullopt;
        return RegistryExport::Parse(loaded.text).StringValue(keyName, name);
    }

    const std::string path;
    const std::string keyName;
    const bool crashSafe;
};

}  // namespace

FileRegistry::FileRegistry() : configRoot(DefaultConfigRoot()) {}

FileRegistry::FileRegistry(std::string configRoot, Durability durability)
    : configRoot(configRoot.empty() ? DefaultConfigRoot() : std::move(configRoot)), durability(durability) {}

std::string FileRegistry::DefaultConfigRoot() {
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

std::unique_ptr<RegistryKey> FileRegistry::CreateKey(const std::string& path) {
    if (configRoot.empty()) return nullptr;
    std::vector<std::string> parts = SplitKeyPath(path);
    size_t first = (parts.size() > 1 && IsSoftware(parts[0])) ? 1 : 0;
    std::string folder = configRoot;
    for (size_t i = first; i < parts.size(); ++i) {
        if (!IsSafeFolderName(parts[i])) return nullptr;
        folder += "/" + parts[i];
    }
    if (!MakeFolders(folder)) return nullptr;
    return std::make_unique<FileRegistryKey>(folder, "HKEY_CURRENT_USER\\" + path,
                                             durability == Durability::CrashSafe);
}

}  // namespace pw
