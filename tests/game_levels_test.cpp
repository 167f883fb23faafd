// Every level's puzzle over many seeds: the masses, ranges and exclusions of
// the level table, the grey weights on their pans, a scale that never starts
// level, and a puzzle that can always be solved within the pans' capacity
// (and within par wherever the intended solution fits in it). A model of the
// random draws checks that each seed builds exactly the expected puzzle, so
// recorded games replay the same.
#include <array>
#include <set>

#include "tests/game_test_support.h"

namespace pw::gametest {
namespace {

constexpr unsigned kSeeds = 300;

enum class Kind { Match, Sum, Difference, Opposite, SameSide, FixedSet };

struct Expected {
    Kind kind = Kind::Match;
    std::vector<int32_t> leftGrey;
    std::vector<int32_t> rightGrey;
    std::vector<int32_t> tray;
    // The moves of the solution the puzzle was built around.
    int32_t intendedMoves = 0;
};

// The puzzle a level builds from the current state of the generator, told the way a
// player would describe it rather than the way the game builds elements.
class PuzzleModel {
public:
    // Deals from the seed as the C library's srand() would.
    void Seed(unsigned seed) { random.Seed(seed); }
    Expected Build(int32_t level) {
        switch (level) {
            case 1:
            case 10:
                return Match();
            case 2:
                return SameSide(10);
            case 3:
                return SameSide(20);
            case 4:
                return Opposite(10);
            case 5:
                return Opposite(20);
            case 6:
            case 11:
                return Sum(10);
            case 7:
            case 12:
                return Sum(20);
            case 8:
            case 13:
                return Difference(20);
            case 9:
            case 14:
                return FixedSet();
            default: {
                const int kind = random.Next() % 5;
                if (kind == 0) return Match();
                if (kind == 1) return Sum(10);
                if (kind == 2) return Sum(20);
                if (kind == 3) return Difference(20);
                return FixedSet();
            }
        }
    }

private:
    GlibcRandom random;
    static void PutOn(Expected& e, bool left, int32_t mass) {
        (left ? e.leftGrey : e.rightGrey).push_back(mass);
    }
    void TwoDifferent(int32_t half, int32_t& p, int32_t& q) {
        p = random.Next() % half + 1;
        do q = random.Next() % half + 1;
        while (q == p);
    }
    void Fill(std::vector<int32_t>& tray, int32_t n, int32_t excluded) {
        for (int32_t& slot : tray) {
            if (slot != -1) continue;
            int32_t v;
            do v = random.Next() % n + 1;
            while (v == excluded || std::find(tray.begin(), tray.end(), v) != tray.end());
            slot = v;
        }
    }
    void TwoSlots(std::vector<int32_t>& tray, int32_t first, int32_t second) {
        const int k1 = random.Next() % 7;
        int k2;
        do k2 = random.Next() % 7;
        while (k2 == k1);
        tray[static_cast<size_t>(k1)] = first;
        tray[static_cast<size_t>(k2)] = second;
    }

