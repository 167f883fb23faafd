#include "platform/windows/InputFile.h"

#include <windows.h>

#include "platform/windows/WideText.h"

namespace pw {

InputFile::~InputFile() {
    if (file_ != nullptr) std::fclose(file_);
}

bool InputFile::Open(const std::string& path, std::string& error) {
    const std::wstring wide = WideFromUtf8(path);
    // Opened by the system first: its reason when that fails, and its word
    // on what the path is (a folder, a console, a pipe are not files).
    const HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = SystemMessage(GetLastError());
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool plain = GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info) &&
                       (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    CloseHandle(handle);
    if (!plain) {
        error = "not a file";
        return false;
    }
    file_ = _wfopen(wide.c_str(), L"rb");
    if (file_ == nullptr) {
        error = SystemMessage(GetLastError());
        return false;
    }
    return true;
}

bool InputFile::Rewind() {
    if (file_ == nullptr) return false;
    std::rewind(file_);
    return std::ferror(file_) == 0;
}

}  // namespace pw
