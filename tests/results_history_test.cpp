// The results history: its rows read back as written, a torn last line is
// skipped and cut off before the next row, a text that is no history is left
// alone, the oldest rows go past the limit, a writer killed at any moment
// loses no row it finished, rows of another writer stay, a deleted history
// starts again whole, and the progress view never takes the history's place
// and says why when there is nothing to show.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/posix/FileHistoryStorage.h"
#include "results/ProgressPage.h"
#include "results/ResultsHistory.h"
#include "tools/autoplay/TempFolder.h"

namespace pw {
namespace {

ResultRow Row(int32_t moves, const std::string& set = "") {
    ResultRow row;
    row.when = DateTime{2026, 12, 8, 9, 5, 7};
    row.level = 12;
    row.balancingPoints = 12;
    row.answerPoints = 6;
    row.moves = moves;
    row.par = 4;
    row.clears = 2;
    row.hint = moves % 2 == 1;
    row.tenths = 123;
    row.finished = true;
    row.set = set;
    return row;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::vector<ResultRow> RowsOf(const std::string& path) {
    std::vector<ResultRow> rows;
    EXPECT_TRUE(ResultsHistory::Parse(ReadFile(path), rows)) << ReadFile(path);
    return rows;
}

TEST(ResultsHistoryTest, RowsReadBackAndATornLineIsSkippedThenCutOff) {
    MemoryHistoryStorage storage;
    std::vector<std::string> said;
    {
        ResultsHistory history(storage, [&](const std::string& m) { said.push_back(m); });
        ASSERT_TRUE(history.Append(Row(5, "4711-12")));
        ResultRow unfinished;
        unfinished.when = DateTime{2026, 12, 9, 23, 59, 59};
        unfinished.level = 1;
        unfinished.par = 1;
        ASSERT_TRUE(history.Append(unfinished));
        const std::vector<ResultRow> rows = history.Read();
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0], Row(5, "4711-12"));
        EXPECT_EQ(rows[1], unfinished);
    }
    EXPECT_EQ(storage.text, std::string(kResultsHeader) +
                                "2026-12-08 09:05:07,12,12,6,5,4,2,1,12.3,1,4711-12\n" +
                                "2026-12-09 23:59:59,1,0,0,0,1,0,0,,0,\n");
    // A crash mid-row: the fragment reads as nothing, and the next row
    // starts where it began.
    const std::string whole = storage.text;
    storage.text += "2026-12-10 10:00:00,3,24,2";
    {
        ResultsHistory history(storage, nullptr);
        EXPECT_EQ(history.Read().size(), 2u);
        ASSERT_TRUE(history.Append(Row(7)));
        EXPECT_EQ(storage.text, whole + FormatResultRow(Row(7)));
    }
    // Even the header can be torn by a first write that never finished.
    storage.text = "date,level,bal";
    {
        ResultsHistory history(storage, nullptr);
        EXPECT_TRUE(history.Read().empty());
        ASSERT_TRUE(history.Append(Row(1)));
        EXPECT_EQ(storage.text, std::string(kResultsHeader) + FormatResultRow(Row(1)));
    }
    EXPECT_TRUE(said.empty());
}

TEST(ResultsHistoryTest, TextThatIsNoHistoryIsLeftAloneAndSaidOnce) {
    const std::string notOurs[] = {
        "name,score\nAnna,10\n",
        std::string(kResultsHeader) + "2026-12-08 09:05:07,12,12,6,5,4,2,1,12.3,1,\nnot a row\n" +
            FormatResultRow(Row(2)),
        std::string(kResultsHeader) + "2026-13-08 09:05:07,12,12,6,5,4,2,1,12.3,1,\n",
        std::string(kResultsHeader) + "2026-12-08 09:05:07,12,12,6,5,4,2,2,12.3,1,\n",
    };
    for (const std::string& text : notOurs) {
        MemoryHistoryStorage storage;
        storage.present = true;
        storage.text = text;
        int said = 0;
        ResultsHistory history(storage, [&](const std::string&) { ++said; });
        EXPECT_TRUE(history.Read().empty());
        EXPECT_FALSE(history.Append(Row(1)));
        EXPECT_FALSE(history.Append(Row(2)));
        EXPECT_EQ(storage.text, text);
        EXPECT_EQ(said, 1) << text;
    }
}

TEST(ResultsHistoryTest, PastTheLimitTheOldestRowsGoInOneRewrite) {
    MemoryHistoryStorage storage;
    storage.present = true;
    storage.text = kResultsHeader;
    for (size_t i = 0; i < ResultsHistory::kMaxRows; ++i)
        storage.text += FormatResultRow(Row(static_cast<int32_t>(i)));
    ResultsHistory history(storage, nullptr);
    ASSERT_TRUE(history.Append(Row(900000)));
    std::vector<ResultRow> rows = history.Read();
    ASSERT_EQ(rows.size(), ResultsHistory::kTrimTo);
    EXPECT_EQ(rows.front().moves,
              static_cast<int32_t>(ResultsHistory::kMaxRows - ResultsHistory::kTrimTo + 1));
    EXPECT_EQ(rows.back().moves, 900000);
    ASSERT_TRUE(history.Append(Row(900001)));
    rows = history.Read();
    EXPECT_EQ(rows.size(), ResultsHistory::kTrimTo + 1);
}

// Appends numbered rows until killed, telling the parent after each one.
[[noreturn]] void AppendForever(const std::string& root, int progress) {
    FileHistoryStorage storage(root, "results.csv");
    ResultsHistory history(storage, nullptr);
    int32_t next = static_cast<int32_t>(history.Read().size());
    for (;; ++next) {
        if (!history.Append(Row(next))) _exit(1);
        char done = 1;
        if (write(progress, &done, 1) != 1) _exit(1);
    }
}

TEST(ResultsHistoryTest, KilledWhileAppendingEveryFinishedRowReadsBack) {
    TempFolder folder;
    FileHistoryStorage storage(folder.path, "results.csv");
    std::mt19937 random(20261208);
    size_t acked = 0;
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        int progress[2];
        ASSERT_EQ(pipe(progress), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(progress[0]);
            AppendForever(folder.path, progress[1]);
        }
        close(progress[1]);
        char done = 0;
        ASSERT_EQ(read(progress[0], &done, 1), 1) << "the writer failed before its first row";
        usleep(static_cast<useconds_t>(random() % 800));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer stopped by itself";
        size_t count = 1;
        char buffer[4096];
        for (ssize_t got; (got = read(progress[0], buffer, sizeof buffer)) > 0;)
            count += static_cast<size_t>(got);
        close(progress[0]);
        acked += count;

        std::vector<ResultRow> rows;
        ASSERT_TRUE(ResultsHistory::Parse(ReadFile(folder.path + "/results.csv"), rows));
        // Every row is the next number: none invented, none lost, and none
        // that was finished before the kill missing.
        ASSERT_GE(rows.size(), acked);
        for (size_t i = 0; i < rows.size(); ++i) ASSERT_EQ(rows[i].moves, static_cast<int32_t>(i));
        acked = rows.size();
    }
}

