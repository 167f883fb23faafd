#pragma once
// One running copy per user: the first holds a lock in the user's runtime
// folder and listens on a socket beside it; a second copy asks the first to
// raise its window, waits for its answer and then leaves.
#include <memory>
#include <string>
#include <vector>

#include "platform/posix/PrivateFolder.h"

namespace pw {

class SingleInstance {
public:
    enum class Claim { First, AnotherRuns, NoAnswer, Unavailable };

    // In the first of Folders() that is private to the user.
    SingleInstance();
    // The same with the given folders instead.
    explicit SingleInstance(std::vector<std::string> folders);
    explicit SingleInstance(std::string folder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock, or asks the copy that holds it to raise its window.
    // NoAnswer when that copy did not answer within a second (it may be
    // stopped). Unavailable when none of the folders can be used; the game
    // then runs without the check. Problem() says why in both cases.
    Claim ClaimOrSignal();
    const std::string& Problem() const { return problem_; }
    // True when another copy asked to raise the window since the last call.
    bool TakeRaiseRequest();
    // The socket other copies call (readable when one has), or -1.
    int ListeningSocket() const { return listenFd_; }

    // Where the lock may be kept, in order: the user's runtime folder
    // ($XDG_RUNTIME_DIR/pivotwarden, or /tmp/pivotwarden-UID without it),
    // then ${XDG_CACHE_HOME:-$HOME/.cache}/pivotwarden, for when another
    // user has taken the name in /tmp.
    static std::vector<std::string> Folders();
    // The folder in use once claimed.
    const std::string& Folder() const { return folderPath_; }

private:
    bool OpenFolder();
    bool FindCopyInLaterFolder(sockaddr_un& address);
    bool SignalFirstCopy(const sockaddr_un& address);
    static bool AwaitAnswer(int fd, long deadline);

    std::vector<std::string> folders_;
    std::string folderPath_;
    std::string problem_;
    PrivateFolder folder_;                        // open while we live: the socket path may lead through it
    std::unique_ptr<PrivateFolder> laterFolder_;  // where another copy was found, if not in folder_
    int lockFd_ = -1;
    int listenFd_ = -1;
    std::string socketPath_;
};

}  // namespace pw
