#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "platform/RegistryExport.h"
#include "platform/posix/FileRegistry.h"
#include "tests/settings_test_folder.h"

namespace pw {
namespace {

using testing::ReadWholeFile;
using testing::SettingsTestFolder;
using testing::WriteWholeFile;

const char* const kKeyPath = "Software\\Marblequill\\Pivotwarden";
const std::string kKeyLine = "[HKEY_CURRENT_USER\\Software\\Marblequill\\Pivotwarden]";

class FileRegistryTest : public ::testing::Test {
protected:
    std::unique_ptr<RegistryKey> Key() {
        std::unique_ptr<RegistryKey> key = registry.CreateKey(kKeyPath);
        EXPECT_NE(key, nullptr);
        return key;
    }
    // The value's text through a buffer of the size the game uses, or "<missing>".
    std::string Read(const std::string& name, size_t bufferChars = 10) {
        std::string text;
        std::unique_ptr<RegistryKey> key = Key();
        if (!key || !key->ReadValue(name, text, bufferChars)) return "<missing>";
        return text;
    }
    bool Write(const std::string& name, const std::string& text) {
        std::unique_ptr<RegistryKey> key = Key();
        return key && key->WriteValue(name, text);
    }
    std::vector<std::string> FolderEntries() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.KeyFolder()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    SettingsTestFolder folder;
    FileRegistry registry{folder.root};
};

TEST_F(FileRegistryTest, OpeningTheKeyMakesItsFolderButNoFileUntilTheFirstWrite) {
    std::unique_ptr<RegistryKey> key = Key();
    EXPECT_TRUE(std::filesystem::is_directory(folder.KeyFolder()));
    EXPECT_FALSE(std::filesystem::exists(folder.SettingsFile()));
    EXPECT_FALSE(key->ValueSize("score"));
    std::string text = "untouched";
    EXPECT_FALSE(key->ReadValue("score", text, 10));
    EXPECT_EQ(text, "untouched");
}

TEST_F(FileRegistryTest, WritesTheExportFormAndReadsValuesBackExactly) {
    ASSERT_TRUE(Write("score", "48"));
    EXPECT_EQ(ReadWholeFile(folder.SettingsFile()),
              "Windows Registry Editor Version 5.00\n\n" + kKeyLine + "\n\"score\"=\"48\"\n");

    ASSERT_TRUE(Write("level", "7"));
    ASSERT_TRUE(Write("score", "72"));  // replaces its line rather than adding one
    EXPECT_EQ(ReadWholeFile(folder.SettingsFile()), "Windows Registry Editor Version 5.00\n\n" + kKeyLine +
                                                        "\n\"score\"=\"72\"\n\"level\"=\"7\"\n");
    EXPECT_EQ(Read("score"), "72");
    EXPECT_EQ(Read("level"), "7");
    EXPECT_EQ(Key()->ValueSize("score"), 6u);  // two UTF-16 characters and the terminator

    ASSERT_TRUE(Write("odd", "a\\b\"c"));
    EXPECT_NE(ReadWholeFile(folder.SettingsFile()).find("\"odd\"=\"a\\\\b\\\"c\""), std::string::npos);
    EXPECT_EQ(Read("odd"), "a\\b\"c");
    ASSERT_TRUE(Write("", ""));
    EXPECT_EQ(Read(""), "");
}

TEST_F(FileRegistryTest, AValueLongerThanTheBufferReadsAsMissingRatherThanCut) {
    ASSERT_TRUE(Write("score", "123456789"));
    EXPECT_EQ(Read("score"), "123456789");
    ASSERT_TRUE(Write("score", "1234567890"));
    EXPECT_EQ(Read("score"), "<missing>");
    EXPECT_EQ(Read("score", 11), "1234567890");
    EXPECT_EQ(Key()->ValueSize("score"), 22u);
    // Characters are counted as the registry counts them, not as bytes.
    ASSERT_TRUE(Write("name", "\xC3\xA9t\xC3\xA9"));  // three characters in five bytes
    EXPECT_EQ(Key()->ValueSize("name"), 8u);
    EXPECT_EQ(Read("name", 4), "\xC3\xA9t\xC3\xA9");
}

TEST_F(FileRegistryTest, HandEditedFileIsReadAndKeptWhenAValueIsWritten) {
    const std::string edited =
        "Windows Registry Editor Version 5.00\r\n"
        "\r\n"
        "; changed by hand\r\n"
        "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
        "\"score\"=\"5\"\r\n"
        "\r\n"
        "[hkey_current_user\\software\\marblequill\\pivotwarden]\r\n"
        "  \"Score\" =  \"48\"  \r\n"
        "\r\n"
        "\"level\"=dword:00000003\r\n"
        "\"auto\"=\"1\r\n"
        "@=\"default\"\r\n"
        "\"colour\"=hex:01,02,\\\r\n"
        "  03,04\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Third]\r\n"
        "\"x\"=\"y\"\r\n";
    WriteWholeFile(folder.SettingsFile(), edited);

    EXPECT_EQ(Read("score"), "48");         // blanks around '=', names without regard to case
    EXPECT_EQ(Read("level"), "<missing>");  // another type
    EXPECT_EQ(Read("auto"), "<missing>");   // cut off
    EXPECT_EQ(Read("x"), "<missing>");      // another key

    ASSERT_TRUE(Write("level", "4"));
    ASSERT_TRUE(Write("points", "24"));
    std::string text = ReadWholeFile(folder.SettingsFile());
    EXPECT_EQ(text,
              "Windows Registry Editor Version 5.00\r\n"
              "\r\n"
              "; changed by hand\r\n"
              "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
              "\"score\"=\"5\"\r\n"
              "\r\n"
              "[hkey_current_user\\software\\marblequill\\pivotwarden]\r\n"
              "  \"Score\" =  \"48\"  \r\n"
              "\r\n"
              "\"level\"=\"4\"\r\n"
              "\"auto\"=\"1\r\n"
              "@=\"default\"\r\n"
              "\"colour\"=hex:01,02,\\\r\n"
              "  03,04\r\n"
              "\"points\"=\"24\"\r\n"
              "\r\n"
              "[HKEY_CURRENT_USER\\Software\\Third]\r\n"
              "\"x\"=\"y\"\r\n");
    EXPECT_EQ(Read("score"), "48");
    EXPECT_EQ(Read("level"), "4");
}

TEST_F(FileRegistryTest, FileWithoutHeaderOrOurKeyGainsThemAndKeepsItsLines) {
    WriteWholeFile(folder.SettingsFile(), kKeyLine + "\n\"score\"=\"9\"");  // no header, no final line end
    EXPECT_EQ(Read("score"), "9");
    ASSERT_TRUE(Write("level", "2"));
    EXPECT_EQ(ReadWholeFile(folder.SettingsFile()),
              "Windows Registry Editor Version 5.00\n\n" + kKeyLine + "\n\"score\"=\"9\"\n\"level\"=\"2\"\n");

    WriteWholeFile(folder.SettingsFile(), "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\A]\n");
    ASSERT_TRUE(Write("score", "1"));
    EXPECT_EQ(ReadWholeFile(folder.SettingsFile()),
              "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\A]\n\n" + kKeyLine +
                  "\n\"score\"=\"1\"\n");
}

TEST_F(FileRegistryTest, TruncatedFileReadsWhatIsWholeAndIsRepairedByAWrite) {
    const std::string whole =
        "Windows Registry Editor Version 5.00\n\n" + kKeyLine + "\n\"level\"=\"3\"\n\"score\"=\"480\"\n";
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        SCOPED_TRACE(cut);
        WriteWholeFile(folder.SettingsFile(), whole.substr(0, cut));
        std::string score = Read("score");
        EXPECT_TRUE(score == "<missing>" || score == "480") << score;  // never "48"
        std::string level = Read("level");
        EXPECT_TRUE(level == "<missing>" || level == "3") << level;
    }
    WriteWholeFile(folder.SettingsFile(), whole.substr(0, whole.size() - 4));  // ends in "score"="4
    ASSERT_TRUE(Write("score", "500"));
    EXPECT_EQ(ReadWholeFile(folder.SettingsFile()), "Windows Registry Editor Version 5.00\n\n" + kKeyLine +
                                                        "\n\"level\"=\"3\"\n\"score\"=\"500\"\n");
}

TEST_F(FileRegistryTest, BinaryFileReadsAsEmptyAndAWriteKeepsItAsideBeforeReplacingIt) {
    std::string garbage = "Windows Registry Editor Version 5.00\n\n" + kKeyLine + "\n\"score\"=\"48\"\n";
    garbage += std::string("\0\xFF\xFE\x01", 4);
    std::mt19937 random(7);
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>(random() & 0xFF);
    WriteWholeFile(folder.SettingsFile(), garbage);
    EXPECT_FALSE(Key()->ValueSize("score"));
    EXPECT_EQ(Read("score"), "<missing>");

    ASSERT_TRUE(Write("level", "2"));
    EXPECT_EQ(ReadWholeFile(folder.SettingsFile()),
              "Windows Registry Editor Version 5.00\n\n" + kKeyLine + "\n\"level\"=\"2\"\n");
    EXPECT_EQ(ReadWholeFile(folder.SettingsFile() + ".bak"), garbage) << "what could not be read is kept";
    ASSERT_TRUE(Write("level", "3"));
    EXPECT_EQ(ReadWholeFile(folder.SettingsFile() + ".bak"), garbage) << "and kept only once";
}

// A settings file the player made read-only stays as it is, and so does
// every file while a write fails (a full disk); play goes on, and the
// failure is said once.
TEST_F(FileRegistryTest, ReadOnlyFileOrAFailedWriteLeavesTheFileWholeAndIsSaidOnce) {
    std::vector<std::string> said;
    registry.OnWriteFailure([&said](const std::string& message) { said.push_back(message); });
    ASSERT_TRUE(Write("score", "48"));
    const std::string before = ReadWholeFile(folder.SettingsFile());
    ASSERT_EQ(chmod(folder.SettingsFile().c_str(), 0444), 0);
    EXPECT_FALSE(Write("score", "72"));
    EXPECT_FALSE(Write("level", "3"));
    EXPECT_EQ(ReadWholeFile(folder.SettingsFile()), before);
    EXPECT_EQ(Read("score"), "48");
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0], "cannot save the settings in '" + folder.SettingsFile() +
                           "': it is read-only, and is left as it is");
    ASSERT_EQ(chmod(folder.SettingsFile().c_str(), 0600), 0);

    // A file size limit fails the write as a full disk does, in a child
    // process so that the limit ends with it.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::vector<std::string> childSaid;
        registry.OnWriteFailure([&childSaid](const std::string& message) { childSaid.push_back(message); });
        signal(SIGXFSZ, SIG_IGN);
        const rlimit tiny{16, 16};
        if (setrlimit(RLIMIT_FSIZE, &tiny) != 0) _exit(10);
        if (Write("score", "96") || Write("score", "120")) _exit(11);
        if (ReadWholeFile(folder.SettingsFile()) != before) _exit(12);
        if (childSaid.size() != 1 || childSaid[0].find("File too large") == std::string::npos) _exit(13);
        _exit(FolderEntries() == std::vector<std::string>{"settings.reg"} ? 0 : 14);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "check " << WEXITSTATUS(status) << " failed";
}

