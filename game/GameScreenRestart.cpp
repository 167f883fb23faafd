// Starting over on the screen already built: the elements that every game
// shares go back to how construction leaves them, in the order construction
// sets them, and a new first puzzle is drawn. Putting the game away between
// two plays frees what the next start would replace anyway.
#include "game/GameScreen.h"

namespace pw {

void GameScreen::Restart() {
    settings.Reload();
    ResetScene();
    // The pan flash may have been part way through its run.
    panFlash->SetVisible(false);
    panFlash->currentFrame = 0;
    panFlash->loopsDone = 0;
    panFlash->lastFrameTime = 0;
    for (auto* node = elements.head; node != nullptr; node = node->next)
        if (node->item->IsKind(u"Button")) static_cast<Button*>(node->item)->pressed = false;
    // What the constructor does after building the elements; ShowOptions
    // must not see the old puzzle as solved.
    solved = false;
    RefreshLevelText();
    RefreshScoreText();
    ShowOptions(false);
    SetupLevel();
}

void GameScreen::PutAway() {
    DropWeights();
    tickers.Clear();
    captured = nullptr;
    settings.results.Clear();
}

}  // namespace pw
