#pragma once
// One running copy per user: the first holds a lock in the user's runtime
// folder and listens on a socket beside it; a second copy asks the first to
// raise its window and then leaves.
#include <string>

#include "platform/posix/PrivateFolder.h"

namespace pw {

class SingleInstance {
public:
    enum class Claim { First, AnotherRuns, NoAnswer, Unavailable };

    SingleInstance();
    // Uses the given folder instead of the user's runtime folder.
    explicit SingleInstance(std::string folder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock, or asks the copy that holds it to raise its window.
    // NoAnswer when that copy could not be reached within a second (it may be
    // stopped). Unavailable when the runtime folder cannot be used; the game
    // then runs without the check. Problem() says why in both cases.
    Claim ClaimOrSignal();
    const std::string& Problem() const { return problem_; }
    // True when another copy asked to raise the window since the last call.
    bool TakeRaiseRequest();
    // The socket other copies call (readable when one has), or -1.
    int ListeningSocket() const { return listenFd_; }

    static std::string RuntimeFolder();

private:
    bool SignalFirstCopy(const sockaddr_un& address);

    std::string folderPath_;
    std::string problem_;
    PrivateFolder folder_;  // open while we live: the socket path may lead through it
    int lockFd_ = -1;
    int listenFd_ = -1;
    std::string socketPath_;
};

}  // namespace pw
