#include "platform/InputFile.h"

#include <windows.h>

#include "platform/windows/WideText.h"

namespace pw {

std::FILE* OpenInputFile(const std::string& path, InputFileProblem& problem, std::string& reason) {
    const std::wstring wide = WideFromUtf8(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        problem = InputFileProblem::NotAFile;
        return nullptr;
    }
    // Opened by the system first, for its own reason when that fails.
    const HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        problem = InputFileProblem::CannotOpen;
        reason = SystemMessage(GetLastError());
        return nullptr;
    }
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        problem = InputFileProblem::NotAFile;
        return nullptr;
    }
    CloseHandle(handle);
    std::FILE* file = _wfopen(wide.c_str(), L"rb");
    if (file == nullptr) {
        problem = InputFileProblem::CannotOpen;
        reason = SystemMessage(GetLastError());
        return nullptr;
    }
    problem = InputFileProblem::None;
    return file;
}

int GetByteUnlocked(std::FILE* file) { return _getc_nolock(file); }

}  // namespace pw
