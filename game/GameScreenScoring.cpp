// Points for a solved puzzle: the balancing is scored against the level's
// par, the typed answer against the clear presses. Every extra move or clear
// halves what is left of the points; the store adds them and resets them.
#include "game/GameScreen.h"

namespace pw {

int32_t GameScreen::ParFor(int32_t level) {
    if (level < 1 || level > kLevelCount) return 0;
    return kParMoves[static_cast<size_t>(level - 1)];
}

void GameScreen::ScorePhaseOne() {
    // The par of the level just played, read before the result may move it.
    const int32_t par = ParFor(settings.level);
    settings.RecordResult(moves <= par);
    for (int32_t extra = moves - par; extra > 0 && settings.levelPoints != 0; --extra)
        settings.levelPoints /= 2;
    settings.AwardLevelPoints();
    RefreshScoreText();
}

void GameScreen::ScorePhaseTwo() {
    for (int32_t extra = clears; extra > 0 && settings.levelPoints != 0; --extra) settings.levelPoints /= 2;
    settings.AwardLevelPoints();
    RefreshScoreText();
}

}  // namespace pw