// One limit for the bytes on disk, whatever they encode: a file over it is
// neither read (not even in part) nor replaced, since its end may hold what
// the player would lose.
TEST_F(FileRegistryTest, FileLargerThanTheLimitIsNeitherReadNorReplaced) {
    std::string start = "Windows Registry Editor Version 5.00\n\n" + kKeyLine + "\n\"score\"=\"48\"\n;";
    std::string atLimit = start + std::string(FileRegistry::kMaxFileBytes - start.size() - 1, 'x') + "\n";
    ASSERT_EQ(atLimit.size(), FileRegistry::kMaxFileBytes);
    WriteWholeFile(folder.SettingsFile(), atLimit);
    EXPECT_EQ(Read("score"), "48");

    std::vector<std::string> said;
    registry.OnWriteFailure([&said](const std::string& message) { said.push_back(message); });
    WriteWholeFile(folder.SettingsFile(), atLimit + "\n");
    EXPECT_EQ(Read("score"), "<missing>");
    const std::string large = atLimit + std::string(8 * FileRegistry::kMaxFileBytes, '\n');
    WriteWholeFile(folder.SettingsFile(), large);
    EXPECT_EQ(Read("score"), "<missing>");
    EXPECT_FALSE(Write("score", "50"));
    EXPECT_EQ(ReadWholeFile(folder.SettingsFile()), large);

    // In UTF-16 the first megabyte decodes to less than one: it is not taken
    // for the whole file either.
    std::string utf16 = "\xFF\xFE";
    for (char c : start + std::string(FileRegistry::kMaxFileBytes / 2, 'x') + "\n\"level\"=\"9\"\n")
        utf16 += std::string{c, '\0'};
    WriteWholeFile(folder.SettingsFile(), utf16);
    EXPECT_EQ(Read("score"), "<missing>");
    EXPECT_FALSE(Write("score", "50"));
    EXPECT_EQ(ReadWholeFile(folder.SettingsFile()), utf16);
    ASSERT_EQ(said.size(), 1u) << "said once";
    EXPECT_NE(said[0].find("larger than 1024 KiB"), std::string::npos) << said[0];
}

