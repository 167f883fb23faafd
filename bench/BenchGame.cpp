#include "bench/BenchGame.h"

#include <algorithm>

#include "scene/Figure.h"

namespace pw::bench {

BenchGame::BenchGame(uint32_t seed)
    : platform_(std::make_unique<HeadlessPlatform>(config_.path)), loop_(platform_->Get()) {
    loop_.Start(seed);
    loop_.HandleMessage(WindowEvent{WindowEvent::Type::PenDown, 120, 160, true});
    loop_.HandleMessage(WindowEvent{WindowEvent::Type::PenUp, 120, 160, true});
    DrainMessages();
}

BenchGame::~BenchGame() = default;

void BenchGame::DrainMessages() {
    WindowEvent message;
    while (platform_->window.PollEvent(message))
        if (message.type == WindowEvent::Type::Paint) loop_.HandleMessage(message);
}

int64_t BenchGame::ComposedPixels() {
    GameScreen& game = Game();
    int64_t pixels = 0;
    for (auto* node = game.elements.head; node != nullptr; node = node->next) {
        Figure* element = node->item;
        if (!element->visible || element->GetSurface() == nullptr) continue;
        const int32_t left = std::max(0, element->GetX());
        const int32_t top = std::max(0, element->GetY());
        const int32_t right = std::min(game.width, element->GetX() + element->GetWidth());
        const int32_t bottom = std::min(game.height, element->GetY() + element->GetHeight());
        if (right > left && bottom > top) pixels += int64_t{right - left} * (bottom - top);
    }
    return pixels;
}

}  // namespace pw::bench
