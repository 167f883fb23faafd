// The one-copy check: a second copy reaches the first even in a deep folder,
// gives up on a first copy that never answers, and refuses a runtime folder
// that someone else could have made or planted things in.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/posix/RaiseListener.h"
#include "platform/posix/SingleInstance.h"
#include "tools/autoplay/TempFolder.h"

namespace pw {
namespace {

namespace fs = std::filesystem;
using Claim = SingleInstance::Claim;

// Runs ClaimOrSignal in a child process so that a call that blocks for ever
// fails the test instead of hanging it. Returns the claim, or -1 when the
// call was still running after `limitMs`.
int ClaimInChild(const std::string& folder, int limitMs) {
    pid_t child = fork();
    if (child == 0) {
        SingleInstance instance(folder);
        _exit(static_cast<int>(instance.ClaimOrSignal()));
    }
    for (int waited = 0; waited < limitMs; waited += 10) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
        usleep(10000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return -1;
}

sockaddr_un AddressOf(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    return address;
}

TEST(SingleInstanceTest, SecondCopyInAFolderTooDeepForASocketPathStillReachesTheFirst) {
    TempFolder root;
    std::string deep = root.path;
    while (deep.size() < 150) deep += "/a-long-folder-name";
    fs::create_directories(deep);
    const std::string folder = deep + "/pivotwarden";

    SingleInstance first(folder);
    ASSERT_EQ(first.ClaimOrSignal(), Claim::First) << first.Problem();
    std::atomic<int> raised{0};
    RaiseListener listener(first, [&raised]() { ++raised; });
    SingleInstance second(folder);
    EXPECT_EQ(second.ClaimOrSignal(), Claim::AnotherRuns) << second.Problem();
    for (int waited = 0; waited < 100 && raised.load() == 0; ++waited) usleep(10000);
    EXPECT_EQ(raised.load(), 1);
}

TEST(SingleInstanceTest, FirstCopyThatNeverAcceptsIsGivenUpOnWithinASecondOrSo) {
    TempFolder folder;
    // A stopped first copy: it holds the lock and its socket's queue is full.
    int lock = open((folder.path + "/instance.lock").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(flock(lock, LOCK_EX), 0);
    int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    const sockaddr_un address = AddressOf(folder.path + "/instance.sock");
    ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 0), 0);
    int queued = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    ASSERT_EQ(connect(queued, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);

    // The limit is far above the second the copy waits, only to stop a hang.
    EXPECT_EQ(ClaimInChild(folder.path, 10000), static_cast<int>(Claim::NoAnswer));
    close(queued);

    // With room in the queue the system takes the call and the request for
    // the stopped copy: no answer comes all the same.
    close(listener);
    unlink(address.sun_path);
    listener = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 16), 0);
    for (int start = 0; start < 3; ++start)
        EXPECT_EQ(ClaimInChild(folder.path, 10000), static_cast<int>(Claim::NoAnswer)) << start;
    close(listener);
    close(lock);
}

class UnsafeFolderTest : public ::testing::Test {
protected:
    // Claims in `folder` and expects the check to be left off, with a reason.
    void ExpectRefused(const std::string& folder, const std::string& reason) {
        SingleInstance instance(folder);
        EXPECT_EQ(instance.ClaimOrSignal(), Claim::Unavailable);
        EXPECT_NE(instance.Problem().find(reason), std::string::npos) << instance.Problem();
    }
    TempFolder root;
};

TEST_F(UnsafeFolderTest, FolderOthersCanEnterIsRefused) {
    const std::string folder = root.path + "/open";
    fs::create_directory(folder);
    chmod(folder.c_str(), 0755);
    ExpectRefused(folder, "open to other users");
}

TEST_F(UnsafeFolderTest, FolderOfAnotherUserIsRefused) {
    const std::string folder = root.path + "/theirs";
    fs::create_directory(folder);
    chmod(folder.c_str(), 0700);
    if (chown(folder.c_str(), 65534, 65534) != 0) GTEST_SKIP() << "giving a folder away needs root";
    ExpectRefused(folder, "belongs to another user");
    EXPECT_FALSE(fs::exists(folder + "/instance.lock"));
}

// A folder someone else made where the lock is kept first (/tmp/pivotwarden-UID
// with no runtime folder) gives way to the user's own: the check still holds.
TEST_F(UnsafeFolderTest, AFolderOfAnotherUserGivesWayToTheUsersOwn) {
    const std::vector<std::string> folders = {root.path + "/theirs", root.path + "/cache/pivotwarden"};
    fs::create_directory(folders[0]);
    chmod(folders[0].c_str(), 0700);
    if (chown(folders[0].c_str(), 65534, 65534) != 0) GTEST_SKIP() << "giving a folder away needs root";
    SingleInstance first(folders);
    ASSERT_EQ(first.ClaimOrSignal(), Claim::First) << first.Problem();
    EXPECT_EQ(first.Folder(), folders[1]);
    RaiseListener listener(first, []() {});
    SingleInstance second(folders);
    EXPECT_EQ(second.ClaimOrSignal(), Claim::AnotherRuns) << second.Problem();
    EXPECT_FALSE(fs::exists(folders[0] + "/instance.lock"));
    // Nor can that user switch the check off by taking their folder away
    // while the first copy plays: the next copy makes the shared folder its
    // own, and still finds the first.
    fs::remove(folders[0]);
    SingleInstance third(folders);
    EXPECT_EQ(third.ClaimOrSignal(), Claim::AnotherRuns) << third.Problem();
    EXPECT_TRUE(fs::exists(folders[0] + "/instance.lock"));

    // Only when no folder serves is the check off, saying why for each.
    const std::vector<std::string> neither = {folders[0], root.path + "/file/pivotwarden"};
    std::ofstream(root.path + "/file") << "a file where a folder should be";
    fs::create_directory(folders[0]);
    ASSERT_EQ(chown(folders[0].c_str(), 65534, 65534), 0);
    SingleInstance fourth(neither);
    EXPECT_EQ(fourth.ClaimOrSignal(), Claim::Unavailable);
    EXPECT_NE(fourth.Problem().find("belongs to another user"), std::string::npos) << fourth.Problem();
    EXPECT_NE(fourth.Problem().find("file/pivotwarden"), std::string::npos) << fourth.Problem();
}

TEST_F(UnsafeFolderTest, SymbolicLinksAreNotFollowed) {
    const std::string target = root.path + "/target";
    fs::create_directory(target);
    chmod(target.c_str(), 0700);
    fs::create_directory_symlink(target, root.path + "/linked");
    ExpectRefused(root.path + "/linked", "cannot open");

    // A lock planted as a link must not make the game create what it points to.
    const std::string planted = root.path + "/planted";
    fs::create_symlink(planted, target + "/instance.lock");
    ExpectRefused(target, "instance.lock");
    EXPECT_FALSE(fs::exists(fs::symlink_status(planted)));
}

}  // namespace
}  // namespace pw
