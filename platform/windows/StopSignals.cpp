#include "platform/StopSignals.h"

#include <windows.h>

#include <atomic>

namespace pw {

namespace {

// Windows' exit status for a program ended by Ctrl-C (STATUS_CONTROL_C_EXIT).
constexpr UINT kEndedByControlC = 0xC000013A;

std::atomic<int> received{0};

BOOL WINAPI Note(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT:
            // The handler runs on a thread of its own: a second event finds
            // the first noted and lets the default handler end the program.
            if (received.exchange(static_cast<int>(event) + 1) != 0) return FALSE;
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void StopSignals::Catch() { SetConsoleCtrlHandler(Note, TRUE); }

int StopSignals::Received() { return received.load(); }

void StopSignals::RaiseAgain() {
    if (received.load() == 0) return;
    ExitProcess(kEndedByControlC);
}

}  // namespace pw
