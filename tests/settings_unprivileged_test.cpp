// A read-only settings folder, tried as an ordinary user even when the tests
// run as the superuser (as CI does), for whom permissions are not enforced:
// the check runs in a child process that gives up its privileges first.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/posix/FileRegistry.h"
#include "settings/SettingsStore.h"
#include "settings_test_folder.h"

namespace pw {
namespace {

constexpr uid_t kNobody = 65534;

// Each failed check is a distinct exit code, so the parent can say which.
int ReadOnlyFolderAsNobody(const std::string& root, const std::string& keyFolder) {
    if (setgid(kNobody) != 0 || setuid(kNobody) != 0) return 10;
    if (chmod(keyFolder.c_str(), 0555) != 0) return 11;
    FileRegistry registry(root);
    SettingsContext context(registry);
    SettingsStore& store = SettingsStore::Acquire(context);
    if (store.score != 48) return 12;
    store.AwardLevelPoints();  // cannot be written: play goes on in memory
    if (store.score != 72) return 13;
    const std::string stored = testing::ReadWholeFile(keyFolder + "/settings.reg");
    if (stored.find("\"score\"=\"48\"") == std::string::npos) return 14;
    if (chmod(keyFolder.c_str(), 0700) != 0) return 15;
    store.AwardLevelPoints();  // writable again: the file catches up
    const std::string repaired = testing::ReadWholeFile(keyFolder + "/settings.reg");
    if (repaired.find("\"score\"=\"96\"") == std::string::npos) return 16;
    SettingsStore::Release(context);
    return 0;
}

TEST(SettingsUnprivilegedTest, ReadOnlyFolderKeepsPlayGoingAndTheOldFileUntilWritable) {
    if (geteuid() != 0) GTEST_SKIP() << "the read-only folder tests run as this user already";
    testing::SettingsTestFolder folder;
    {
        FileRegistry registry(folder.root);
        std::unique_ptr<RegistryKey> key = registry.CreateKey("Software\\Marblequill\\Pivotwarden");
        ASSERT_NE(key, nullptr);
        ASSERT_TRUE(key->WriteValue("score", "48"));
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.root))
        ASSERT_EQ(chown(entry.path().c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(chown(folder.root.c_str(), kNobody, kNobody), 0);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(ReadOnlyFolderAsNobody(folder.root, folder.KeyFolder()));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "check number " << WEXITSTATUS(status) << " failed";
}

}  // namespace
}  // namespace pw
