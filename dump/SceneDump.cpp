#include "dump/SceneDump.h"

#include <cstdio>
#include <string>

#include "dump/SceneState.h"

namespace pw {

namespace {

const char* Bool(bool b) { return b ? "true" : "false"; }

std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

const char* PanName(SceneElement::Pan pan) {
    return pan == SceneElement::Pan::Left    ? "\"left\""
           : pan == SceneElement::Pan::Right ? "\"right\""
                                             : "null";
}

// Text built a piece at a time, numbers in decimal.
class Json {
public:
    Json& operator<<(const char* text) {
        out_ += text;
        return *this;
    }
    Json& operator<<(const std::string& text) {
        out_ += text;
        return *this;
    }
    Json& operator<<(int32_t number) {
        out_ += std::to_string(number);
        return *this;
    }
    std::string& str() { return out_; }

private:
    std::string out_;
};

void DumpElements(Json& out, const std::vector<SceneElement>& elements) {
    out << "  \"elements\": [";
    bool first = true;
    for (const SceneElement& e : elements) {
        out << (first ? "\n" : ",\n") << "    {\"kind\": " << JsonString(e.kind) << ", \"x\": " << e.x
            << ", \"y\": " << e.y << ", \"width\": " << e.width << ", \"height\": " << e.height
            << ", \"layer\": " << e.layer << ", \"visible\": " << Bool(e.visible)
            << ", \"enabled\": " << Bool(e.enabled);
        if (e.isWeight) {
            out << ", \"value\": " << e.value << ", \"initialValue\": " << e.initialValue
                << ", \"showNumber\": " << Bool(e.showNumber) << ", \"grey\": " << Bool(e.grey)
                << ", \"homeX\": " << e.homeX << ", \"homeY\": " << e.homeY
                << ", \"pan\": " << PanName(e.pan);
        }
        out << "}";
        first = false;
    }
    out << (first ? "]\n" : "\n  ]\n");
}

const char* ScreenName(SceneState::Screen screen) {
    switch (screen) {
        case SceneState::Screen::Title:
            return "\"title\"";
        case SceneState::Screen::Game:
            return "\"game\"";
        default:
            return "null";
    }
}

}  // namespace

std::string DumpScene(const SceneState& state) {
    Json out;
    out << "{\n  \"screen\": " << ScreenName(state.screen) << ",\n  \"score\": " << state.score
        << ",\n  \"level\": " << state.level << ",\n  \"auto\": " << Bool(state.autoLevelling) << ",\n";
    DumpElements(out, state.elements);
    out << "}\n";
    return out.str();
}

std::string DumpScene(Application* app, Registry& registry) { return DumpScene(ReadScene(app, registry)); }

}  // namespace pw
