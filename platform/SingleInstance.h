#pragma once
// One running copy per user: the first holds a lock in the user's runtime
// folder and listens on a socket beside it; a second copy asks the first to
// raise its window and then leaves.
#include <string>

namespace pw {

class SingleInstance {
public:
    enum class Claim { First, AnotherRuns, Unavailable };

    SingleInstance() = default;
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock, or asks the copy that holds it to raise its window.
    // Unavailable when the runtime folder cannot be used at all; the game then
    // runs without the check.
    Claim ClaimOrSignal();
    // True when another copy asked to raise the window since the last call.
    bool TakeRaiseRequest();

    static std::string RuntimeFolder();

private:
    int lockFd_ = -1;
    int listenFd_ = -1;
    std::string socketPath_;
};

}  // namespace pw
