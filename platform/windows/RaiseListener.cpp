#include "platform/windows/RaiseListener.h"

#include <windows.h>

#include "platform/windows/SingleInstance.h"

namespace pw {

RaiseListener::RaiseListener(SingleInstance& instance, std::function<void()> onRequest)
    : instance_(instance), onRequest_(std::move(onRequest)) {
    if (instance_.RaiseRequest() == nullptr) return;
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (stop_ == nullptr) return;
    thread_ = std::thread([this]() { Listen(); });
}

RaiseListener::~RaiseListener() {
    if (thread_.joinable()) {
        SetEvent(stop_);
        thread_.join();
    }
    if (stop_ != nullptr) CloseHandle(stop_);
}

void RaiseListener::Listen() {
    HANDLE waits[2] = {stop_, instance_.RaiseRequest()};
    for (;;) {
        const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (woke != WAIT_OBJECT_0 + 1) return;  // stopped, or the wait itself failed
        onRequest_();
        instance_.AnswerRaise();
    }
}

}  // namespace pw
