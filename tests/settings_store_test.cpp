#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "platform/posix/FileRegistry.h"
#include "settings/SettingsStore.h"
#include "tests/settings_test_folder.h"

namespace pw {
namespace {

using testing::ReadWholeFile;
using testing::SettingsTestFolder;
using testing::WriteWholeFile;

class SettingsStoreTest : public ::testing::Test {
protected:
    void TearDown() override {
        while (acquired > 0) Release();
    }

    SettingsStore& Acquire() {
        ++acquired;
        return SettingsStore::Acquire(context);
    }
    void Release() {
        --acquired;
        SettingsStore::Release(context);
    }
    // A fresh store loaded from what is stored now.
    SettingsStore& Reload() {
        while (acquired > 0) Release();
        return Acquire();
    }

    void Store(const std::string& name, const std::string& text) {
        std::unique_ptr<RegistryKey> key = registry.CreateKey(SettingsStore::kKeyPath);
        ASSERT_TRUE(key && key->WriteValue(name, text));
    }
    std::string Stored(const std::string& name) {
        std::unique_ptr<RegistryKey> key = registry.CreateKey(SettingsStore::kKeyPath);
        std::string text;
        if (!key || !key->ReadValue(name, text, 64)) return "<missing>";
        return text;
    }
    void Record(SettingsStore& store, const std::vector<int>& outcomes) {
        for (int outcome : outcomes) store.RecordResult(outcome != 0);
    }
    std::vector<uint8_t> Results(const SettingsStore& store) {
        std::vector<uint8_t> items(static_cast<size_t>(store.results.count));
        store.results.CopyToArray(items.data());
        return items;
    }

