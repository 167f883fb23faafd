#include "game/GameScreen.h"

#include "platform/TextFormat.h"
#include "resources/ResourceIds.h"

namespace pw {

namespace {

constexpr Pixel kWhite = Rgb(255, 255, 255);
constexpr Pixel kBlack = Rgb(0, 0, 0);
constexpr Pixel kScoreColour = Rgb(255, 255, 0);
constexpr Pixel kLevelColour = Rgb(128, 0, 0);
constexpr int32_t kKeypadPanelHeight = 75;
constexpr int32_t kKeypadTop = 260;
constexpr int32_t kDigitsPerRow = 5;
// The "Current Level" box that the level number is centred in.
constexpr int32_t kLevelBoxX = 18;
constexpr int32_t kLevelBoxY = 107;
constexpr int32_t kLevelBoxSize = 20;
constexpr int32_t kStringBufferChars = 10;

}  // namespace

GameScreen::GameScreen(Platform& platform_, ScreenListener* owner_, GameContext& game_)
    : Screen(platform_, owner_), game(game_), settings(SettingsStore::Acquire(game_.settings)) {
    BuildElements();
    RefreshScoreText();
    ShowOptions(false);
    LoadSounds();
    SetupLevel();
}

GameScreen::~GameScreen() {
    DestroyAllElements();
    listeners.Clear();
    SettingsStore::Release(game.settings);
    levelWeights.Clear();
    rightPan.Clear();
    leftPan.Clear();
}

void GameScreen::Place(Figure* element, int32_t x, int32_t y, int32_t layer, bool enabled, bool visible,
                       bool listen) {
    element->MoveTo(x, y);
    element->SetLayer(layer);
    element->enabled = enabled;
    element->SetVisible(visible);
    if (listen) element->AddListener(this);
    AddElement(element);
}

void GameScreen::BuildElements() {
    auto* backgroundPicture = new Image(this, res::kGameBackground);
    Place(backgroundPicture, 0, 0, 1, false, true, false);
    background = backgroundPicture;

    scale = new Animation(this, res::kScale, 3, 6);
    Place(scale, 0, 0, 10, false, true, false);

    panFlash = new Animation(this, res::kPanFlash, 5, 4);
    panFlash->AddAnimationListener(this);
    Place(panFlash, 10, 160, 20, false, false, false);

    closeIcon = new Image(this, res::kCloseIcon);
    Place(closeIcon, width - closeIcon->GetWidth() - 5, 5, 20, true, true, true);

    optionsButton = new Button(this, res::kOptionsButton);
    Place(optionsButton, 5, 5, 20, true, true, true);

    optionsPanel = new Image(this, res::kOptionsPanel);
    Place(optionsPanel, 0, 100, 20, false, false, false);
    autoCheck = new Image(this, res::kTick);
    Place(autoCheck, 23, 133, 21, false, false, false);
    resetCheck = new Image(this, res::kTick);
    Place(resetCheck, 23, 153, 21, false, false, false);
    okButton = new Button(this, res::kOkButton);
    Place(okButton, 185, 165, 21, true, false, true);
    levelUpButton = new Button(this, res::kLevelUpArrow);
    Place(levelUpButton, 11, 110, 21, true, false, true);
    levelDownButton = new Button(this, res::kLevelDownArrow);
    Place(levelDownButton, 36, 110, 21, true, false, true);
    RefreshLevelText();
    autoHotspot = new Hotspot(this, 20, 20);
    Place(autoHotspot, 20, 130, 22, true, false, true);
    resetHotspot = new Hotspot(this, 20, 20);
    Place(resetHotspot, 20, 150, 22, true, false, true);

    keypadPanel = new Image(this, res::kKeypadPanel);
    Place(keypadPanel, 0, height - kKeypadPanelHeight, 25, false, false, false);

    const LogFont digitFont = BoldSwissFont(16);
    for (int32_t i = 0; i < kDigitCount; ++i) {
        auto* digit = new Button(this, res::kKeypadKey);
        digit->SetCaption(FormatInt(i), kBlack, digitFont);
        digit->tag = i;
        const int32_t column = i % kDigitsPerRow;
        const int32_t row = i / kDigitsPerRow;
        Place(digit, digit->GetWidth() * column, kKeypadTop + digit->GetHeight() * row, 30, true, false,
              true);
        digitButtons[static_cast<size_t>(i)] = digit;
    }

    hintButton = new Button(this, res::kKeypadKey);
    hintButton->SetIcon(res::kBulbIcon);
    Place(hintButton, width - hintButton->GetWidth(), kKeypadTop, 30, true, false, true);

    clearButton = new Button(this, res::kKeypadKey);
    clearButton->SetIcon(res::kBinIcon);
    Place(clearButton, width - clearButton->GetWidth(), kKeypadTop + clearButton->GetHeight(), 30, true,
          false, true);

    auto* scoreLabel = new Text(this, platform.resources.LoadString(res::kScoreLabel, kStringBufferChars),
                                kWhite, BoldSwissFont(16));
    Place(scoreLabel, 80, 5, 30, false, true, false);
}

void GameScreen::RefreshScoreText() {
    if (scoreText != nullptr) RemoveElement(scoreText, true);
    scoreText = new Text(this, FormatInt(settings.score), kScoreColour, BoldSwissFont(16));
    scoreText->SetVisible(true);
    scoreText->enabled = false;
    scoreText->SetY(5);
    scoreText->SetX(120);
    scoreText->SetLayer(30);
    AddElement(scoreText);
}

void GameScreen::RefreshLevelText() {
    if (levelText != nullptr) RemoveElement(levelText, true);
    levelText = new Text(this, FormatInt(settings.level), kLevelColour, BoldSwissFont(12));
    levelText->SetVisible(true);
    levelText->enabled = false;
    levelText->SetX((kLevelBoxSize - levelText->GetWidth()) / 2 + kLevelBoxX);
    levelText->SetY((kLevelBoxSize - levelText->GetHeight()) / 2 + kLevelBoxY);
    levelText->SetLayer(21);
    AddElement(levelText);
}

void GameScreen::LoadSounds() {
    if (buttonSound != nullptr) return;
    Resources& resources = platform.resources;
    buttonSound = resources.FindSound(res::kClickSound);
    pickSound = resources.FindSound(res::kPickSound);
    dropSound = resources.FindSound(res::kDropSound);
    levelSound = resources.FindSound(res::kLevelSound);
}

void GameScreen::Play(const SoundData* sound) {
    if (sound != nullptr) platform.sound.Play(sound);
}

void GameScreen::ShowKeypad(bool on) {
    for (Button* digit : digitButtons) {
        digit->SetVisible(on);
        digit->enabled = on;
    }
    clearButton->SetVisible(on);
    clearButton->enabled = on;
    hintButton->SetVisible(on);
    hintButton->enabled = on;
    keypadPanel->SetVisible(on);
}

void GameScreen::EnableKeypad(bool on) {
    for (Button* digit : digitButtons) digit->enabled = on;
    clearButton->enabled = on;
    hintButton->enabled = on;
}

void GameScreen::SetWeightsEnabled(bool on, bool yellowOnly) {
    for (auto* node = levelWeights.head; node != nullptr; node = node->next) {
        Weight* weight = node->item;
        if (yellowOnly && weight->bitmapId == res::kGreyWeight) continue;
        weight->enabled = on;
    }
}

void GameScreen::ShowOptions(bool on) {
    if (on) {
        RefreshLevelText();
        levelText->SetVisible(true);
        optionsButton->enabled = false;
        optionsPanel->SetVisible(true);
        if (settings.autoAdjust) autoCheck->SetVisible(true);
        resetCheck->SetVisible(false);
        for (Figure* control : {static_cast<Figure*>(okButton), static_cast<Figure*>(levelUpButton),
                                static_cast<Figure*>(levelDownButton), static_cast<Figure*>(autoHotspot),
                                static_cast<Figure*>(resetHotspot)}) {
            control->SetVisible(true);
            control->enabled = true;
        }
        closeIcon->enabled = false;
        // Whatever the panel covers must not answer while it is open.
        if (solved)
            EnableKeypad(false);
        else
            SetWeightsEnabled(false, false);
        return;
    }
    for (Figure* part :
         {static_cast<Figure*>(levelText), static_cast<Figure*>(optionsPanel),
          static_cast<Figure*>(autoCheck), static_cast<Figure*>(resetCheck), static_cast<Figure*>(okButton),
          static_cast<Figure*>(levelUpButton), static_cast<Figure*>(levelDownButton)})
        part->SetVisible(false);
    for (Hotspot* hotspot : {autoHotspot, resetHotspot}) {
        hotspot->SetVisible(false);
        hotspot->enabled = false;
    }
    closeIcon->enabled = true;
    optionsButton->enabled = true;
    // The grey weights stay fixed on their pans.
    if (solved)
        EnableKeypad(true);
    else
        SetWeightsEnabled(true, true);
}

void GameScreen::OnElementPressed(Figure* element, int32_t, int32_t) {
    if (element->IsKind(u"Weight")) {
        auto* weight = static_cast<Weight*>(element);
        Play(pickSound);
        // Drawn above everything while it is dragged.
        weight->SetLayer(kDraggedLayer);
        TakeFromPans(weight);
    } else if (element == closeIcon) {
        platform.window.PostDestroy();
    }
    if (buttonSound != nullptr && element->IsKind(u"Button")) Play(buttonSound);
}

void GameScreen::OnElementReleased(Figure* element, int32_t, int32_t) {
    if (element->IsKind(u"Weight")) {
        ReleaseWeight(static_cast<Weight*>(element));
    } else if (element == clearButton) {
        PressClear();
        return;
    } else if (element == hintButton) {
        PressHint();
    } else if (element == autoHotspot) {
        settings.SetAutoAdjust(!settings.autoAdjust);
        autoCheck->SetVisible(settings.autoAdjust != 0);
        return;
    } else if (element == resetHotspot) {
        resetCheck->SetVisible(!resetCheck->visible);
        return;
    } else if (element == levelUpButton) {
        settings.SetLevel(settings.level + 1);
        RefreshLevelText();
        return;
    } else if (element == levelDownButton) {
        settings.SetLevel(settings.level - 1);
        RefreshLevelText();
        return;
    } else if (element == optionsButton) {
        ShowOptions(true);
        return;
    } else if (element == okButton) {
        PressOk();
        return;
    } else if (element->IsKind(u"Button") && element->tag >= 0 && element->tag < kDigitCount &&
               digitButtons[static_cast<size_t>(element->tag)] == element) {
        PressDigit(element->tag);
    }
    CheckSolved();
}

void GameScreen::ReleaseWeight(Weight* weight) {
    Play(dropSound);
    weight->SetLayer(kWeightLayer);
    // Any drop that touches a pan's zone is a move, even onto a full pan or
    // back onto the pan the weight came from.
    if (weight->Intersects(leftPanZone)) {
        PlaceOnPan(true, weight);
        ++moves;
    } else if (weight->Intersects(rightPanZone)) {
        PlaceOnPan(false, weight);
        ++moves;
    } else {
        weight->MoveTo(weight->homeX, weight->homeY);
    }
}

void GameScreen::PressClear() {
    ++clears;
    if (pendingWeight != nullptr) {
        pendingWeight->SetShowNumber(false);
        pendingWeight->typedValue = 0;
        pendingWeight->value = pendingWeight->initialValue;
        pendingWeight->Render();
    }
    LayoutPans();
}

void GameScreen::PressHint() {
    hintUsed = true;
    if (pendingWeight != nullptr) {
        pendingWeight->SetShowNumber(true);
        pendingWeight->typedValue = 0;
        pendingWeight->value = pendingWeight->initialValue;
        pendingWeight->Render();
    }
    pendingWeight = nullptr;
    LayoutPans();
}

void GameScreen::PressDigit(int32_t digit) {
    if (pendingWeight == nullptr) return;
    pendingWeight->EnterDigit(digit);
    pendingWeight->SetShowNumber(true);
    // The scale tilts to show the typed number weighed against the other side.
    LayoutPans();
    if (Balance() == 0) pendingWeight = nullptr;
}

void GameScreen::PressOk() {
    if (resetCheck->visible) {
        settings.score = 0;
        settings.WriteValue("score", 0);
        RefreshScoreText();
    }
    ShowOptions(false);
    if (settings.levelChanged) {
        // The level in progress is dropped without points.
        settings.levelChanged = 0;
        SetupLevel();
    }
}

void GameScreen::CheckSolved() {
    if (Balance() != 0) return;
    SetWeightsEnabled(false, false);
    EnableKeypad(false);
    optionsButton->enabled = false;
    Play(levelSound);
    panFlash->Start();
    if (!solved) {
        solved = true;
        ScorePhaseOne();
    }
}

void GameScreen::OnAnimationStarted(Animation*) {}

void GameScreen::OnAnimationFrame(Animation*, int32_t) {}

void GameScreen::OnAnimationEnded(Animation* animation, int32_t) {
    optionsButton->enabled = true;
    if (animation != panFlash) return;
    if (pendingWeight != nullptr) {
        // The hidden number still has to be typed.
        clears = 0;
        ShowKeypad(true);
        pendingWeight->RenderQuestionMark();
        return;
    }
    if (solved && !hintUsed) ScorePhaseTwo();
    SetupLevel();
}

}  // namespace pw
