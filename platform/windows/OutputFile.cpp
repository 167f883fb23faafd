#include "platform/windows/OutputFile.h"

#include <io.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "platform/windows/WideText.h"

namespace pw {

namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A temporary file of our own beside the path, created new so that nothing
// already there is written through. It may be renamed while open.
HANDLE CreateTemporary(const std::string& path, std::string& name) {
    const std::string folder = FolderOf(path);
    unsigned seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (int attempt = 0; attempt < 100; ++attempt) {
        seed = seed * 1103515245u + 12345u;
        name = folder + ".pivotwarden-" + std::to_string(seed % 1000000u);
        const HANDLE file = CreateFileW(WideFromUtf8(name).c_str(), GENERIC_WRITE | DELETE,
                                        FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

OutputFile::~OutputFile() { Discard(); }

void OutputFile::Discard() {
    if (open_ && !standardOutput_) CloseHandle(handle_);
    open_ = false;
    handle_ = nullptr;
    if (!temporary_.empty()) DeleteFileW(WideFromUtf8(temporary_).c_str());
    temporary_.clear();
}

bool OutputFile::Failed(std::string& error) {
    if (error_ == 0) error_ = GetLastError() != 0 ? GetLastError() : ERROR_WRITE_FAULT;
    error = SystemMessage(error_);
    return false;
}

bool OutputFile::Open(const std::string& path, std::string& error) {
    Discard();
    path_ = path;
    error_ = 0;
    standardOutput_ = path == "-";
    if (standardOutput_) {
        std::fflush(stdout);
        const intptr_t output = _get_osfhandle(_fileno(stdout));
        if (output == -1 || output == -2) {
            error_ = ERROR_INVALID_HANDLE;
            return Failed(error);
        }
        handle_ = reinterpret_cast<HANDLE>(output);
        open_ = true;
        return true;
    }
    const std::wstring wide = WideFromUtf8(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        error_ = ERROR_ACCESS_DENIED;
        return Failed(error);
    }
    // Something that is not a plain file on a disk, or a link, is written
    // in place; a plain file is replaced whole.
    const HANDLE existing =
        CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (existing != INVALID_HANDLE_VALUE) {
        const bool link =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        if (GetFileType(existing) != FILE_TYPE_DISK || link) {
            if (link && !SetEndOfFile(existing)) {
                Failed(error);
                CloseHandle(existing);
                return false;
            }
            handle_ = existing;
            open_ = true;
            return true;
        }
        CloseHandle(existing);
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        return Failed(error);
    }
    std::string temporary;
    const HANDLE created = CreateTemporary(path, temporary);
    if (created == INVALID_HANDLE_VALUE) return Failed(error);
    handle_ = created;
    open_ = true;
    temporary_ = temporary;
    return true;
}

bool OutputFile::Write(const void* data, size_t size, std::string& error) {
    if (error_ != 0 || !open_) {
        if (!open_ && error_ == 0) error_ = ERROR_INVALID_HANDLE;
        return Failed(error);
    }
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD put = 0;
        if (!WriteFile(handle_, bytes, chunk, &put, nullptr) || put == 0) return Failed(error);
        bytes += put;
        size -= put;
    }
    return true;
}

bool OutputFile::Publish(std::string& error) {
    if (error_ != 0) return Failed(error);
    if (temporary_.empty()) return true;
    if (!MoveFileExW(WideFromUtf8(temporary_).c_str(), WideFromUtf8(path_).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Failed(error);
    temporary_.clear();
    return true;
}

bool OutputFile::Close(std::string& error) {
    if (!open_) {
        if (error_ == 0) error_ = ERROR_INVALID_HANDLE;
        return Failed(error);
    }
    // A new file reaches the disk before it replaces the old one, so a crash
    // cannot leave an empty file where a whole one was.
    if (error_ == 0 && !temporary_.empty() && !FlushFileBuffers(handle_)) Failed(error);
    open_ = false;
    if (!standardOutput_ && !CloseHandle(handle_) && error_ == 0) Failed(error);
    handle_ = nullptr;
    if (error_ != 0 || !Publish(error)) {
        Failed(error);
        Discard();
        return false;
    }
    return true;
}

}  // namespace pw
