// Level set-up, the six puzzle builders, the pans and the balance. Every random
// draw comes from the game's own generator (the C library's rand() sequence)
// in the order the builders name them, so that a seed always builds the same
// puzzles.

#include "game/GameScreen.h"
#include "resources/ResourceIds.h"

namespace pw {

namespace {

constexpr int32_t kUnchosen = -1;
constexpr int32_t kNoExclusion = -1;
// Offsets of the pan weights: three side by side in the lower row, the
// fourth and fifth on top of the first and second.
constexpr int32_t kSlotWidth = 23;
constexpr int32_t kLowerRowSlots = 3;
constexpr int32_t kLeftLowerX = 18;
constexpr int32_t kLeftUpperX = -41;
constexpr int32_t kRightLowerX = 158;
constexpr int32_t kRightUpperX = 99;
constexpr int32_t kRowHeight = 30;
constexpr int32_t kLevelLowerY = 130;
constexpr int32_t kTilt = 20;

// The fixed tray rows of the fixed-set levels.
constexpr int32_t kFixedRows[3][GameScreen::kTraySize] = {
    {1, 2, 3, 4, 4, 5, 5},
    {1, 2, 3, 3, 4, 4, 5},
    {1, 2, 2, 3, 3, 4, 5},
};

int32_t SumOf(const PointerList<Weight>& pan) {
    int32_t sum = 0;
    for (auto* node = pan.head; node != nullptr; node = node->next) sum += node->item->value;
    return sum;
}

}  // namespace

void GameScreen::DropWeights() {
    pendingWeight = nullptr;
    for (auto* node = levelWeights.head; node != nullptr; node = node->next) RemoveElement(node->item, true);
    levelWeights.Clear();
    rightPan.Clear();
    leftPan.Clear();
}

void GameScreen::SetupLevel() {
    solved = false;
    hintUsed = false;
    moves = 0;
    clears = 0;
    ShowKeypad(false);
    DropWeights();

    switch (settings.level) {
        case 1:
            BuildMatchLevel(true);
            break;
        case 2:
            BuildSameSideLevel(10, true);
            break;
        case 3:
            BuildSameSideLevel(20, true);
            break;
        case 4:
            BuildOppositeLevel(10, true);
            break;
        case 5:
            BuildOppositeLevel(20, true);
            break;
        case 6:
            BuildSumLevel(10, true);
            break;
        case 7:
            BuildSumLevel(20, true);
            break;
        case 8:
            BuildDifferenceLevel(20, true);
            break;
        case 9:
            BuildFixedSetLevel(true);
            break;
        case 10:
            BuildMatchLevel(false);
            break;
        case 11:
            BuildSumLevel(10, false);
            break;
        case 12:
            BuildSumLevel(20, false);
            break;
        case 13:
            BuildDifferenceLevel(20, false);
            break;
        case 14:
            BuildFixedSetLevel(false);
            break;
        case 15:
            switch (Draw(5)) {
                case 0:
                    BuildMatchLevel(false);
                    break;
                case 1:
                    BuildSumLevel(10, false);
                    break;
                case 2:
                    BuildSumLevel(20, false);
                    break;
                case 3:
                    BuildDifferenceLevel(20, false);
                    break;
                default:
                    BuildFixedSetLevel(false);
                    break;
            }
            break;
        default:
            break;
    }
}

Weight* GameScreen::MakeGreyWeight(int32_t mass, bool show, bool main) {
    auto* weight = new Weight(this, mass, res::kGreyWeight, show);
    levelWeights.InsertAt(weight, levelWeights.count);
    weight->SetVisible(true);
    weight->draggable = false;
    weight->enabled = false;
    weight->SetLayer(kWeightLayer);
    if (!show && main) pendingWeight = weight;
    return weight;
}

int32_t GameScreen::Draw(int32_t n) { return game.random.Next() % n; }

bool GameScreen::DrawLeftPan() { return Draw(2) == 0; }

void GameScreen::PutOnPan(bool left, Weight* weight) {
    PlaceOnPan(left, weight);
    AddElement(weight);
}

void GameScreen::AddTrayWeight(int32_t i, int32_t mass) {
    auto* weight = new Weight(this, mass, res::kYellowWeight, true);
    levelWeights.InsertAt(weight, levelWeights.count);
    weight->SetVisible(true);
    weight->draggable = true;
    weight->enabled = true;
    weight->MoveTo(TrayX(i), kTrayY);
    weight->homeX = TrayX(i);
    weight->homeY = kTrayY;
    weight->SetLayer(kWeightLayer);
    weight->AddListener(this);
    AddElement(weight);
}

int32_t GameScreen::DrawDistinctMass(const std::array<int32_t, kTraySize>& masses, int32_t n,
                                     int32_t excluded) {
    for (;;) {
        const int32_t v = Draw(n) + 1;
        if (v == excluded) continue;
        bool taken = false;
        for (int32_t m : masses) taken = taken || m == v;
        if (!taken) return v;
    }
}

void GameScreen::FillTray(std::array<int32_t, kTraySize>& masses, int32_t n, int32_t excluded) {
    for (int32_t i = 0; i < kTraySize; ++i) {
        int32_t& mass = masses[static_cast<size_t>(i)];
        if (mass == kUnchosen) mass = DrawDistinctMass(masses, n, excluded);
        AddTrayWeight(i, mass);
    }
}

void GameScreen::DrawTwoDifferent(int32_t half, int32_t& p, int32_t& q) {
    p = Draw(half) + 1;
    do {
        q = Draw(half) + 1;
    } while (q == p);
}

void GameScreen::DrawTwoSlots(int32_t& k1, int32_t& k2) {
    k1 = Draw(kTraySize);
    do {
        k2 = Draw(kTraySize);
    } while (k2 == k1);
}

void GameScreen::BuildMatchLevel(bool show) {
    const int32_t m = Draw(10) + 1;
    Weight* grey = MakeGreyWeight(m, show, true);
    PutOnPan(DrawLeftPan(), grey);
    std::array<int32_t, kTraySize> masses;
    masses.fill(kUnchosen);
    masses[static_cast<size_t>(Draw(kTraySize))] = m;
    FillTray(masses, 10, kNoExclusion);
}

void GameScreen::BuildSumLevel(int32_t range, bool show) {
    int32_t p = 0, q = 0;
    DrawTwoDifferent(range / 2, p, q);
    Weight* grey = MakeGreyWeight(p + q, show, true);
    PutOnPan(DrawLeftPan(), grey);
    std::array<int32_t, kTraySize> masses;
    masses.fill(kUnchosen);
    int32_t k1 = 0, k2 = 0;
    DrawTwoSlots(k1, k2);
    masses[static_cast<size_t>(k1)] = p;
    masses[static_cast<size_t>(k2)] = q;
    FillTray(masses, range, p + q);
}

void GameScreen::BuildDifferenceLevel(int32_t range, bool show) {
    int32_t p = 0, q = 0;
    DrawTwoDifferent(range / 2, p, q);
    Weight* grey = MakeGreyWeight(p, show, true);
    PutOnPan(DrawLeftPan(), grey);
    std::array<int32_t, kTraySize> masses;
    masses.fill(kUnchosen);
    int32_t k1 = 0, k2 = 0;
    DrawTwoSlots(k1, k2);
    masses[static_cast<size_t>(k1)] = q;
    masses[static_cast<size_t>(k2)] = p + q;
    FillTray(masses, range, p);
}

void GameScreen::BuildOppositeLevel(int32_t range, bool show) {
    int32_t p = 0, q = 0;
    DrawTwoDifferent(range / 2, p, q);
    Weight* lighter = MakeGreyWeight(p, show, true);
    Weight* heavier = MakeGreyWeight(p + q, show, false);
    const bool lighterLeft = DrawLeftPan();
    PlaceOnPan(lighterLeft, lighter);
    PlaceOnPan(!lighterLeft, heavier);
    AddElement(lighter);
    AddElement(heavier);
    std::array<int32_t, kTraySize> masses;
    masses.fill(kUnchosen);
    masses[static_cast<size_t>(Draw(kTraySize))] = q;
    FillTray(masses, range, q);
}

void GameScreen::BuildSameSideLevel(int32_t range, bool show) {
    int32_t p = 0, q = 0;
    DrawTwoDifferent(range / 2, p, q);
    Weight* first = MakeGreyWeight(p, show, true);
    Weight* second = MakeGreyWeight(q, show, false);
    const bool left = DrawLeftPan();
    PlaceOnPan(left, first);
    PlaceOnPan(left, second);
    AddElement(first);
    AddElement(second);
    std::array<int32_t, kTraySize> masses;
    masses.fill(kUnchosen);
    masses[static_cast<size_t>(Draw(kTraySize))] = p + q;
    FillTray(masses, range, p + q);
}

void GameScreen::BuildFixedSetLevel(bool show) {
    const int32_t row = Draw(3);
    int32_t heaviestFive = 0;
    for (int32_t i = 0; i < kTraySize; ++i) {
        const int32_t mass = kFixedRows[row][i];
        AddTrayWeight(i, mass);
        if (i >= 2) heaviestFive += mass;
    }
    Weight* grey = MakeGreyWeight(heaviestFive + Draw(10) - 9, show, true);
    PutOnPan(DrawLeftPan(), grey);
}

int32_t GameScreen::Balance() const {
    const int32_t left = SumOf(leftPan);
    const int32_t right = SumOf(rightPan);
    if (left > right) return -left;
    if (left == right) return 0;
    return right;
}

void GameScreen::PlaceOnPan(bool left, Weight* weight) {
    PointerList<Weight>& pan = left ? leftPan : rightPan;
    if (pan.count < kPanCapacity) {
        pan.AddUnique(weight);
        LayoutPans();
        return;
    }
    // A full pan sends a newcomer back to the tray.
    if (!pan.Contains(weight)) weight->MoveTo(weight->homeX, weight->homeY);
}

void GameScreen::TakeFromPans(Weight* weight) {
    if (leftPan.Remove(weight) || rightPan.Remove(weight)) LayoutPans();
}

void GameScreen::LayoutPans() {
    const int32_t b = Balance();
    scale->SetFrame(b < 0 ? 0 : (b == 0 ? 1 : 2));
    // The heavier pan hangs lower by the tilt, the lighter one higher.
    const int32_t leftLowerY = kLevelLowerY + (b < 0 ? kTilt : (b > 0 ? -kTilt : 0));
    const int32_t rightLowerY = kLevelLowerY + (b > 0 ? kTilt : (b < 0 ? -kTilt : 0));
    auto arrange = [](const PointerList<Weight>& pan, int32_t lowerX, int32_t upperX, int32_t lowerY) {
        int32_t i = 0;
        for (auto* node = pan.head; node != nullptr; node = node->next, ++i) {
            const int32_t offset = kSlotWidth * i;
            if (i < kLowerRowSlots)
                node->item->MoveTo(offset + lowerX, lowerY);
            else
                node->item->MoveTo(offset + upperX, lowerY - kRowHeight);
        }
    };
    arrange(leftPan, kLeftLowerX, kLeftUpperX, leftLowerY);
    arrange(rightPan, kRightLowerX, kRightUpperX, rightLowerY);
}

}  // namespace pw
