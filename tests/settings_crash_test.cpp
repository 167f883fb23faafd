// A process killed at any moment while writing its settings leaves them whole:
// either the old or the new file, never a missing or torn one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <set>
#include <string>

#include "platform/posix/FileRegistry.h"
#include "tests/settings_test_folder.h"

namespace pw {
namespace {

using testing::ReadWholeFile;
using testing::SettingsTestFolder;

const char* const kKeyPath = "Software\\Marblequill\\Pivotwarden";

std::string SettingsText(const char* score) {
    return std::string("Windows Registry Editor Version 5.00\n\n") +
           "[HKEY_CURRENT_USER\\Software\\Marblequill\\Pivotwarden]\n\"level\"=\"3\"\n\"score\"=\"" + score +
           "\"\n";
}

// Writes the two scores in turn until killed, telling the parent through the
// pipe after each completed write.
[[noreturn]] void WriteForever(const std::string& root, int progress) {
    FileRegistry registry(root);
    for (unsigned round = 0;; ++round) {
        std::unique_ptr<RegistryKey> key = registry.CreateKey(kKeyPath);
        if (!key || !key->WriteValue("score", round % 2 == 0 ? "222222" : "111111")) _exit(1);
        char done = 1;
        if (write(progress, &done, 1) != 1) _exit(1);
    }
}

TEST(SettingsCrashTest, KilledWriterLeavesOldOrNewSettingsWhole) {
    SettingsTestFolder folder;
    FileRegistry registry(folder.root);
    {
        std::unique_ptr<RegistryKey> key = registry.CreateKey(kKeyPath);
        ASSERT_TRUE(key && key->WriteValue("level", "3") && key->WriteValue("score", "111111"));
    }
    const std::set<std::string> whole = {SettingsText("111111"), SettingsText("222222")};
    std::mt19937 random(20240611);

    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        int progress[2];
        ASSERT_EQ(pipe(progress), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(progress[0]);
            WriteForever(folder.root, progress[1]);
        }
        close(progress[1]);
        // Once the first write is done the child is surely in its loop, so the
        // kill lands somewhere in the middle of writing.
        char done = 0;
        ssize_t got = read(progress[0], &done, 1);
        usleep(static_cast<useconds_t>(random() % 3001));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        close(progress[0]);
        ASSERT_EQ(got, 1) << "the writer failed before its first write";
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer stopped by itself";

        std::string text = ReadWholeFile(folder.SettingsFile());
        ASSERT_EQ(whole.count(text), 1u) << text;
        std::string score;
        std::unique_ptr<RegistryKey> key = registry.CreateKey(kKeyPath);
        ASSERT_TRUE(key && key->ReadValue("score", score, 10));
        EXPECT_EQ(text, SettingsText(score.c_str()));
    }
    // Temporaries of killed writers are never taken for the settings, and are
    // the only other files left.
    for (const auto& entry : std::filesystem::directory_iterator(folder.KeyFolder())) {
        std::string name = entry.path().filename().string();
        if (name != "settings.reg") {
            EXPECT_EQ(name.rfind(".settings.reg.", 0), 0u) << name;
        }
    }
}

}  // namespace
}  // namespace pw