TEST_F(FileRegistryTest, TextThatWouldBreakTheFileIsRefused) {
    ASSERT_TRUE(Write("score", "1"));
    const std::string before = ReadWholeFile(folder.SettingsFile());
    EXPECT_FALSE(Write("score", "2\n[HKEY_CURRENT_USER\\X]"));
    EXPECT_FALSE(Write("score", "2\r"));
    EXPECT_FALSE(Write("sc\nore", "2"));
    EXPECT_FALSE(Write("score", std::string("2\0", 2)));
    EXPECT_EQ(ReadWholeFile(folder.SettingsFile()), before);
}

TEST_F(FileRegistryTest, KeyPathsCannotLeaveTheConfigurationFolder) {
    for (const char* path : {"", "Software\\..\\..\\escaped", "Software\\.", "Software\\a/b", "Software\\\\x",
                             "Software\\Marblequill\\"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(registry.CreateKey(path), nullptr);
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(folder.root).parent_path() / "escaped"));
    // Only a leading "Software" is dropped; a deeper one is an ordinary folder.
    EXPECT_NE(registry.CreateKey("Software\\A\\Software"), nullptr);
    EXPECT_TRUE(std::filesystem::is_directory(folder.root + "/A/Software"));
}

TEST_F(FileRegistryTest, FolderThatCannotBeCreatedGivesNoKey) {
    WriteWholeFile(folder.root + "/Marblequill", "a file where the folder should be");
    EXPECT_EQ(registry.CreateKey(kKeyPath), nullptr);
}