    SettingsTestFolder folder;
    FileRegistry registry{folder.root};
    SettingsContext context{registry};
    int acquired = 0;
};

TEST_F(SettingsStoreTest, FirstRunLoadsDefaultsAndWritesNothing) {
    SettingsStore& store = Acquire();
    EXPECT_EQ(store.score, 0);
    EXPECT_EQ(store.level, 1);
    EXPECT_EQ(store.autoAdjust, 1);
    EXPECT_EQ(store.levelChanged, 0);
    EXPECT_EQ(store.levelPoints, 24);
    EXPECT_EQ(store.results.count, 0);
    EXPECT_TRUE(std::filesystem::is_directory(folder.KeyFolder()));
    EXPECT_FALSE(std::filesystem::exists(folder.SettingsFile()));
}

TEST_F(SettingsStoreTest, StoredTextLoadsAsScanningItWouldOrAsTheDefault) {
    struct Case {
        const char* name;
        const char* text;
        int32_t expected;
    };
    const Case cases[] = {
        {"level", "7", 7},           {"level", "0", 1},         {"level", "16", 1},
        {"level", "seven", 1},       {"level", " 7", 7},        {"level", "\t +7", 7},
        {"level", "7a", 7},          {"level", "a7", 1},        {"level", "", 1},
        {"level", "-", 1},           {"level", "- 7", 1},       {"level", "000000015", 15},
        {"level", "0000000015", 1},  // ten characters: too long for the buffer
        {"score", "999999", 999999}, {"score", "1000000", 0},   {"score", "-5", 0},
        {"score", "-0", 0},          {"score", "999999999", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "=\"" + c.text + "\"");
        Store(c.name, c.text);
        SettingsStore& store = Reload();
        EXPECT_EQ(c.name == std::string("level") ? store.level : store.score, c.expected);
    }
}

TEST_F(SettingsStoreTest, AutoIsStoredInvertedAndOnlyOneMeansOff) {
    for (auto [text, expected] :
         std::vector<std::pair<const char*, int>>{{"0", 1}, {"1", 0}, {"2", 1}, {"x", 1}}) {
        SCOPED_TRACE(text);
        Store("auto", text);
        EXPECT_EQ(Reload().autoAdjust, expected);
    }
}

TEST_F(SettingsStoreTest, LoadingLeavesTheFileAsItWas) {
    const std::string text =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Marblequill\\Pivotwarden]\r\n"
        "\"score\" = \"1000000\"\r\n\"level\"=\"x\"\r\n";
    WriteWholeFile(folder.SettingsFile(), text);
    SettingsStore& store = Acquire();
    EXPECT_EQ(store.score, 0);
    EXPECT_EQ(ReadWholeFile(folder.SettingsFile()), text);
}

TEST_F(SettingsStoreTest, ReadValueGuardsAgainstNumbersTooLargeForThirtyTwoBits) {
    // A registry that hands out any length of text, as a larger buffer would.
    class LongTextKey : public RegistryKey {
    public:
        std::optional<size_t> ValueSize(const std::string&) override { return 64; }
        bool ReadValue(const std::string& name, std::string& text, size_t) override {
            text = name;
            return true;
        }
        bool WriteValue(const std::string&, const std::string&) override { return false; }
    };
    class LongTextRegistry : public Registry {
    public:
        std::unique_ptr<RegistryKey> CreateKey(const std::string&) override {
            return std::make_unique<LongTextKey>();
        }
    } longText;
    SettingsContext longContext(longText);
    SettingsStore& store = SettingsStore::Acquire(longContext);
    EXPECT_EQ(store.ReadValue("4294967303", 0, INT32_MAX), 0);  // would wrap to 7
    EXPECT_EQ(store.ReadValue("99999999999999999999999", 0, INT32_MAX), 0);
    EXPECT_EQ(store.ReadValue("2147483647", 0, INT32_MAX), INT32_MAX);
    EXPECT_EQ(store.ReadValue("-2147483648", INT32_MIN, 0), INT32_MIN);
    EXPECT_EQ(store.ReadValue("-2147483649", -5, 0), -5);
    SettingsStore::Release(longContext);
}

TEST_F(SettingsStoreTest, FourSuccessesAtTheTopChangeNothingAndTheWindowSlides) {
    Store("level", "15");
    SettingsStore& store = Acquire();
    Record(store, {1, 1, 1, 1, 0});
    EXPECT_EQ(store.level, 15);
    EXPECT_EQ(store.results.count, 5);
    Record(store, {0, 0});  // the last five hold three, then two successes
    EXPECT_EQ(store.level, 15);
    // Only the five that are judged are held, however long the level stays.
    EXPECT_EQ(Results(store), (std::vector<uint8_t>{1, 1, 0, 0, 0}));
    Record(store, std::vector<int>(1000, 1));
    Record(store, {1, 1, 0, 0});
    EXPECT_EQ(store.level, 15);
    EXPECT_EQ(Results(store), (std::vector<uint8_t>{1, 1, 1, 0, 0}));
    Record(store, {0});  // last five: 1 1 0 0 0
    EXPECT_EQ(store.level, 15);
    Record(store, {0});  // last five: 1 0 0 0 0
    EXPECT_EQ(store.level, 14);
    EXPECT_EQ(store.results.count, 0);
    EXPECT_EQ(Stored("level"), "14");
    EXPECT_EQ(store.levelChanged, 0);
}

TEST_F(SettingsStoreTest, FailuresAtTheBottomChangeNothingUntilFourSuccessesFollow) {
    SettingsStore& store = Acquire();
    Record(store, {0, 0, 0, 0, 0});
    EXPECT_EQ(store.level, 1);
    EXPECT_EQ(store.results.count, 5);
    EXPECT_EQ(Stored("level"), "<missing>");
    Record(store, {1, 1, 1});
    EXPECT_EQ(store.level, 1);
    Record(store, {1});
    EXPECT_EQ(store.level, 2);
    EXPECT_EQ(Stored("level"), "2");
}

TEST_F(SettingsStoreTest, AfterAMoveFiveNewResultsAreNeeded) {
    Store("level", "5");
    SettingsStore& store = Acquire();
    Record(store, {1, 0, 1, 1, 1});
    EXPECT_EQ(store.level, 6);
    EXPECT_EQ(store.results.count, 0);
    Record(store, {1, 1, 1, 1});
    EXPECT_EQ(store.level, 6);
    Record(store, {1});
    EXPECT_EQ(store.level, 7);
    Record(store, {0, 1, 0, 0, 1});  // two or three successes keep the level
    Record(store, {1});
    EXPECT_EQ(store.level, 7);
    Record(store, {0, 0, 0, 0});  // last five: 1 0 0 0 0
    EXPECT_EQ(store.level, 6);
    EXPECT_EQ(Stored("level"), "6");
}

TEST_F(SettingsStoreTest, SwitchingAutomaticLevellingOffStopsRecordingAndKeepsResults) {
    SettingsStore& store = Acquire();
    Record(store, {1, 1, 1});
    store.SetAutoAdjust(false);
    EXPECT_EQ(Stored("auto"), "1");
    Record(store, {1, 1, 1, 1, 1});
    EXPECT_EQ(store.level, 1);
    EXPECT_EQ(store.results.count, 3);
    store.SetAutoAdjust(true);
    EXPECT_EQ(Stored("auto"), "0");
    EXPECT_EQ(store.results.count, 3);
    Record(store, {1});
    EXPECT_EQ(store.level, 1);
    Record(store, {1});
    EXPECT_EQ(store.level, 2);
}

TEST_F(SettingsStoreTest, SetLevelByHand) {
    Store("level", "3");
    SettingsStore& store = Acquire();
    Record(store, {1, 0});

    Store("level", "9");  // shows whether the same level is written again
    store.SetLevel(3);
    EXPECT_EQ(Stored("level"), "3");
    EXPECT_EQ(store.levelChanged, 0);
    EXPECT_EQ(store.results.count, 2);

    for (int32_t outside : {0, 16, -1}) {
        store.SetLevel(outside);
        EXPECT_EQ(store.level, 3);
        EXPECT_EQ(store.levelChanged, 0);
        EXPECT_EQ(store.results.count, 2);
        EXPECT_EQ(Stored("level"), "3");
    }

    store.SetLevel(12);
    EXPECT_EQ(store.level, 12);
    EXPECT_EQ(store.levelChanged, 1);
    EXPECT_EQ(store.results.count, 0);
    EXPECT_EQ(Stored("level"), "12");
    EXPECT_EQ(Reload().level, 12);
}

TEST_F(SettingsStoreTest, AwardingAddsTheLoweredPointsThenTheFullPoints) {
    Store("score", "100");
    SettingsStore& store = Acquire();
    store.levelPoints = 6;
    store.AwardLevelPoints();
    EXPECT_EQ(store.score, 106);
    EXPECT_EQ(store.levelPoints, 24);
    store.AwardLevelPoints();
    EXPECT_EQ(store.score, 130);
    EXPECT_EQ(Stored("score"), "130");
    store.levelPoints = 0;
    store.AwardLevelPoints();  // nothing to add, but the score is written all the same
    EXPECT_EQ(store.score, 130);

    store.score = 0;
    store.WriteValue("score", 0);
    EXPECT_EQ(Stored("score"), "0");
    EXPECT_EQ(Reload().score, 0);
}

TEST_F(SettingsStoreTest, ScoreStopsAtTheHighestItCanBeLoadedAs) {
    Store("score", "999980");
    SettingsStore& store = Acquire();
    store.AwardLevelPoints();
    EXPECT_EQ(store.score, 999999);
    store.AwardLevelPoints();
    EXPECT_EQ(store.score, 999999);
    EXPECT_EQ(Stored("score"), "999999");
    EXPECT_EQ(Reload().score, 999999);

    SettingsStore& again = Reload();
    again.score = INT32_MAX;  // the game screen may set the score itself
    again.AwardLevelPoints();
    EXPECT_EQ(again.score, 999999);
}

TEST_F(SettingsStoreTest, SharedStoreLivesUntilTheLastRelease) {
    SettingsStore& first = Acquire();
    SettingsStore& second = Acquire();
    EXPECT_EQ(&first, &second);
    first.score = 55;  // in memory only
    Release();
    EXPECT_EQ(Acquire().score, 55);
    Release();
    Release();
    Store("score", "77");
    EXPECT_EQ(Acquire().score, 77);
    Release();
    SettingsStore::Release(context);  // one too many does no harm
    EXPECT_EQ(Acquire().score, 77);
}

TEST_F(SettingsStoreTest, UnreachableFolderGivesDefaultsAndALaterWriteRepairs) {
    Store("score", "300");
    std::filesystem::rename(folder.root + "/Marblequill", folder.root + "/moved");
    WriteWholeFile(folder.root + "/Marblequill", "not a folder");
    SettingsStore& store = Acquire();
    EXPECT_EQ(store.score, 0);
    EXPECT_EQ(store.level, 1);
    EXPECT_EQ(store.autoAdjust, 1);
    store.SetLevel(4);
    store.AwardLevelPoints();
    store.SetAutoAdjust(false);
    EXPECT_EQ(store.level, 4);  // play goes on with the values in memory
    EXPECT_EQ(store.score, 24);

    std::filesystem::remove(folder.root + "/Marblequill");
    store.SetLevel(5);
    EXPECT_EQ(Stored("level"), "5");
    EXPECT_EQ(Stored("score"), "<missing>");
}

TEST_F(SettingsStoreTest, CorruptFileGivesDefaultsAndALaterWriteRepairs) {
    std::string binary =
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_CURRENT_USER\\Software\\Marblequill\\Pivotwarden]\n\"level\"=\"9\"\n";
    binary[7] = '\0';
    WriteWholeFile(folder.SettingsFile(), binary);
    SettingsStore& store = Acquire();
    EXPECT_EQ(store.level, 1);
    store.SetLevel(6);
    SettingsStore& reloaded = Reload();
    EXPECT_EQ(reloaded.level, 6);
    EXPECT_EQ(reloaded.score, 0);
}

TEST_F(SettingsStoreTest, ReadOnlyFolderKeepsTheOldSettingsUntilWritableAgain) {
    Store("score", "50");
    SettingsStore& store = Acquire();
    ASSERT_EQ(chmod(folder.KeyFolder().c_str(), 0555), 0);
    if (SettingsTestFolder::CanCreateFileIn(folder.KeyFolder()))
        GTEST_SKIP() << "permissions are not enforced for this user";
    store.AwardLevelPoints();
    EXPECT_EQ(store.score, 74);
    EXPECT_EQ(Stored("score"), "50");
    ASSERT_EQ(chmod(folder.KeyFolder().c_str(), 0700), 0);
    store.AwardLevelPoints();
    EXPECT_EQ(Stored("score"), "98");
}

}  // namespace
}  // namespace pw
