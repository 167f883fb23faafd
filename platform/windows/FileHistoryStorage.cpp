#include "platform/windows/FileHistoryStorage.h"

// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>

#include "platform/windows/OutputFile.h"
#include "platform/windows/WideText.h"

namespace pw {

namespace {

// A history larger than this is not one the game wrote (50,000 rows are
// about 3 MB).
constexpr size_t kLoadLimit = 64u * 1024 * 1024;
const char kNoFolder[] = "the system names no folder for the player's data to keep it in";
// Windows' byte-range locks keep everyone else out of the bytes they cover:
// the lock is on one byte far past any history's end, so that only another
// append waits for it and the rows stay readable.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

std::string LastReason() { return SystemMessage(GetLastError()); }

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash == 0 ? 1 : slash);
}

std::wstring FullPath(const std::wstring& path) {
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, &full[0], nullptr);
    full.resize(length < size ? length : 0);
    return full;
}

// Names are compared as the file system does: without regard to case.
bool SameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Makes folder and every folder above it that is missing.
bool MakeFolders(const std::wstring& folder, std::string& reason) {
    DWORD failure = 0;
    for (size_t at = folder.find_first_of(L"\\/", 1);; at = folder.find_first_of(L"\\/", at + 1)) {
        const std::wstring part = folder.substr(0, at);
        // A drive, a share or the root cannot be made; they are there or not.
        if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            failure = GetLastError();
        if (at == std::wstring::npos) break;
    }
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return true;
    reason = SystemMessage(failure != 0 ? failure : ERROR_PATH_NOT_FOUND);
    return false;
}

bool Identity(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
    return GetFileInformationByHandle(file, &info);
}

bool SameFile(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

// What is at path now, without opening its contents; false when nothing is.
bool IdentityAt(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
    const HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool known = Identity(file, info);
    CloseHandle(file);
    return known;
}

bool ReadAtOffset(HANDLE file, uint64_t offset, size_t length, std::string& bytes, std::string& reason) {
    bytes.resize(length);
    for (size_t done = 0; done < length;) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset + done);
        at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
        const DWORD ask = static_cast<DWORD>(std::min<size_t>(length - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file, &bytes[done], ask, &got, &at)) return (reason = LastReason(), false);
        if (got == 0) return (reason = "it changed while it was read", false);
        done += got;
    }
    return true;
}

bool SizeOf(HANDLE file, uint64_t& size, std::string& reason) {
    LARGE_INTEGER length;
    if (!GetFileSizeEx(file, &length)) return (reason = LastReason(), false);
    size = static_cast<uint64_t>(length.QuadPart);
    return true;
}

// The locked history as the shared append sees it.
class LockedHandle : public LockedHistoryFile {
public:
    explicit LockedHandle(HANDLE file) : file_(file) {}
    bool Length(uint64_t& length, std::string& reason) override { return SizeOf(file_, length, reason); }
    bool ReadAt(uint64_t offset, size_t length, std::string& bytes, std::string& reason) override {
        return ReadAtOffset(file_, offset, length, bytes, reason);
    }
    bool Truncate(uint64_t length, std::string& reason) override {
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(length);
        if (SetFilePointerEx(file_, at, nullptr, FILE_BEGIN) && SetEndOfFile(file_)) return true;
        reason = LastReason();
        return false;
    }
    bool WriteAtEnd(const char* data, size_t size, size_t& put, std::string& reason) override {
        LARGE_INTEGER none{};
        DWORD wrote = 0;
        if (!SetFilePointerEx(file_, none, nullptr, FILE_END) ||
            !WriteFile(file_, data, static_cast<DWORD>(size), &wrote, nullptr)) {
            put = wrote;
            reason = LastReason();
            return false;
        }
        put = wrote;
        return true;
    }

private:
    HANDLE file_;
};

}  // namespace

HistoryStorage::Loaded FileHistoryStorage::Load() {
    Loaded loaded;
    loaded.state = State::Unreachable;
    if (folder_.empty()) return (loaded.reason = kNoFolder, loaded);
    const HANDLE file = CreateFileW(WideFromUtf8(Where()).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD failure = GetLastError();
        if (failure == ERROR_FILE_NOT_FOUND || failure == ERROR_PATH_NOT_FOUND)
            loaded.state = State::Absent;
        else
            loaded.reason = SystemMessage(failure);
        return loaded;
    }
    uint64_t size = 0;
    if (SizeOf(file, size, loaded.reason)) {
        if (size > kLoadLimit)
            loaded.reason = "it is too large";
        else if (ReadAtOffset(file, 0, static_cast<size_t>(size), loaded.bytes, loaded.reason))
            loaded.state = State::Stored;
    }
    CloseHandle(file);
    if (loaded.state != State::Stored) loaded.bytes.clear();
    return loaded;
}

