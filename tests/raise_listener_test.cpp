// The first copy sleeps until a second one calls: the call, and only the
// call, reaches it through the listener's callback.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <condition_variable>
#include <mutex>

#include "platform/posix/RaiseListener.h"
#include "platform/posix/SingleInstance.h"
#include "tools/autoplay/TempFolder.h"

namespace pw {
namespace {

TEST(RaiseListenerTest, EachLaterCopyWakesTheFirstOnce) {
    TempFolder folder;
    SingleInstance first(folder.path + "/run");
    ASSERT_EQ(first.ClaimOrSignal(), SingleInstance::Claim::First) << first.Problem();
    std::mutex mutex;
    std::condition_variable changed;
    int calls = 0;
    RaiseListener listener(first, [&]() {
        std::lock_guard<std::mutex> lock(mutex);
        ++calls;
        changed.notify_all();
    });
    for (int copy = 1; copy <= 2; ++copy) {
        SingleInstance later(folder.path + "/run");
        EXPECT_EQ(later.ClaimOrSignal(), SingleInstance::Claim::AnotherRuns) << later.Problem();
        std::unique_lock<std::mutex> lock(mutex);
        EXPECT_TRUE(changed.wait_for(lock, std::chrono::seconds(5), [&]() { return calls >= copy; }));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::lock_guard<std::mutex> lock(mutex);
    EXPECT_EQ(calls, 2);

    // The listener takes no signals: SIGTERM must reach the game's thread,
    // asleep waiting for its next message.
    int helpers = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        if (task.path().filename() == std::to_string(getpid())) continue;
        std::ifstream status(task.path() / "status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("SigBlk:", 0) == 0) {
                const unsigned long long blocked = std::stoull(line.substr(7), nullptr, 16);
                EXPECT_TRUE(blocked & (1ull << (SIGTERM - 1))) << task.path();
                ++helpers;
            }
    }
    EXPECT_GE(helpers, 1);
}

}  // namespace
}  // namespace pw
