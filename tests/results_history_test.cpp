// The results history: its rows read back as written, a torn last line is
// skipped and cut off before the next row, a text that is no history is left
// alone, the oldest rows go past the limit, a writer killed at any moment
// loses no row it finished, and the progress page drawn from a committed
// history is the one committed beside it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>

#include "results/ProgressPage.h"
#include "results/ResultsHistory.h"
#include "platform/posix/FileHistoryStorage.h"
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

TEST(ProgressPageTest, CommittedHistoryGivesTheCommittedPage) {
    const std::string folder = std::string(PW_SOURCE_DIR) + "/tests/data/progress/";
    std::vector<ResultRow> rows;
    ASSERT_TRUE(ResultsHistory::Parse(ReadFile(folder + "results.csv"), rows));
    ASSERT_GT(rows.size(), 20u);
    const std::string page = ProgressPage(rows, DateTime{2026, 12, 8, 18, 0, 0});
    EXPECT_EQ(page, ReadFile(folder + "progress.html"));
}

}  // namespace
}  // namespace pw
