// A game started over must go on exactly as a game built anew: the inputs of
// the pen-event fuzzer (its seeds and mutations of them) are played on one
// game started over for each and on a new game each, and before and after
// each the two must agree on the scene, the screen's own state, what the
// window shows, the sounds and the stored settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "dump/SceneDump.h"
#include "game/GameScreen.h"
#include "platform/TextFormat.h"
#include "tests/fuzz/PenEventsGame.h"
#include "title/TitleScreen.h"

namespace pw {
namespace {

using fuzz::PenEventsGame;

struct Snapshot {
    std::string state;
    std::vector<Pixel> shown;
    std::vector<int> sounds;
    std::string settings;
};

std::string FileText(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

int IndexOf(Screen& screen, Figure* element) {
    int i = 0;
    for (auto* node = screen.elements.head; node != nullptr; node = node->next, ++i)
        if (node->item == element) return i;
    return -1;
}

// Every element of a screen, current or not, with the state that the scene
// dump leaves out.
std::string ElementsOf(Screen& screen) {
    std::ostringstream out;
    for (auto* node = screen.elements.head; node != nullptr; node = node->next) {
        Figure* e = node->item;
        out << ToUtf8(e->GetKindName()) << " " << e->GetX() << "," << e->GetY() << " " << e->GetWidth() << "x"
            << e->GetHeight() << " layer " << e->GetLayer() << " " << e->visible << e->enabled
            << e->draggable;
        if (e->IsKind(u"Button")) out << " pressed " << static_cast<Button*>(e)->pressed;
        if (e->IsKind(u"Animation")) out << " frame " << static_cast<Animation*>(e)->currentFrame;
        out << "\n";
    }
    return out.str();
}

Snapshot Take(PenEventsGame& game) {
    Snapshot s;
    std::ostringstream state;
    Application* app = game.loop->QuitPosted() ? nullptr : game.loop->App();
    state << DumpScene(Application::ViewOf(app, game.registry)) << "now " << game.platform.clock.now;
    if (app != nullptr) {
        state << "game screen:\n"
              << ElementsOf(app->Game()) << "title screen:\n"
              << ElementsOf(*app->titleScreen);
        Screen& screen = *app->current;
        state << " captured " << IndexOf(screen, screen.captured) << " tickers " << screen.tickers.count
              << " dirty " << screen.dirty.left << "," << screen.dirty.top << "," << screen.dirty.right << ","
              << screen.dirty.bottom << " lastRefresh " << screen.lastRefresh;
        if (app->current == app->gameScreen.get()) {
            GameScreen& g = app->Game();
            state << " moves " << g.moves << " clears " << g.clears << " solved " << g.solved << " hint "
                  << g.hintUsed << " pending " << IndexOf(g, g.pendingWeight) << " flash frame "
                  << g.panFlash->currentFrame << " results " << g.settings.results.count << " changed "
                  << int{g.settings.levelChanged} << " points " << g.settings.levelPoints;
        }
        screen.Paint(game.window, true);
        s.shown = game.window.Shown().Pixels();
    }
    s.state = state.str();
    s.sounds = game.platform.sound.played;
    s.settings = game.SettingsText();
    return s;
}

void ExpectSame(const Snapshot& fresh, const Snapshot& restarted, const std::string& when) {
    EXPECT_EQ(fresh.state, restarted.state) << when;
    EXPECT_TRUE(fresh.shown == restarted.shown) << when << ": the windows differ";
    EXPECT_EQ(fresh.sounds, restarted.sounds) << when;
    EXPECT_EQ(fresh.settings, restarted.settings) << when;
}

TEST(GameRestartTest, AStartedOverGameGoesOnAsANewOne) {
    std::vector<std::vector<uint8_t>> inputs;
    const std::string corpus = std::string(PW_SOURCE_DIR) + "/tests/fuzz/corpus/pen_events";
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(corpus))
        files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    for (const std::string& file : files) {
        const std::string text = FileText(file);
        inputs.emplace_back(text.begin(), text.end());
    }
    ASSERT_FALSE(inputs.empty());
    const std::vector<std::vector<uint8_t>> corpusSeeds = inputs;
    // Mutations as the fuzzer makes them: bytes changed, steps cut off, and
    // inputs of random steps altogether.
    std::mt19937 random(11);
    const size_t seeds = inputs.size();
    for (int i = 0; i < 24; ++i) {
        std::vector<uint8_t> input = inputs[random() % seeds];
        if (i % 4 == 3) input.assign(2 + 4 * (random() % 60), 0);
        for (int flips = 1 + random() % 12; flips > 0; --flips)
            input[random() % input.size()] = random() % 256;
        input.resize(input.size() - 4 * (random() % (input.size() / 8)));
        inputs.push_back(input);
    }
    // Into the game and out through the close icon, half way through; and,
    // left for the next input to clear up, the options open with automatic
    // levelling switched off and the level raised.
    const std::vector<uint8_t> closing{7, 0, 0, 128, 128, 5, 2, 128, 128, 5, 0, 240, 12, 5, 2, 240, 12, 5};
    inputs.insert(inputs.begin() + static_cast<long>(inputs.size() / 2), closing);
    inputs.insert(inputs.begin() + 1, {9, 0, 0,  128, 128, 5, 2,  128, 128, 5, 0,  16, 12, 5, 2,  16, 12,
                                       5, 0, 32, 112, 5,   2, 32, 112, 5,   0, 17, 94, 5,  2, 17, 94, 5});
    // The options button held down when the input ends.
    inputs.insert(inputs.begin() + 3, {9, 0, 0, 128, 128, 5, 2, 128, 128, 5, 0, 16, 12, 5});
    // The seeds cut short right after each lift of the stylus, so that some
    // end while the pan flash runs; each followed by another input.
    std::vector<std::vector<uint8_t>> cuts;
    for (const std::vector<uint8_t>& seed : corpusSeeds)
        for (size_t end = PenEventsGame::kHeaderBytes + 4; end <= seed.size(); end += 4)
            if (seed[end - 4] % 4 == 2) {
                cuts.emplace_back(seed.begin(), seed.begin() + static_cast<long>(end));
                cuts.back().back() = 0;
            }
    inputs.insert(inputs.begin() + 2, cuts.begin(), cuts.end());

    // The settings store is one per process, so the two kinds of game take
    // turns: first one game started over for every input, then a new game
    // for each.
    std::vector<Snapshot> restarted;
    {
        PenEventsGame game;
        game.window.keepPicture = true;
        for (const std::vector<uint8_t>& input : inputs) {
            game.StartOver(PenEventsGame::SeedOf(input.data()));
            restarted.push_back(Take(game));
            game.Play(input.data(), input.size());
            restarted.push_back(Take(game));
            game.PutAway();
        }
    }
    int closed = 0;
    for (size_t i = 0; i < inputs.size() && !HasFailure(); ++i) {
        const std::vector<uint8_t>& input = inputs[i];
        PenEventsGame fresh;
        fresh.window.keepPicture = true;
        fresh.StartOver(PenEventsGame::SeedOf(input.data()));
        ExpectSame(Take(fresh), restarted[2 * i], "start of input " + std::to_string(i));
        fresh.Play(input.data(), input.size());
        ExpectSame(Take(fresh), restarted[2 * i + 1], "end of input " + std::to_string(i));
        closed += fresh.loop->QuitPosted();
    }
    EXPECT_GT(closed, 0);
}

}  // namespace
}  // namespace pw
