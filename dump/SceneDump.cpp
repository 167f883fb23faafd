#include "dump/SceneDump.h"

#include <cstdio>
#include <string>

#include "game/GameView.h"

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

const char* PanName(ViewElement::Pan pan) {
    return pan == ViewElement::Pan::Left    ? "\"left\""
           : pan == ViewElement::Pan::Right ? "\"right\""
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

void DumpElements(Json& out, const std::vector<ViewElement>& elements) {
    out << "  \"elements\": [";
    bool first = true;
    for (const ViewElement& e : elements) {
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

const char* ScreenName(GameView::Screen screen) {
    switch (screen) {
        case GameView::Screen::Title:
            return "\"title\"";
        case GameView::Screen::Game:
            return "\"game\"";
        default:
            return "null";
    }
}

}  // namespace

std::string DumpScene(const GameView& state) {
    Json out;
    out << "{\n  \"screen\": " << ScreenName(state.screen) << ",\n  \"score\": " << state.score
        << ",\n  \"level\": " << state.level << ",\n  \"auto\": " << Bool(state.autoLevelling) << ",\n";
    DumpElements(out, state.elements);
    out << "}\n";
    return out.str();
}

}  // namespace pw
