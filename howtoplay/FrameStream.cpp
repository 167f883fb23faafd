#include "howtoplay/FrameStream.h"

#include <algorithm>
#include <cstring>

namespace pw {

namespace {

constexpr char kMark[4] = {'P', 'W', 'F', '1'};

struct Header {
    char mark[4];
    uint32_t at;
    int32_t left, top, right, bottom;
};

size_t PixelBytes(const Header& h) {
    return static_cast<size_t>(h.right - h.left) * static_cast<size_t>(h.bottom - h.top) * sizeof(Pixel);
}

}  // namespace

std::string EncodeFrame(uint32_t at, const Surface& picture, const Rect& area) {
    Header h{{kMark[0], kMark[1], kMark[2], kMark[3]},
             at,
             std::max(0, area.left),
             std::max(0, area.top),
             std::min(picture.Width(), area.right),
             std::min(picture.Height(), area.bottom)};
    if (h.right <= h.left || h.bottom <= h.top) return std::string();
    std::string record(sizeof h + PixelBytes(h), '\0');
    std::memcpy(&record[0], &h, sizeof h);
    const size_t rowBytes = static_cast<size_t>(h.right - h.left) * sizeof(Pixel);
    char* out = &record[sizeof h];
    for (int y = h.top; y < h.bottom; ++y, out += rowBytes)
        std::memcpy(out, picture.Row(y) + h.left, rowBytes);
    return record;
}

void FrameReader::Feed(const void* data, size_t size) {
    if (broken_) return;
    // What was handed out already goes before the buffer grows.
    if (read_ > 0) {
        buffer_.erase(0, read_);
        read_ = 0;
    }
    buffer_.append(static_cast<const char*>(data), size);
}

bool FrameReader::Check() {
    Header h;
    std::memcpy(&h, buffer_.data() + read_, sizeof h);
    const bool sound = std::memcmp(h.mark, kMark, sizeof kMark) == 0 && h.left >= 0 && h.top >= 0 &&
                       h.right <= width_ && h.bottom <= height_ && h.left < h.right && h.top < h.bottom;
    if (!sound) broken_ = true;
    return sound;
}

bool FrameReader::HasFrame() {
    if (broken_ || buffer_.size() - read_ < sizeof(Header) || !Check()) return false;
    Header h;
    std::memcpy(&h, buffer_.data() + read_, sizeof h);
    return buffer_.size() - read_ >= sizeof h + PixelBytes(h);
}

bool FrameReader::Next(Frame& frame) {
    if (!HasFrame()) return false;
    Header h;
    std::memcpy(&h, buffer_.data() + read_, sizeof h);
    frame.at = h.at;
    frame.area = Rect{h.left, h.top, h.right, h.bottom};
    frame.pixels.resize(PixelBytes(h) / sizeof(Pixel));
    std::memcpy(frame.pixels.data(), buffer_.data() + read_ + sizeof h, PixelBytes(h));
    read_ += sizeof h + PixelBytes(h);
    return true;
}

}  // namespace pw
