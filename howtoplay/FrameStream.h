#pragma once
// The pictures of a game played in a process of its own, as it hands them to
// the process that shows them: one record per presented area, its virtual
// time, the area and its pixels. Both ends are the same executable on the
// same machine, so numbers go in the machine's own byte order.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Surface.h"

namespace pw {

struct Frame {
    uint32_t at = 0;            // the game's virtual milliseconds
    Rect area{};                // display pixels, right and bottom exclusive
    std::vector<Pixel> pixels;  // the area's rows, top to bottom
};

// The record of area (clipped to picture) of picture at time at; empty when
// nothing of it lies on the picture.
std::string EncodeFrame(uint32_t at, const Surface& picture, const Rect& area);

// Takes the stream in pieces as they come and hands out whole frames. A
// record that cannot be one (a wrong mark, an area off the display) makes
// the stream broken: nothing after it is believed.
class FrameReader {
public:
    FrameReader(int width, int height) : width_(width), height_(height) {}

    void Feed(const void* data, size_t size);
    // The next whole frame, taken out; false while none is whole yet or once
    // the stream is broken.
    bool Next(Frame& frame);
    bool Broken() const { return broken_; }
    // Whether bytes of a frame not yet whole wait: at the end of the stream
    // that frame was cut short.
    bool HasPart() const { return read_ < buffer_.size(); }
    // Whether a whole frame waits, so that no more need be read for now.
    bool HasFrame();

private:
    bool Check();  // the header at read_ is sound; sets broken_ if not

    int width_, height_;
    std::string buffer_;
    size_t read_ = 0;
    bool broken_ = false;
};

}  // namespace pw