TEST_F(FileRegistryTest, SettingsPathThatIsNotAFileReadsAsEmptyAndIsLeftAlone) {
    std::filesystem::create_directories(folder.SettingsFile());
    EXPECT_EQ(Read("score"), "<missing>");
    EXPECT_FALSE(Write("score", "1"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.SettingsFile()));

    std::filesystem::remove(folder.SettingsFile());
    ASSERT_EQ(mkfifo(folder.SettingsFile().c_str(), 0600), 0);
    EXPECT_EQ(Read("score"), "<missing>");  // returns rather than waiting for a writer
    EXPECT_FALSE(Write("score", "1"));
}

TEST_F(FileRegistryTest, ReadOnlyFolderRefusesWritesAndKeepsTheOldFile) {
    ASSERT_TRUE(Write("score", "48"));
    const std::string before = ReadWholeFile(folder.SettingsFile());
    ASSERT_EQ(chmod(folder.KeyFolder().c_str(), 0555), 0);
    if (SettingsTestFolder::CanCreateFileIn(folder.KeyFolder()))
        GTEST_SKIP() << "permissions are not enforced for this user";
    EXPECT_FALSE(Write("score", "72"));
    EXPECT_EQ(Read("score"), "48");
    EXPECT_EQ(ReadWholeFile(folder.SettingsFile()), before);
    ASSERT_EQ(chmod(folder.KeyFolder().c_str(), 0700), 0);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"settings.reg"});  // no temporary left behind
    EXPECT_TRUE(Write("score", "72"));
    EXPECT_EQ(Read("score"), "72");
}

TEST_F(FileRegistryTest, ReplacingTheFileKeepsItsPermissionsAndLeavesNoTemporary) {
    ASSERT_TRUE(Write("score", "1"));
    ASSERT_EQ(chmod(folder.SettingsFile().c_str(), 0640), 0);
    ASSERT_TRUE(Write("score", "2"));
    struct stat info;
    ASSERT_EQ(stat(folder.SettingsFile().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"settings.reg"});
}

class ScopedEnvironment {
public:
    explicit ScopedEnvironment(const char* name) : name(name) {
        const char* value = std::getenv(name);
        if (value != nullptr) saved = value;
    }
    ~ScopedEnvironment() {
        if (saved)
            setenv(name, saved->c_str(), 1);
        else
            unsetenv(name);
    }

private:
    const char* name;
    std::optional<std::string> saved;
};

