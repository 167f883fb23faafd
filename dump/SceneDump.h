#pragma once
// The current screen's state as one JSON object, for tests and replays.
#include <string>

namespace pw {

class Application;
class Registry;
struct SceneState;

std::string DumpScene(const SceneState& state);
// app may be null (the program has closed): then the screen is null and the
// stored settings are reported.
std::string DumpScene(Application* app, Registry& registry);

}  // namespace pw