bool FileHistoryStorage::Ready(std::string& reason) {
    if (folder_.empty()) return (reason = kNoFolder, false);
    return MakeFolders(WideFromUtf8(folder_), reason);
}

void* FileHistoryStorage::OpenLocked(std::string& reason) {
    const std::wstring path = WideFromUtf8(Where());
    for (int attempt = 0; attempt < 8; ++attempt) {
        // Others may read, append and replace it meanwhile; the lock is what
        // keeps another copy's append from coming in between.
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return (reason = LastReason(), nullptr);
        OVERLAPPED lock{};
        lock.OffsetHigh = kLockOffsetHigh;
        BY_HANDLE_FILE_INFORMATION opened, now;
        const char* refused =
            GetFileType(file) != FILE_TYPE_DISK ? "it is not a file"
            : !LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &lock) || !Identity(file, opened) ? ""
                                                                                                    : nullptr;
        if (refused != nullptr) {
            reason = *refused != '\0' ? refused : LastReason();
            CloseHandle(file);
            return nullptr;
        }
        // A rewrite may have moved a new file into place, or the file may
        // have been deleted, while this one waited for the lock.
        if (IdentityAt(path, now) && SameFile(opened, now)) return file;
        CloseHandle(file);  // which lets the lock go
    }
    reason = "it keeps being replaced";
    return nullptr;
}

bool FileHistoryStorage::Append(size_t headerLength, const std::string& bytes, std::string& reason) {
    if (!Ready(reason)) return false;
    const HANDLE file = OpenLocked(reason);
    if (file == nullptr) return false;
    LockedHandle locked(file);
    const bool added = AppendToLockedHistory(locked, headerLength, bytes, reason);
    CloseHandle(file);
    return added;
}

bool FileHistoryStorage::Replace(const std::string& bytes, std::string& reason) {
    if (!Ready(reason)) return false;
    OutputFile file;
    return WriteWholeFile(file, Where(), bytes, reason);
}

bool FileHistoryStorage::Rewrite(const Edit& edit, std::string& reason) {
    if (!Ready(reason)) return false;
    const HANDLE file = OpenLocked(reason);
    if (file == nullptr) return false;
    uint64_t size = 0;
    std::string text, replacement;
    bool done = SizeOf(file, size, reason);
    if (done && size > kLoadLimit) {
        done = false;
        reason = "it is too large";
    }
    // The new file is moved into place while the old one is still locked:
    // an append waiting for the lock then finds the new one.
    OutputFile output;
    done = done && ReadAtOffset(file, 0, static_cast<size_t>(size), text, reason) &&
           edit(text, replacement, reason) && WriteWholeFile(output, Where(), replacement, reason);
    CloseHandle(file);
    return done;
}

bool FileHistoryStorage::SavePage(const std::string& path, const std::string& page, std::string& reason) {
    const std::wstring widePath = WideFromUtf8(path);
    const std::wstring history = WideFromUtf8(Where());
    BY_HANDLE_FILE_INFORMATION pageFile, historyFile;
    const bool pageThere = IdentityAt(widePath, pageFile);
    const bool isHistory = pageThere ? IdentityAt(history, historyFile) && SameFile(pageFile, historyFile)
                                     : SameName(FullPath(widePath), FullPath(history));
    if (!folder_.empty() && isHistory) {
        reason = "it is the results history itself, which is kept as it is";
        return false;
    }
    // On a new profile the history's folder is not there yet.
    std::string problem;
    if (!folder_.empty() && SameName(FullPath(FolderOf(widePath)), FullPath(WideFromUtf8(folder_))) &&
        !MakeFolders(WideFromUtf8(folder_), problem)) {
        reason = "cannot make its folder: " + problem;
        return false;
    }
    OutputFile file;
    return WriteWholeFile(file, path, page, reason);
}

std::string FileHistoryStorage::DefaultDataRoot() {
    wchar_t* folder = nullptr;
    std::string root;
    if (SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &folder) == S_OK &&
        folder != nullptr)
        root = Utf8FromWide(folder);
    CoTaskMemFree(folder);
    return root;
}

}  // namespace pw
