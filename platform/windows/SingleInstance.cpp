#include "platform/windows/SingleInstance.h"

// clang-format off
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
// clang-format on

#include <vector>

#include "platform/windows/WideText.h"

namespace pw {

namespace {

constexpr DWORD kAnswerMs = 1000;

// Who runs the game.
struct Player {
    std::vector<unsigned char> user;  // the security identifier
    std::wstring name;                // the same as text
    PSID Sid() const { return PSID(const_cast<unsigned char*>(user.data())); }
};

std::vector<unsigned char> TokenPart(HANDLE token, TOKEN_INFORMATION_CLASS part) {
    DWORD size = 0;
    GetTokenInformation(token, part, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    if (size == 0 || !GetTokenInformation(token, part, buffer.data(), size, &size)) buffer.clear();
    return buffer;
}

std::vector<unsigned char> CopySid(PSID sid) {
    const auto* bytes = static_cast<const unsigned char*>(sid);
    return std::vector<unsigned char>(bytes, bytes + GetLengthSid(sid));
}

bool ReadPlayer(Player& player) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    const std::vector<unsigned char> user = TokenPart(token, TokenUser);
    const DWORD failure = GetLastError();
    CloseHandle(token);
    wchar_t* text = nullptr;
    if (user.empty() ||
        !ConvertSidToStringSidW(reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid, &text)) {
        SetLastError(failure != 0 ? failure : ERROR_INVALID_SID);
        return false;
    }
    player.user = CopySid(reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid);
    player.name = text;
    LocalFree(text);
    return true;
}

// "Local\": the objects belong to the player's session; the user's
// identifier in the name keeps another user's programs in that session (a
// service, a program run as someone else) from taking the game's names.
std::wstring ObjectName(const Player& player, const wchar_t* part) {
    return L"Local\\Marblequill.Pivotwarden." + player.name + L"." + part;
}

// The game's objects name the player as their owner (otherwise the owner is
// whatever the system's default is, or none under Wine), with the default
// access.
struct PlayersObject {
    explicit PlayersObject(const Player& player) {
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        valid = SetSecurityDescriptorOwner(&descriptor, player.Sid(), FALSE);
        attributes.lpSecurityDescriptor = &descriptor;
    }
    SECURITY_DESCRIPTOR descriptor;
    SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    bool valid = false;
};

// Whether the object is the player's own: another user's program may have
// made one of that name first, and is not the game.
bool OwnedBy(HANDLE object, const Player& player) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                        nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    const bool ours = owner != nullptr && EqualSid(owner, player.Sid());
    LocalFree(descriptor);
    return ours;
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

SingleInstance::Claim SingleInstance::Unavailable(const std::string& problem) {
    problem_ = problem;
    CloseIfOpen(raise_);
    CloseIfOpen(answer_);
    CloseIfOpen(mutex_);
    return Claim::Unavailable;
}

SingleInstance::Claim SingleInstance::ClaimOrSignal() {
    Player player;
    if (!ReadPlayer(player)) return Unavailable("cannot tell who plays: " + SystemMessage(GetLastError()));
    PlayersObject object(player);
    if (!object.valid)
        return Unavailable("cannot name the player as owner: " + SystemMessage(GetLastError()));
    SECURITY_ATTRIBUTES* owned = &object.attributes;
    // Both events exist before anyone can see the mutex taken, so a request
    // made while the first copy is still starting waits in the raise event
    // (auto-reset: it stays set until the listener takes it).
    raise_ = CreateEventW(owned, FALSE, FALSE, ObjectName(player, L"Raise").c_str());
    if (raise_ == nullptr)
        return Unavailable("cannot make the one-copy events: " + SystemMessage(GetLastError()));
    answer_ = CreateEventW(owned, FALSE, FALSE, ObjectName(player, L"Raised").c_str());
    if (answer_ == nullptr)
        return Unavailable("cannot make the one-copy events: " + SystemMessage(GetLastError()));
    mutex_ = CreateMutexW(owned, FALSE, ObjectName(player, L"Running").c_str());
    const DWORD created = GetLastError();
    if (mutex_ == nullptr) return Unavailable("cannot make the one-copy mutex: " + SystemMessage(created));
    if (!OwnedBy(raise_, player) || !OwnedBy(answer_, player) || !OwnedBy(mutex_, player))
        return Unavailable("the one-copy names are taken by a program of another user");
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
