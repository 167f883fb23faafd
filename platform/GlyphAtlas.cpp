#include "platform/GlyphAtlas.h"

#include <algorithm>

#include "resources/EmbeddedResources.h"

namespace pw {

namespace {

// Little-endian fields read from a byte range; once a read runs past the end
// every later read gives zero and ok() stays false.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool ok() const { return ok_; }
    bool AtEnd() const { return ok_ && pos_ == size_; }
    uint32_t U8() { return Take(1) ? data_[pos_ - 1] : 0; }
    int32_t I8() { return static_cast<int8_t>(U8()); }
    uint32_t U16() {
        if (!Take(2)) return 0;
        return static_cast<uint32_t>(data_[pos_ - 2]) | static_cast<uint32_t>(data_[pos_ - 1]) << 8;
    }
    int32_t I16() { return static_cast<int16_t>(U16()); }
    const uint8_t* Bytes(size_t n) { return Take(n) ? data_ + pos_ - n : nullptr; }

private:
    bool Take(size_t n) {
        if (!ok_ || size_ - pos_ < n) return ok_ = false;
        pos_ += n;
        return true;
    }
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

constexpr uint32_t kVersion = 1;

bool ReadGlyph(ByteReader& in, GlyphFace& face) {
    AtlasGlyph g;
    g.code = static_cast<char16_t>(in.U16());
    g.advance = in.I16();
    g.boxLeft = in.I8();
    g.boxTop = in.I8();
    g.boxWidth = static_cast<int32_t>(in.U8());
    g.boxRows = static_cast<int32_t>(in.U8());
    g.left = in.I8();
    g.top = in.I8();
    g.width = static_cast<int32_t>(in.U8());
    g.rows = static_cast<int32_t>(in.U8());
    const size_t bitCount = static_cast<size_t>(g.width) * g.rows;
    const uint8_t* ink = in.Bytes((bitCount + 7) / 8);
    if (!in.ok()) return false;
    if (!face.glyphs.empty() && face.glyphs.back().code >= g.code) return false;
    g.firstBit = face.bits.size() * 8;
    face.bits.insert(face.bits.end(), ink, ink + (bitCount + 7) / 8);
    face.glyphs.push_back(g);
    return true;
}

bool ReadFace(ByteReader& in, GlyphFace& face) {
    face.cell = static_cast<int32_t>(in.U8());
    in.U8();  // the point size it was rendered at, for people reading the file
    face.ascent = static_cast<int32_t>(in.U8());
    face.height = static_cast<int32_t>(in.U8());
    const uint32_t glyphCount = in.U16();
    const uint32_t kernCount = in.U16();
    for (uint32_t i = 0; i < glyphCount && in.ok(); ++i)
        if (!ReadGlyph(in, face)) return false;
    for (uint32_t i = 0; i < kernCount && in.ok(); ++i) {
        const auto first = static_cast<char16_t>(in.U16());
        const auto second = static_cast<char16_t>(in.U16());
        face.SetKerning(first, second, in.I16());
    }
    return in.ok() && face.cell > 0;
}

}  // namespace

GlyphAtlas GlyphAtlas::Parse(const uint8_t* data, size_t size) {
    GlyphAtlas atlas;
    if (data == nullptr) return atlas;
    ByteReader in(data, size);
    const uint8_t* magic = in.Bytes(4);
    if (magic == nullptr || !std::equal(magic, magic + 4, "PWGA") || in.U8() != kVersion) return atlas;
    const uint32_t faceCount = in.U8();
    std::vector<GlyphFace> faces(faceCount);
    for (GlyphFace& face : faces)
        if (!ReadFace(in, face)) return atlas;
    if (!in.AtEnd()) return atlas;
    std::sort(faces.begin(), faces.end(),
              [](const GlyphFace& a, const GlyphFace& b) { return a.cell < b.cell; });
    atlas.faces_ = std::move(faces);
    return atlas;
}

const GlyphAtlas& GlyphAtlas::Embedded() {
    static const GlyphAtlas atlas = [] {
        const EmbeddedResource* file = FindEmbedded(EmbeddedKind::GlyphAtlas, 1);
        return file == nullptr ? GlyphAtlas() : Parse(file->begin, file->Size());
    }();
    return atlas;
}

const GlyphFace* GlyphAtlas::FaceFor(int32_t cell) const {
    if (faces_.empty()) return nullptr;
    const GlyphFace* chosen = &faces_.front();
    for (const GlyphFace& face : faces_)
        if (face.cell <= cell) chosen = &face;
    return chosen;
}

}  // namespace pw