TEST(ResultsHistoryTest, AHistoryDeletedOrCutShortStartsAgainWithItsHeader) {
    TempFolder folder;
    const std::string path = folder.path + "/results.csv";
    FileHistoryStorage storage(folder.path, "results.csv");
    ResultsHistory history(storage, nullptr);
    ASSERT_TRUE(history.Append(Row(1)));
    ASSERT_TRUE(history.Append(Row(2)));
    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_TRUE(history.Append(Row(3)));
    EXPECT_EQ(ReadFile(path), std::string(kResultsHeader) + FormatResultRow(Row(3)));
    ASSERT_EQ(truncate(path.c_str(), 0), 0);
    ASSERT_TRUE(history.Append(Row(4)));
    ASSERT_TRUE(history.Append(Row(5)));
    EXPECT_EQ(RowsOf(path), (std::vector<ResultRow>{Row(4), Row(5)}));
}

// Two copies of the game with one history: in turns through one process, then
// at once from two.
TEST(ResultsHistoryTest, RowsOfAnotherWriterStayEachOnItsOwnLine) {
    TempFolder folder;
    const std::string path = folder.path + "/results.csv";
    {
        FileHistoryStorage storageA(folder.path, "results.csv"), storageB(folder.path, "results.csv");
        ResultsHistory a(storageA, nullptr), b(storageB, nullptr);
        for (int32_t i = 0; i < 10; ++i) {
            ASSERT_TRUE(a.Append(Row(i, "1")));
            ASSERT_TRUE(b.Append(Row(i, "2")));
        }
        const std::vector<ResultRow> rows = RowsOf(path);
        ASSERT_EQ(rows.size(), 20u);
        for (size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(rows[i], Row(static_cast<int32_t>(i / 2), i % 2 ? "2" : "1"));
    }
    ASSERT_EQ(unlink(path.c_str()), 0);
    constexpr int32_t kEach = 2000;
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    pid_t writers[2];
    for (int w = 0; w < 2; ++w) {
        writers[w] = fork();
        ASSERT_GE(writers[w], 0);
        if (writers[w] == 0) {
            close(start[1]);
            FileHistoryStorage storage(folder.path, "results.csv");
            ResultsHistory history(storage, nullptr);
            history.Read();
            char go;
            if (read(start[0], &go, 1) != 0) _exit(2);  // both start when the pipe closes
            for (int32_t i = 0; i < kEach; ++i)
                if (!history.Append(Row(i, std::to_string(w)))) _exit(1);
            _exit(0);
        }
    }
    close(start[0]);
    close(start[1]);
    for (pid_t writer : writers) {
        int status = 0;
        ASSERT_EQ(waitpid(writer, &status, 0), writer);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    // Each writer's rows all there, in its order.
    int32_t next[2] = {0, 0};
    for (const ResultRow& row : RowsOf(path)) {
        const int w = row.set == "1" ? 1 : 0;
        EXPECT_EQ(row.moves, next[w]++);
    }
    EXPECT_EQ(next[0], kEach);
    EXPECT_EQ(next[1], kEach);
}

TEST(ResultsHistoryTest, AHistorySavedByASpreadsheetIsReadAndAddedTo) {
    MemoryHistoryStorage storage;
    storage.present = true;
    std::string header = kResultsHeader;
    header.insert(header.size() - 1, "\r");
    std::string row = FormatResultRow(Row(1));
    row.insert(row.size() - 1, "\r");
    storage.text = "\xEF\xBB\xBF" + header + row;
    int said = 0;
    ResultsHistory history(storage, [&](const std::string&) { ++said; });
    EXPECT_EQ(history.Read(), std::vector<ResultRow>{Row(1)});
    ASSERT_TRUE(history.Append(Row(2)));
    EXPECT_EQ(history.Read(), (std::vector<ResultRow>{Row(1), Row(2)}));
    EXPECT_EQ(said, 0);
}

// A link to a history is read and written through, and kept as a link even
// when the oldest rows go; a link that leads nowhere never makes a file.
TEST(FileHistoryTest, ALinkIsFollowedToAHistoryButNeverToMakeOne) {
    TempFolder folder;
    const std::string target = folder.path + "/kept.csv", link = folder.path + "/results.csv";
    std::string text = kResultsHeader;
    for (size_t i = 0; i < ResultsHistory::kMaxRows; ++i)
        text += FormatResultRow(Row(static_cast<int32_t>(i)));
    WriteFile(target, text);
    ASSERT_EQ(symlink("kept.csv", link.c_str()), 0);
    FileHistoryStorage storage(folder.path, "results.csv");
    std::vector<std::string> said;
    ResultsHistory history(storage, [&](const std::string& m) { said.push_back(m); });
    ASSERT_TRUE(history.Append(Row(900000)));
    struct stat info;
    ASSERT_EQ(lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(RowsOf(target).size(), ResultsHistory::kTrimTo);
    ASSERT_TRUE(history.Append(Row(1)));
    EXPECT_EQ(RowsOf(target).back(), Row(1));

    ASSERT_EQ(unlink(target.c_str()), 0);
    ResultsHistory again(storage, [&](const std::string& m) { said.push_back(m); });
    EXPECT_FALSE(again.Append(Row(2)));
    EXPECT_NE(access(target.c_str(), F_OK), 0);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("leads nowhere"), std::string::npos) << said[0];
}

TEST(FileHistoryTest, AStaleTemporaryGoesAndWithoutAHomeNothingIsLookedForAtTheRoot) {
    TempFolder folder;
    const std::string stale = folder.path + "/.results.csv.Ab12Cd";
    WriteFile(stale, std::string(2 << 20, 'x'));
    WriteFile(folder.path + "/.results.csv.keep", "not ours");
    FileHistoryStorage storage(folder.path, "results.csv");
    ResultsHistory history(storage, nullptr);
    ASSERT_TRUE(history.Append(Row(1)));
    EXPECT_NE(access(stale.c_str(), F_OK), 0);
    EXPECT_EQ(ReadFile(folder.path + "/.results.csv.keep"), "not ours");

    FileHistoryStorage homeless("", "Marblequill/Pivotwarden/results.csv");
    std::vector<std::string> said;
    ResultsHistory nowhere(homeless, [&](const std::string& m) { said.push_back(m); });
    EXPECT_TRUE(nowhere.Read().empty());
    EXPECT_FALSE(nowhere.Append(Row(1)));
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("no home folder"), std::string::npos) << said[0];
    EXPECT_EQ(said[0].find("'/"), std::string::npos) << said[0];
}

// The game itself, asked for the view: exit code, error output in "err".
int RunGame(const std::string& folder, const std::string& arguments) {
    const std::string command = "cd '" + folder + "' && timeout -s KILL 60 '" + PW_EXECUTABLE + "' " +
                                arguments + " 2> err > /dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ProgressViewTest, NeverTakesTheHistorysPlaceAndSaysWhyWhenItHasNothingToShow) {
    TempFolder folder;
    const std::string history = std::string(kResultsHeader) + FormatResultRow(Row(1));
    WriteFile(folder.path + "/h.csv", history);
    ASSERT_EQ(symlink("h.csv", (folder.path + "/link.html").c_str()), 0);
    for (const char* view : {"h.csv", "./h.csv", "link.html"}) {
        EXPECT_NE(RunGame(folder.path, std::string("--progress ") + view + " --history h.csv"), 0) << view;
        EXPECT_NE(ReadFile(folder.path + "/err").find("results history itself"), std::string::npos)
            << ReadFile(folder.path + "/err");
        EXPECT_EQ(ReadFile(folder.path + "/h.csv"), history);
    }
    // A history that is no file gives a view that says so.
    ASSERT_EQ(mkdir((folder.path + "/folder.csv").c_str(), 0700), 0);
    EXPECT_EQ(RunGame(folder.path, "--progress view.html --history folder.csv"), 0);
    const std::string page = ReadFile(folder.path + "/view.html");
    EXPECT_NE(page.find("No puzzles can be shown"), std::string::npos) << page;
    EXPECT_NE(page.find("not a file"), std::string::npos) << page;
}

TEST(ProgressViewTest, ANewProfileGetsTheHistorysPrivateFolderForTheView) {
    TempFolder folder;
    FileHistoryStorage storage(folder.path, "Marblequill/Pivotwarden/results.csv");
    ResultsHistory history(storage, nullptr);
    std::string reason;
    const std::string view = folder.path + "/Marblequill/Pivotwarden/progress.html";
    ASSERT_TRUE(history.WriteView(view, DateTime{2026, 12, 8, 9, 0, 0}, reason)) << reason;
    EXPECT_NE(ReadFile(view).find("0 puzzles in the history"), std::string::npos);
    struct stat info;
    ASSERT_EQ(stat((folder.path + "/Marblequill").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(ProgressPageTest, CommittedHistoryGivesTheCommittedPage) {
    const std::string folder = std::string(PW_SOURCE_DIR) + "/tests/data/progress/";
    std::vector<ResultRow> rows;
    ASSERT_TRUE(ResultsHistory::Parse(ReadFile(folder + "results.csv"), rows));
    ASSERT_GT(rows.size(), 20u);
    const std::string page = ProgressPage(rows, DateTime{2026, 12, 8, 18, 0, 0});
    EXPECT_EQ(page, ReadFile(folder + "progress.html"));
}

// A row edited to an absurd level is counted but drawn nowhere.
TEST(ProgressPageTest, ALevelTheGameHasNotDrawsNoDot) {
    ResultRow row = Row(3);
    row.level = 999999999;
    const std::string page = ProgressPage({row}, DateTime{2026, 12, 8, 18, 0, 0});
    EXPECT_NE(page.find("1 puzzle in the history"), std::string::npos);
    EXPECT_EQ(page.find("<circle"), std::string::npos);
    EXPECT_EQ(page.find("999999999"), std::string::npos);
}

}  // namespace
}  // namespace pw
