#include "platform/SystemServices.h"

#include <windows.h>

namespace pw {

// The system's own millisecond tick count: 32 bits, wrapping after 49.7 days.
uint32_t SystemClock::Now() { return GetTickCount(); }

DateTime LocalSystemTime::LocalNow() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return DateTime{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

}  // namespace pw
