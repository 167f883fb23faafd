#include "platform/OutputFile.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/windows/WideText.h"

// The file is held as a C runtime descriptor wrapped around its handle, so
// that the class keeps one shape on every system; the failure kept is the
// system's error code (GetLastError()).

namespace pw {

namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return ".";
    return path.substr(0, slash + 1);
}

// A temporary file of our own beside the path: created new, so that nothing
// already there is ever written through.
HANDLE CreateTemporary(const std::string& path, std::string& name) {
    const std::string folder = FolderOf(path);
    const std::string prefix = folder == "." ? std::string() : folder;
    unsigned seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (int attempt = 0; attempt < 100; ++attempt) {
        seed = seed * 1103515245u + 12345u;
        name = prefix + ".pivotwarden-" + std::to_string(seed % 1000000u);
        const HANDLE file = CreateFileW(WideFromUtf8(name).c_str(), GENERIC_WRITE | DELETE,
                                        FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

HANDLE HandleOf(int fd) { return fd < 0 ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

// Hands the handle to a descriptor, which then owns it; -1 (and the handle
// closed) when the runtime has no descriptor left.
int DescriptorOf(HANDLE file) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY);
    if (fd < 0) {
        CloseHandle(file);
        SetLastError(ERROR_TOO_MANY_OPEN_FILES);
    }
    return fd;
}

}  // namespace

OutputFile::~OutputFile() { Discard(); }

void OutputFile::Discard() {
    if (fd_ >= 0) _close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) DeleteFileW(WideFromUtf8(temporary_).c_str());
    temporary_.clear();
}

bool OutputFile::Failed(std::string& error) {
    if (errno_ == 0) errno_ = GetLastError() != 0 ? static_cast<int>(GetLastError()) : ERROR_WRITE_FAULT;
    error = SystemMessage(errno_);
    return false;
}

bool OutputFile::Open(const std::string& path, std::string& error) {
    Discard();
    path_ = path;
    errno_ = 0;
    const std::wstring wide = WideFromUtf8(path);
    // Something that is not a plain file on a disk (a console, NUL, a pipe)
    // or a link is written in place; a plain file is replaced whole.
    HANDLE existing = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (existing != INVALID_HANDLE_VALUE) {
        const DWORD attributes = GetFileAttributesW(wide.c_str());
        const bool link = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        if (GetFileType(existing) != FILE_TYPE_DISK || link) {
            if (link && !SetEndOfFile(existing)) {
                Failed(error);
                CloseHandle(existing);
                return false;
            }
            fd_ = DescriptorOf(existing);
            return fd_ >= 0 || Failed(error);
        }
        CloseHandle(existing);
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        const DWORD reason = GetLastError();
        const DWORD attributes = GetFileAttributesW(wide.c_str());
        errno_ = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                     ? ERROR_ACCESS_DENIED
                     : reason;
        return Failed(error);
    }
    std::string temporary;
    const HANDLE created = CreateTemporary(path, temporary);
    if (created == INVALID_HANDLE_VALUE) return Failed(error);
    fd_ = DescriptorOf(created);
    if (fd_ < 0) {
        DeleteFileW(WideFromUtf8(temporary).c_str());
        return Failed(error);
    }
    temporary_ = temporary;
    return true;
}

bool OutputFile::Write(const void* data, size_t size, std::string& error) {
    if (errno_ != 0 || fd_ < 0) {
        if (fd_ < 0 && errno_ == 0) errno_ = ERROR_INVALID_HANDLE;
        return Failed(error);
    }
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD put = 0;
        if (!WriteFile(HandleOf(fd_), bytes, chunk, &put, nullptr) || put == 0) return Failed(error);
        bytes += put;
        size -= put;
    }
    return true;
}

bool OutputFile::Publish(std::string& error) {
    if (errno_ != 0) return Failed(error);
    if (temporary_.empty()) return true;
    // The file may still be open: it was opened to allow this.
    if (!MoveFileExW(WideFromUtf8(temporary_).c_str(), WideFromUtf8(path_).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Failed(error);
    temporary_.clear();
    return true;
}

bool OutputFile::Close(std::string& error) {
    if (fd_ < 0) {
        if (errno_ == 0) errno_ = ERROR_INVALID_HANDLE;
        return Failed(error);
    }
    // A new file reaches the disk before it replaces the old one, so a crash
    // cannot leave an empty file where a whole one was.
    if (errno_ == 0 && !temporary_.empty() && !FlushFileBuffers(HandleOf(fd_))) Failed(error);
    const int fd = fd_;
    fd_ = -1;
    if (_close(fd) != 0 && errno_ == 0) Failed(error);
    if (errno_ != 0 || !Publish(error)) {
        Failed(error);
        Discard();
        return false;
    }
    return true;
}

bool WriteOutputFile(const std::string& path, const std::string& bytes, std::string& error) {
    OutputFile file;
    return file.Open(path, error) && file.Write(bytes.data(), bytes.size(), error) && file.Close(error);
}

}  // namespace pw
