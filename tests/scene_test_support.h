#pragma once
// Shared pieces for the scene and element tests: a screen on the headless
// backend with its own temporary config folder, made-up bitmaps and sounds so
// that sizes and pixels are known exactly, and elements and listeners that
// record what reaches them.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "elements/AnimationListener.h"
#include "platform/headless/HeadlessPlatform.h"
#include "scene/ElementListener.h"
#include "scene/Figure.h"
#include "scene/Screen.h"
#include "tools/autoplay/TempFolder.h"

namespace pw::scenetest {

using TempFolder = pw::TempFolder;

// Bitmaps and sounds registered by the test; strings come from the game.
class FakeResources : public Resources {
public:
    void AddBitmap(int id, const Surface& picture) {
        bitmaps_.insert_or_assign(id, picture);
        ForgetSharedBitmaps();
    }
    void AddSound(int id) {
        static const uint8_t kBytes[] = {'R', 'I', 'F', 'F'};
        sounds_[id] = SoundData{id, kBytes, sizeof kBytes};
    }
    std::unique_ptr<Surface> LoadBitmap(int id) override {
        auto found = bitmaps_.find(id);
        if (found == bitmaps_.end()) return nullptr;
        ++bitmapLoads[id];
        return std::make_unique<Surface>(found->second);
    }
    Size BitmapSize(int id) override {
        auto found = bitmaps_.find(id);
        return found == bitmaps_.end() ? Size{} : Size{found->second.Width(), found->second.Height()};
    }
    const SoundData* FindSound(int id) override {
        ++soundLookups[id];
        auto found = sounds_.find(id);
        return found == sounds_.end() ? nullptr : &found->second;
    }
    std::u16string LoadString(int, int) override { return std::u16string(); }

    std::map<int, int> soundLookups;
    std::map<int, int> bitmapLoads;  // pictures decoded, by id

private:
    std::map<int, Surface> bitmaps_;
    std::map<int, SoundData> sounds_;
};

// A picture whose every pixel tells where it came from: (x, y) and a tint.
inline Surface Pattern(int w, int h, int tint) {
    Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.Set(x, y, Rgb(x, y, tint));
    return s;
}

inline Surface Solid(int w, int h, Pixel colour) {
    Surface s(w, h);
    s.Fill(0, 0, w, h, colour);
    return s;
}

// What reached an element or listener, in order, as short strings.
using Log = std::vector<std::string>;

// An element of a given size and colour that records the stylus and ticks.
class Probe : public Figure {
public:
    Probe(Screen* screen, Log* log, std::string name, int32_t w, int32_t h, Pixel colour = Rgb(10, 20, 30))
        : Figure(screen), log_(log), name_(std::move(name)), picture_(std::max(0, w), std::max(0, h)) {
        width = w;
        height = h;
        picture_.Fill(0, 0, w, h, colour);
        visible = true;
        enabled = true;
    }
    ~Probe() override {
        if (destroyed != nullptr) *destroyed += 1;
    }
    const char16_t* GetKindName() const override { return kind; }
    const Surface* GetSurface() override { return hasPicture ? &picture_ : nullptr; }
    void Tick(uint32_t now) override {
        Record("tick " + std::to_string(now));
        // A copy, so that a hook may replace itself or delete this element.
        auto hook = onTick;
        if (hook) hook();
    }
    void OnPenDown(int32_t px, int32_t py) override {
        Record("down " + std::to_string(px) + "," + std::to_string(py));
        Figure::OnPenDown(px, py);
        auto hook = onPenDown;
        if (hook) hook();
    }
    void OnPenUp(int32_t px, int32_t py) override {
        Record("up " + std::to_string(px) + "," + std::to_string(py));
        Figure::OnPenUp(px, py);
    }
    void OnPenMove(int32_t px, int32_t py) override {
        Record("move " + std::to_string(px) + "," + std::to_string(py));
        Figure::OnPenMove(px, py);
    }
    Surface& Picture() { return picture_; }

    const char16_t* kind = u"Probe";
    bool hasPicture = true;
    int* destroyed = nullptr;
    std::function<void()> onTick;
    std::function<void()> onPenDown;

private:
    void Record(const std::string& what) {
        if (log_ != nullptr) log_->push_back(name_ + " " + what);
    }
    Log* log_;
    std::string name_;
    Surface picture_;
};

class RecordingElementListener : public ElementListener {
public:
    explicit RecordingElementListener(Log* log, std::string name = "listener")
        : log_(log), name_(std::move(name)) {}
    void OnElementPressed(Figure*, int32_t x, int32_t y) override {
        log_->push_back(name_ + " pressed " + std::to_string(x) + "," + std::to_string(y));
        if (onPressed) onPressed();
    }
    void OnElementReleased(Figure*, int32_t x, int32_t y) override {
        log_->push_back(name_ + " released " + std::to_string(x) + "," + std::to_string(y));
        if (onReleased) onReleased();
    }
    std::function<void()> onPressed;
    std::function<void()> onReleased;

private:
    Log* log_;
    std::string name_;
};

class RecordingAnimationListener : public AnimationListener {
public:
    explicit RecordingAnimationListener(Log* log) : log_(log) {}
    void OnAnimationStarted(Animation*) override {
        log_->push_back("started");
        if (onEvent) onEvent();
    }
    void OnAnimationEnded(Animation*, int32_t frame) override {
        log_->push_back("ended " + std::to_string(frame));
        if (onEvent) onEvent();
    }
    void OnAnimationFrame(Animation*, int32_t frame) override {
        log_->push_back("frame " + std::to_string(frame));
        if (onEvent) onEvent();
    }
    std::function<void()> onEvent;

private:
    Log* log_;
};

// A 240 x 320 screen on the headless backend whose bitmaps and sounds are
// whatever the test registers in `resources`.
class SceneTest : public ::testing::Test {
protected:
    ~SceneTest() override { screen.DestroyAllElements(); }

    // Starts the repaint clock from a known point and leaves nothing dirty.
    void PaintAll() { screen.Paint(hp.window, true); }

    TempFolder folder;
    HeadlessPlatform hp{folder.path};
    FakeResources resources;
    Platform platform{hp.window, resources, hp.text, hp.sound, hp.clock, hp.registry, hp.time};
    Screen screen{platform, nullptr};
    Log log;
};

}  // namespace pw::scenetest
