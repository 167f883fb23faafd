#pragma once
// Every resource the game looks up, by id, in one place.

namespace pw::res {

// Bitmaps.
constexpr int kCloseIcon = 205;
constexpr int kTitlePicture = 300;
constexpr int kScale = 301;
constexpr int kYellowWeight = 302;
constexpr int kGreyWeight = 303;
constexpr int kGameBackground = 304;
constexpr int kPanFlash = 305;
constexpr int kKeypadKey = 306;
constexpr int kBinIcon = 307;
constexpr int kBulbIcon = 308;
constexpr int kKeypadPanel = 309;
constexpr int kOkButton = 310;
constexpr int kOptionsPanel = 311;
constexpr int kOptionsButton = 312;
constexpr int kLevelUpArrow = 313;
constexpr int kLevelDownArrow = 314;
constexpr int kTick = 315;

// Sounds (complete WAVE images).
constexpr int kStartSound = 20003;
constexpr int kSwitchSound = 20004;
constexpr int kClickSound = 20005;
constexpr int kPickSound = 20007;
constexpr int kDropSound = 20008;
constexpr int kLevelSound = 20009;

// Strings.
constexpr int kWindowTitle = 1;
constexpr int kWindowClass = 3;
constexpr int kVersionText = 206;
constexpr int kNoticeText = 207;
constexpr int kScoreLabel = 208;

// Icon.
constexpr int kAppIcon = 101;

}  // namespace pw::res