    Expected Match() {
        Expected e{Kind::Match, {}, {}, std::vector<int32_t>(7, -1), 1};
        const int32_t m = random.Next() % 10 + 1;
        PutOn(e, random.Next() % 2 == 0, m);
        e.tray[static_cast<size_t>(random.Next() % 7)] = m;
        Fill(e.tray, 10, -1);
        return e;
    }
    Expected Sum(int32_t range) {
        Expected e{Kind::Sum, {}, {}, std::vector<int32_t>(7, -1), 2};
        int32_t p, q;
        TwoDifferent(range / 2, p, q);
        PutOn(e, random.Next() % 2 == 0, p + q);
        TwoSlots(e.tray, p, q);
        Fill(e.tray, range, p + q);
        return e;
    }
    Expected Difference(int32_t range) {
        Expected e{Kind::Difference, {}, {}, std::vector<int32_t>(7, -1), 2};
        int32_t p, q;
        TwoDifferent(range / 2, p, q);
        PutOn(e, random.Next() % 2 == 0, p);
        TwoSlots(e.tray, q, p + q);
        Fill(e.tray, range, p);
        return e;
    }
    Expected Opposite(int32_t range) {
        Expected e{Kind::Opposite, {}, {}, std::vector<int32_t>(7, -1), 1};
        int32_t p, q;
        TwoDifferent(range / 2, p, q);
        const bool lighterLeft = random.Next() % 2 == 0;
        PutOn(e, lighterLeft, p);
        PutOn(e, !lighterLeft, p + q);
        e.tray[static_cast<size_t>(random.Next() % 7)] = q;
        Fill(e.tray, range, q);
        return e;
    }
    Expected SameSide(int32_t range) {
        Expected e{Kind::SameSide, {}, {}, std::vector<int32_t>(7, -1), 1};
        int32_t p, q;
        TwoDifferent(range / 2, p, q);
        const bool left = random.Next() % 2 == 0;
        PutOn(e, left, p);
        PutOn(e, left, q);
        e.tray[static_cast<size_t>(random.Next() % 7)] = p + q;
        Fill(e.tray, range, p + q);
        return e;
    }
    Expected FixedSet() {
        static const std::vector<int32_t> kRows[3] = {
            {1, 2, 3, 4, 4, 5, 5}, {1, 2, 3, 3, 4, 4, 5}, {1, 2, 2, 3, 3, 4, 5}};
        Expected e{Kind::FixedSet, {}, {}, kRows[random.Next() % 3], 5};
        int32_t heaviestFive = 0;
        for (size_t i = 2; i < 7; ++i) heaviestFive += e.tray[i];
        const int32_t mass = heaviestFive + random.Next() % 10 - 9;
        PutOn(e, random.Next() % 2 == 0, mass);
        return e;
    }
};

// Every way of leaving each tray weight in the tray or putting it on either
// pan: the fewest weights that balance within the capacity, or -1.
class Exhaustion {
public:
    explicit Exhaustion(const std::vector<int32_t>& trayMasses) : tray(trayMasses) {}

    int32_t FewestMoves(const std::vector<int32_t>& left, const std::vector<int32_t>& right) {
        int32_t difference = 0;
        for (int32_t m : left) difference += m;
        for (int32_t m : right) difference -= m;
        best = -1;
        Walk(0, difference, 5 - static_cast<int32_t>(left.size()), 5 - static_cast<int32_t>(right.size()), 0);
        return best;
    }

private:
    void Walk(size_t i, int32_t difference, int32_t leftRoom, int32_t rightRoom, int32_t moved) {
        if (leftRoom < 0 || rightRoom < 0) return;
        if (i == tray.size()) {
            if (difference == 0 && (best < 0 || moved < best)) best = moved;
            return;
        }
        Walk(i + 1, difference, leftRoom, rightRoom, moved);
        Walk(i + 1, difference + tray[i], leftRoom - 1, rightRoom, moved + 1);
        Walk(i + 1, difference - tray[i], leftRoom, rightRoom - 1, moved + 1);
    }

