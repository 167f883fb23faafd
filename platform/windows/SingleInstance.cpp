#include "platform/windows/SingleInstance.h"

#include <windows.h>

#include "platform/windows/WideText.h"

namespace pw {

namespace {

constexpr DWORD kAnswerMs = 1000;

// "Local\": the objects belong to the player's session, so another user
// signed in at the same machine plays a copy of their own.
std::wstring ObjectName(const char* part) {
    return WideFromUtf8(std::string("Local\\Marblequill.Pivotwarden.") + part);
}

void CloseIfOpen(void*& handle) {
    if (handle != nullptr) CloseHandle(handle);
    handle = nullptr;
}

}  // namespace

SingleInstance::~SingleInstance() {
    CloseIfOpen(answer_);
    CloseIfOpen(raise_);
    CloseIfOpen(mutex_);
}

SingleInstance::Claim SingleInstance::ClaimOrSignal() {
    // Both events exist before anyone can see the mutex taken, so a request
    // made while the first copy is still starting waits in the raise event
    // (auto-reset: it stays set until the listener takes it).
    raise_ = CreateEventW(nullptr, FALSE, FALSE, ObjectName("Raise").c_str());
    answer_ = CreateEventW(nullptr, FALSE, FALSE, ObjectName("Raised").c_str());
    if (raise_ == nullptr || answer_ == nullptr) {
        problem_ = "cannot make the one-copy events: " + SystemMessage(GetLastError());
        CloseIfOpen(raise_);
        CloseIfOpen(answer_);
        return Claim::Unavailable;
    }
    mutex_ = CreateMutexW(nullptr, FALSE, ObjectName("Running").c_str());
    const DWORD created = GetLastError();
    if (mutex_ == nullptr) {
        problem_ = "cannot make the one-copy mutex: " + SystemMessage(created);
        CloseIfOpen(raise_);
        CloseIfOpen(answer_);
        return Claim::Unavailable;
    }
    if (created != ERROR_ALREADY_EXISTS) return Claim::First;

    CloseIfOpen(mutex_);
    // Windows lets only the foreground program bring a window forward.
    AllowSetForegroundWindow(ASFW_ANY);
    // An answer left over from an earlier request that timed out is not ours.
    WaitForSingleObject(answer_, 0);
    SetEvent(raise_);
    const DWORD waited = WaitForSingleObject(answer_, kAnswerMs);
    CloseIfOpen(raise_);
    CloseIfOpen(answer_);
    if (waited == WAIT_OBJECT_0) return Claim::AnotherRuns;
    problem_ = "another copy is running but does not answer";
    return Claim::NoAnswer;
}

void SingleInstance::AnswerRaise() {
    if (answer_ != nullptr) SetEvent(answer_);
}

}  // namespace pw
