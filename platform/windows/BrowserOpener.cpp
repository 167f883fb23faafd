#include "platform/windows/BrowserOpener.h"

// clang-format off
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
// clang-format on

#include "platform/windows/WideText.h"

namespace pw {

bool OpenInBrowser(const std::string& path, std::string& reason) {
    SHELLEXECUTEINFOW start{};
    start.cbSize = sizeof start;
    // No error box of the shell's own: the game says what went wrong.
    start.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    start.lpVerb = L"open";
    const std::wstring file = WideFromUtf8(path);
    start.lpFile = file.c_str();
    start.nShow = SW_SHOWNORMAL;
    // The shell's handlers may be COM objects, which need COM on this thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const bool opened = ShellExecuteExW(&start);
    const DWORD failure = GetLastError();
    if (SUCCEEDED(com)) CoUninitialize();
    // Without a program for pages the shell tries the page as a program.
    if (!opened)
        reason = failure == ERROR_NO_ASSOCIATION || failure == ERROR_BAD_EXE_FORMAT
                     ? "no program is set to open web pages"
                     : SystemMessage(failure);
    return opened;
}

}  // namespace pw
