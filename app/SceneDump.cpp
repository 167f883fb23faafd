#include "app/SceneDump.h"

#include <cstdio>
#include <string>

#include "app/Application.h"
#include "elements/Weight.h"
#include "game/GameScreen.h"
#include "platform/TextFormat.h"
#include "resources/ResourceIds.h"
#include "settings/SettingsStore.h"
#include "title/TitleScreen.h"

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

const char* PanOf(GameScreen* game, Weight* weight) {
    if (game == nullptr) return "null";
    if (game->leftPan.Contains(weight)) return "\"left\"";
    if (game->rightPan.Contains(weight)) return "\"right\"";
    return "null";
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

void DumpElements(Json& out, Screen* screen, GameScreen* game) {
    out << "  \"elements\": [";
    bool first = true;
    for (auto* node = screen->elements.head; node != nullptr; node = node->next) {
        Figure* e = node->item;
        out << (first ? "\n" : ",\n") << "    {\"kind\": " << JsonString(ToUtf8(e->GetKindName()))
            << ", \"x\": " << e->GetX() << ", \"y\": " << e->GetY() << ", \"width\": " << e->GetWidth()
            << ", \"height\": " << e->GetHeight() << ", \"layer\": " << e->GetLayer()
            << ", \"visible\": " << Bool(e->visible) << ", \"enabled\": " << Bool(e->enabled);
        if (e->IsKind(u"Weight")) {
            auto* w = static_cast<Weight*>(e);
            out << ", \"value\": " << w->value << ", \"initialValue\": " << w->initialValue
                << ", \"showNumber\": " << Bool(w->showNumber)
                << ", \"grey\": " << Bool(w->bitmapId == res::kGreyWeight) << ", \"homeX\": " << w->homeX
                << ", \"homeY\": " << w->homeY << ", \"pan\": " << PanOf(game, w);
        }
        out << "}";
        first = false;
    }
    out << (first ? "]\n" : "\n  ]\n");
}

}  // namespace

std::string DumpScene(Application* app, Registry& registry) {
    Json out;
    Screen* screen = app != nullptr ? app->current : nullptr;
    GameScreen* game = app != nullptr && screen == app->gameScreen.get() ? app->gameScreen.get() : nullptr;
    const char* name = screen == nullptr ? "null" : game != nullptr ? "\"game\"" : "\"title\"";
    SettingsStore& settings = SettingsStore::Acquire(registry);
    out << "{\n  \"screen\": " << name << ",\n  \"score\": " << settings.score
        << ",\n  \"level\": " << settings.level << ",\n  \"auto\": " << Bool(settings.autoAdjust) << ",\n";
    SettingsStore::Release();
    if (screen != nullptr)
        DumpElements(out, screen, game);
    else
        out << "  \"elements\": []\n";
    out << "}\n";
    return out.str();
}

}  // namespace pw