// A system export is UTF-16 with a byte order mark, either byte order; its
// values read as they would from UTF-8, and the next write keeps them all.
TEST_F(FileRegistryTest, Utf16ExportsAreReadAndRewrittenAsUtf8) {
    const std::string text = std::string(RegistryExport::kHeader) + "\r\n\r\n" + kKeyLine +
                             "\r\n\"score\"=\"500\"\r\n\"level\"=\"9\"\r\n";
    for (int kind = 0; kind < 4; ++kind) {
        // Some tools leave the byte order mark out.
        const bool little = kind % 2 == 0, marked = kind < 2;
        std::string bytes = !marked ? "" : little ? "\xFF\xFE" : "\xFE\xFF";
        for (char c : text) bytes += little ? std::string{c, '\0'} : std::string{'\0', c};
        WriteWholeFile(folder.SettingsFile(), bytes);
        EXPECT_EQ(Read("score"), "500") << kind;
        EXPECT_EQ(Read("level"), "9") << kind;
        ASSERT_TRUE(Write("auto", "1"));
        const std::string rewritten = ReadWholeFile(folder.SettingsFile());
        EXPECT_EQ(rewritten.find('\0'), std::string::npos);
        EXPECT_NE(rewritten.find("\"score\"=\"500\""), std::string::npos) << rewritten;
        EXPECT_EQ(Read("score"), "500");
        EXPECT_EQ(Read("auto"), "1");
    }
}

// A settings file that is a link stays one: the file it leads to is
// rewritten, with its own permissions.
TEST_F(FileRegistryTest, ALinkedSettingsFileIsWrittenThroughToItsTarget) {
    Key();
    const std::string target = folder.root + "/kept-elsewhere.reg";
    WriteWholeFile(target, std::string(RegistryExport::kHeader) + "\n\n" + kKeyLine + "\n\"score\"=\"7\"\n");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_EQ(symlink("../../kept-elsewhere.reg", folder.SettingsFile().c_str()), 0);
    EXPECT_EQ(Read("score"), "7");
    ASSERT_TRUE(Write("score", "8"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.SettingsFile()));
    EXPECT_NE(ReadWholeFile(target).find("\"score\"=\"8\""), std::string::npos);
    struct stat info;
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(FolderEntries().size(), 1u) << "no temporary left beside the link";
}

// A replay's settings are rewritten in place; a shorter text leaves nothing
// of the longer one behind.
TEST_F(FileRegistryTest, DiscardableSettingsAreRewrittenInPlace) {
    FileRegistry discardable{folder.root, FileRegistry::Durability::Discardable};
    std::unique_ptr<RegistryKey> key = discardable.CreateKey(kKeyPath);
    ASSERT_TRUE(key && key->WriteValue("score", "123456") && key->WriteValue("level", "12"));
    ASSERT_TRUE(key->WriteValue("score", "5"));
    const std::string text = ReadWholeFile(folder.SettingsFile());
    EXPECT_EQ(text, std::string(RegistryExport::kHeader) + "\n\n" + kKeyLine +
                        "\n\"score\"=\"5\"\n\"level\"=\"12\"\n");
    EXPECT_EQ(Read("level"), "12");
}

TEST(FileRegistryDefaultRoot, FollowsXdgConfigHomeThenHome) {
    ScopedEnvironment keepXdg("XDG_CONFIG_HOME");
    ScopedEnvironment keepHome("HOME");
    setenv("HOME", "/home/player", 1);
    setenv("XDG_CONFIG_HOME", "/elsewhere/config", 1);
    EXPECT_EQ(FileRegistry::DefaultConfigRoot(), "/elsewhere/config");
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(FileRegistry::DefaultConfigRoot(), "/home/player/.config");
    setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(FileRegistry::DefaultConfigRoot(), "/home/player/.config");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(FileRegistry::DefaultConfigRoot(), "/home/player/.config");
    // A relative home is ignored as well: the user database's home serves.
    setenv("HOME", "player", 1);
    const std::string fromDatabase = FileRegistry::DefaultConfigRoot();
    EXPECT_TRUE(fromDatabase.empty() || fromDatabase[0] == '/') << fromDatabase;

    SettingsTestFolder folder;
    setenv("XDG_CONFIG_HOME", folder.root.c_str(), 1);
    FileRegistry usersOwn{""};
    std::unique_ptr<RegistryKey> key = usersOwn.CreateKey(kKeyPath);
    ASSERT_TRUE(key && key->WriteValue("score", "5"));
    EXPECT_NE(ReadWholeFile(folder.SettingsFile()).find("\"score\"=\"5\""), std::string::npos);
}

}  // namespace
}  // namespace pw