    const std::vector<int32_t>& tray;
    int32_t best = -1;
};

int32_t FewestMovesByExhaustion(const std::vector<int32_t>& left, const std::vector<int32_t>& right,
                                const std::vector<int32_t>& tray) {
    return Exhaustion(tray).FewestMoves(left, right);
}

// Checks a solver's answer on its own terms: capacity, balance, each tray
// weight used once.
void ExpectSolutionBalances(const std::vector<int32_t>& left, const std::vector<int32_t>& right,
                            const std::vector<int32_t>& tray, const PuzzleSolution& solution) {
    int32_t leftSum = 0, rightSum = 0;
    size_t leftCount = left.size(), rightCount = right.size();
    for (int32_t m : left) leftSum += m;
    for (int32_t m : right) rightSum += m;
    std::set<int32_t> used;
    for (const TrayPlacement& p : solution.placements) {
        ASSERT_GE(p.trayIndex, 0);
        ASSERT_LT(p.trayIndex, static_cast<int32_t>(tray.size()));
        EXPECT_TRUE(used.insert(p.trayIndex).second);
        const int32_t m = tray[static_cast<size_t>(p.trayIndex)];
        if (p.pan == PanSide::Left)
            leftSum += m, ++leftCount;
        else
            rightSum += m, ++rightCount;
    }
    EXPECT_EQ(leftSum, rightSum);
    EXPECT_LE(leftCount, 5u);
    EXPECT_LE(rightCount, 5u);
}

bool AllDistinct(const std::vector<int32_t>& v) {
    return std::set<int32_t>(v.begin(), v.end()).size() == v.size();
}

bool Contains(const std::vector<int32_t>& v, int32_t m) {
    return std::find(v.begin(), v.end(), m) != v.end();
}

// The rules of the level table, checked on the expected puzzle of one kind.
void ExpectTableRules(const Expected& e, int32_t range) {
    std::vector<int32_t> greys = e.leftGrey;
    greys.insert(greys.end(), e.rightGrey.begin(), e.rightGrey.end());
    const int32_t half = range / 2;
    for (int32_t m : e.tray) {
        EXPECT_GE(m, 1);
        EXPECT_LE(m, e.kind == Kind::FixedSet ? 5 : range);
    }
    if (e.kind != Kind::FixedSet) {
        EXPECT_TRUE(AllDistinct(e.tray));
    }
    switch (e.kind) {
        case Kind::Match:
            ASSERT_EQ(greys.size(), 1u);
            EXPECT_EQ(std::count(e.tray.begin(), e.tray.end(), greys[0]), 1);
            break;
        case Kind::Sum: {
            ASSERT_EQ(greys.size(), 1u);
            EXPECT_GE(greys[0], 3);
            EXPECT_LE(greys[0], 2 * half - 1);
            EXPECT_FALSE(Contains(e.tray, greys[0]));
            bool pair = false;
            for (int32_t p : e.tray)
                pair = pair || (p <= half && 2 * p != greys[0] && greys[0] - p <= half &&
                                Contains(e.tray, greys[0] - p));
            EXPECT_TRUE(pair);
            break;
        }
        case Kind::Difference: {
            ASSERT_EQ(greys.size(), 1u);
            EXPECT_LE(greys[0], half);
            EXPECT_FALSE(Contains(e.tray, greys[0]));
            bool pair = false;
            for (int32_t q : e.tray)
                pair = pair || (q <= half && q != greys[0] && Contains(e.tray, q + greys[0]));
            EXPECT_TRUE(pair);
            break;
        }
        case Kind::Opposite:
            ASSERT_EQ(e.leftGrey.size(), 1u);
            ASSERT_EQ(e.rightGrey.size(), 1u);
            EXPECT_NE(e.leftGrey[0], e.rightGrey[0]);
            EXPECT_TRUE(Contains(e.tray, std::abs(e.leftGrey[0] - e.rightGrey[0])));
            for (int32_t m : greys) EXPECT_LE(m, range);
            break;
        case Kind::SameSide:
            ASSERT_EQ(greys.size(), 2u);
            EXPECT_TRUE(e.leftGrey.empty() || e.rightGrey.empty());
            EXPECT_NE(greys[0], greys[1]);
            EXPECT_LE(std::max(greys[0], greys[1]), half);
            EXPECT_EQ(std::count(e.tray.begin(), e.tray.end(), greys[0] + greys[1]), 1);
            break;
        case Kind::FixedSet: {
            ASSERT_EQ(greys.size(), 1u);
            int32_t heaviestFive = 0;
            for (size_t i = 2; i < 7; ++i) heaviestFive += e.tray[i];
            EXPECT_GE(greys[0], heaviestFive - 9);
            EXPECT_LE(greys[0], heaviestFive);
            break;
        }
    }
}

int32_t RangeOf(int32_t level, Kind kind) {
    if (kind == Kind::Match) return 10;
    if (level == 2 || level == 4 || level == 6 || level == 11) return 10;
    return 20;
}

class GameLevelsTest : public GameFixture, public testing::WithParamInterface<int32_t> {};

TEST_P(GameLevelsTest, BuildsTheTablePuzzleForEverySeed) {
    const int32_t level = GetParam();
    GameScreen& g = Start(level);
    PuzzleModel model;
    {
        const bool hidden = level >= 10;
        std::set<Kind> kindsSeen;
        for (unsigned seed = 1; seed <= kSeeds; ++seed) {
            g.game.random.Seed(seed);
            g.SetupLevel();
            model.Seed(seed);
            const Expected e = model.Build(level);
            kindsSeen.insert(e.kind);
            SCOPED_TRACE(testing::Message() << "seed " << seed);

            // The board holds exactly the modelled puzzle.
            ASSERT_EQ(GreyMassesOn(g.leftPan), e.leftGrey);
            ASSERT_EQ(GreyMassesOn(g.rightPan), e.rightGrey);
            ASSERT_EQ(TrayMasses(g), e.tray);
            ASSERT_EQ(g.levelWeights.count, static_cast<int32_t>(7 + e.leftGrey.size() + e.rightGrey.size()));
            ExpectTableRules(e, RangeOf(level, e.kind));

            // Tray weights at home and free to move; grey ones fixed on the pans.
            const std::vector<Weight*> tray = TrayWeights(g);
            for (int32_t i = 0; i < 7; ++i) {
                Weight* w = tray[static_cast<size_t>(i)];
                EXPECT_EQ(w->GetX(), 20 + 30 * i);
                EXPECT_EQ(w->GetY(), 280);
                EXPECT_EQ(w->homeX, w->GetX());
                EXPECT_TRUE(w->enabled && w->draggable && w->visible && w->showNumber);
            }
            const std::vector<Weight*> greys = GreyWeights(g);
            for (Weight* w : greys) {
                EXPECT_FALSE(w->enabled || w->draggable);
                EXPECT_TRUE(g.leftPan.Contains(w) || g.rightPan.Contains(w));
                EXPECT_EQ(w->showNumber, !hidden);
            }
            EXPECT_EQ(g.pendingWeight, hidden ? greys[0] : nullptr);

            // Never level at the start, and the picture leans the right way.
            const int32_t balance = g.Balance();
            ASSERT_NE(balance, 0);
            EXPECT_EQ(g.scale->currentFrame, balance < 0 ? 0 : 2);

            // Solvable within the pans' capacity; within par when the intended
            // solution fits in it.
            const PuzzleSolution solution = PuzzleSolver::Solve(e.leftGrey, e.rightGrey, e.tray);
            const int32_t fewest = FewestMovesByExhaustion(e.leftGrey, e.rightGrey, e.tray);
            ASSERT_TRUE(solution.found);
            EXPECT_EQ(static_cast<int32_t>(solution.placements.size()), fewest);
            ExpectSolutionBalances(e.leftGrey, e.rightGrey, e.tray, solution);
            EXPECT_LE(fewest, e.intendedMoves);
            if (e.intendedMoves <= GameScreen::ParFor(level)) {
                EXPECT_LE(fewest, GameScreen::ParFor(level));
            }
        }
        // Level 15 draws its kind afresh for every puzzle.
        EXPECT_EQ(kindsSeen.size(), level == 15 ? 4u : 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, GameLevelsTest, testing::Range(1, GameScreen::kLevelCount + 1),
                         [](const testing::TestParamInfo<int32_t>& info) {
                             return "Level" + std::to_string(info.param);
                         });

TEST(PuzzleSolverTest, AgreesWithExhaustionOnRandomPans) {
    srand(2024);
    for (int round = 0; round < 400; ++round) {
        std::vector<int32_t> left(static_cast<size_t>(rand() % 3)), right(static_cast<size_t>(rand() % 3));
        for (int32_t& m : left) m = rand() % 20 + 1;
        for (int32_t& m : right) m = rand() % 20 + 1;
        std::vector<int32_t> tray(7);
        for (int32_t& m : tray) m = rand() % 12 + 1;
        const PuzzleSolution solution = PuzzleSolver::Solve(left, right, tray);
        const int32_t fewest = FewestMovesByExhaustion(left, right, tray);
        ASSERT_EQ(solution.found, fewest >= 0);
        if (!solution.found) continue;
        EXPECT_EQ(static_cast<int32_t>(solution.placements.size()), fewest);
        ExpectSolutionBalances(left, right, tray, solution);
    }
}

TEST(PuzzleSolverTest, RespectsThePanCapacity) {
    // Six ones would balance the 6, but a pan holds only five weights.
    EXPECT_TRUE(PuzzleSolver::Solve({5}, {}, {1, 1, 1, 1, 1, 9, 9}).found);
    EXPECT_FALSE(PuzzleSolver::Solve({6}, {}, {1, 1, 1, 1, 1, 1, 20}).found);
    EXPECT_FALSE(PuzzleSolver::Solve({1, 1, 1, 1, 1, 1}, {}, {6}).found);
    const PuzzleSolution level = PuzzleSolver::Solve({4}, {4}, {1, 2});
    EXPECT_TRUE(level.found);
    EXPECT_TRUE(level.placements.empty());
}

}  // namespace
}  // namespace pw::gametest
