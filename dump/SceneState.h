#pragma once
// What the dump reports of the game, as plain values: the screen, the stored
// score, level and automatic levelling, and every element of the current
// screen from bottom to top. The dump writes it out as JSON; the host's
// other readers (the spoken descriptions) take it as it is, so that nothing
// outside the game reaches into a screen's fields.
#include <cstdint>
#include <string>
#include <vector>

namespace pw {

class Application;
class Registry;

struct SceneElement {
    enum class Pan { None, Left, Right };

    std::string kind;  // "Image", "Button", "Weight"...
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t layer = 0;
    bool visible = false;
    bool enabled = false;
    // The rest is a weight's only.
    bool isWeight = false;
    int32_t value = 0;
    int32_t initialValue = 0;
    bool showNumber = false;
    bool grey = false;
    int32_t homeX = 0;
    int32_t homeY = 0;
    Pan pan = Pan::None;
};

struct SceneState {
    enum class Screen { None, Title, Game };

    Screen screen = Screen::None;
    int32_t score = 0;
    int32_t level = 0;
    bool autoLevelling = false;
    std::vector<SceneElement> elements;
};

// app may be null (the program has closed): then the screen is None, there
// are no elements and the stored settings are reported.
SceneState ReadScene(Application* app, Registry& registry);

}  // namespace pw
