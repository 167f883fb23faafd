#pragma once
// The playing screen: the balance scale with its pans, the tray of yellow
// weights, the keypad for hidden numbers, the options panel, the score and
// the close icon. Every level builds a fresh puzzle of the kind that belongs
// to the stored level number; solving it earns points and feeds the automatic
// levelling of the settings store.
#include <array>
#include <cstdint>

#include "elements/Animation.h"
#include "elements/AnimationListener.h"
#include "elements/Button.h"
#include "elements/Hotspot.h"
#include "elements/Image.h"
#include "elements/Text.h"
#include "elements/Weight.h"
#include "platform/Platform.h"
#include "scene/ElementListener.h"
#include "base/PointerList.h"
#include "scene/Screen.h"
#include "scene/ScreenListener.h"
#include "game/GameContext.h"
#include "game/GameView.h"
#include "settings/SettingsStore.h"

namespace pw {

class GameScreen : public Screen, public ElementListener, public AnimationListener {
public:
    static constexpr int32_t kLevelCount = 15;
    static constexpr int32_t kPanCapacity = 5;
    static constexpr int32_t kTraySize = 7;
    static constexpr int32_t kDigitCount = 10;
    static constexpr int32_t kWeightLayer = 20;
    static constexpr int32_t kDraggedLayer = 40;
    static constexpr int32_t kTrayY = 280;
    static constexpr Rect kLeftPanZone{10, 80, 90, 190};
    static constexpr Rect kRightPanZone{150, 80, 230, 190};
    // Moves each level allows before its balancing points start to halve.
    static constexpr std::array<int32_t, kLevelCount> kParMoves{1, 1, 1, 1, 1, 2, 2, 2, 4, 4, 4, 4, 4, 5, 4};

    // The tray place of entry i, where a yellow weight rests when not on a pan.
    static int32_t TrayX(int32_t i) { return 20 + 30 * i; }
    // The par of a level (1 to 15); 0 for any other number.
    static int32_t ParFor(int32_t level);

    // The screen acquires its store from the game's settings context and
    // draws its puzzles from the game's generator; the game outlives it.
    GameScreen(Platform& platform, ScreenListener* owner, GameContext& game);
    ~GameScreen() override;
    // Starts over as a screen just built would, on the settings stored now,
    // without building the fixed elements again.
    void Restart();
    // Lets go of what only the game in play holds (the puzzle's weights, the
    // running animations, the recent results), for a game put away between
    // two plays: only Restart or destruction may follow.
    void PutAway();

    // ElementListener
    void OnElementPressed(Figure* element, int32_t x, int32_t y) override;
    void OnElementReleased(Figure* element, int32_t x, int32_t y) override;
    // AnimationListener
    void OnAnimationStarted(Animation* animation) override;
    void OnAnimationEnded(Animation* animation, int32_t frame) override;
    void OnAnimationFrame(Animation* animation, int32_t frame) override;

    // The screen as the host may read it (see GameView).
    void FillView(GameView& view) const;
    Control ControlOf(const Figure* element) const;

    // Level set-up and the pans.
    void SetupLevel();
    // Takes the puzzle's weights off the scene and destroys them.
    void DropWeights();
    void BuildMatchLevel(bool show);
    void BuildSumLevel(int32_t range, bool show);
    void BuildDifferenceLevel(int32_t range, bool show);
    void BuildOppositeLevel(int32_t range, bool show);
    void BuildSameSideLevel(int32_t range, bool show);
    void BuildFixedSetLevel(bool show);
    void PlaceOnPan(bool left, Weight* weight);
    void TakeFromPans(Weight* weight);
    void LayoutPans();
    // Negative while the left pan is heavier, 0 when both weigh the same,
    // positive while the right pan is heavier.
    int32_t Balance() const;

    // What happens when the scale may have come level.
    void CheckSolved();
    void ScorePhaseOne();
    void ScorePhaseTwo();

    void ShowKeypad(bool on);
    void EnableKeypad(bool on);
    void ShowOptions(bool on);
    void RefreshScoreText();
    void RefreshLevelText();
    void LoadSounds();

    PointerList<ScreenListener> listeners;

    Animation* scale = nullptr;
    Animation* panFlash = nullptr;
    Rect leftPanZone = kLeftPanZone;
    Rect rightPanZone = kRightPanZone;
    PointerList<Weight> leftPan;
    PointerList<Weight> rightPan;
    PointerList<Weight> levelWeights;
    Image* closeIcon = nullptr;
    Button* clearButton = nullptr;
    Button* hintButton = nullptr;
    std::array<Button*, kDigitCount> digitButtons{};
    Image* keypadPanel = nullptr;
    Weight* pendingWeight = nullptr;
    GameContext& game;
    SettingsStore& settings;
    int32_t moves = 0;
    int32_t clears = 0;
    Text* scoreText = nullptr;
    Button* optionsButton = nullptr;
    Image* optionsPanel = nullptr;
    Image* autoCheck = nullptr;
    Image* resetCheck = nullptr;
    Button* okButton = nullptr;
    Button* levelUpButton = nullptr;
    Button* levelDownButton = nullptr;
    Text* levelText = nullptr;
    Hotspot* autoHotspot = nullptr;
    Hotspot* resetHotspot = nullptr;
    bool solved = false;
    const SoundData* buttonSound = nullptr;
    const SoundData* pickSound = nullptr;
    const SoundData* dropSound = nullptr;
    const SoundData* levelSound = nullptr;
    bool hintUsed = false;

private:
    // Construction of the fixed elements.
    void BuildElements();
    void Place(Figure* element, int32_t x, int32_t y, int32_t layer, bool enabled, bool visible, bool listen);

    // Steps shared by the level builders.
    Weight* MakeGreyWeight(int32_t mass, bool show, bool main);
    bool DrawLeftPan();
    void PutOnPan(bool left, Weight* weight);
    void FillTray(std::array<int32_t, kTraySize>& masses, int32_t n, int32_t excluded);
    void AddTrayWeight(int32_t i, int32_t mass);
    // 0 to n - 1, as rand() % n.
    int32_t Draw(int32_t n);
    int32_t DrawDistinctMass(const std::array<int32_t, kTraySize>& masses, int32_t n, int32_t excluded);
    void DrawTwoDifferent(int32_t half, int32_t& p, int32_t& q);
    void DrawTwoSlots(int32_t& k1, int32_t& k2);

    // Element events, one per kind of element.
    void ReleaseWeight(Weight* weight);
    void PressClear();
    void PressHint();
    void PressDigit(int32_t digit);
    void PressOk();
    void SetWeightsEnabled(bool on, bool yellowOnly);
    void Play(const SoundData* sound);
};

}  // namespace pw
