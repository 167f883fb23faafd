#include "platform/windows/Console.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <cstdio>

#include "platform/windows/WideText.h"

namespace pw {

namespace {

bool connected = false;

bool Usable(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

void Report(const std::string& message, UINT icon) {
    if (connected) {
        std::fprintf(stderr, "pivotwarden: %s\n", message.c_str());
        std::fflush(stderr);
        return;
    }
    MessageBoxW(nullptr, WideFromUtf8(message).c_str(), L"Pivot Warden", MB_OK | icon);
}

}  // namespace

void ConnectConsole() {
    if (Usable(STD_ERROR_HANDLE)) {
        connected = true;
        return;
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    // The runtime set up its streams before there was a console to write to.
    if (!Usable(STD_OUTPUT_HANDLE)) std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
    connected = true;
}

bool HasConsole() { return connected; }

void ReportProblem(const std::string& message) { Report(message, MB_ICONERROR); }

void ReportNotice(const std::string& message) { Report(message, MB_ICONINFORMATION); }

void ShowText(const std::string& text) {
    if (connected || Usable(STD_OUTPUT_HANDLE)) {
        std::fputs(text.c_str(), stdout);
        std::fflush(stdout);
        return;
    }
    MessageBoxW(nullptr, WideFromUtf8(text).c_str(), L"Pivot Warden", MB_OK | MB_ICONINFORMATION);
}

std::vector<std::string> CommandLineArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(Utf8FromWide(words[i]));
    LocalFree(words);
    return arguments;
}

}  // namespace pw
