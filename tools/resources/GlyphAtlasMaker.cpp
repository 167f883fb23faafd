#include "GlyphAtlasMaker.h"

#include <algorithm>
#include <set>
#include <stdexcept>

#include "ByteWriter.h"
#include "platform/GlyphAtlas.h"
#include "resources/EmbeddedResources.h"

namespace pw::tool {

namespace {

std::vector<std::u32string> StringTable() {
    std::vector<std::u32string> texts;
    // String ids are 16-bit.
    for (int id = 0; id <= 0xFFFF; ++id)
        if (const char16_t* text = FindEmbeddedString(id)) {
            std::u32string wide;
            for (const char16_t* c = text; *c != 0; ++c) {
                if (*c >= 0xD800 && *c <= 0xDFFF) throw std::runtime_error("the string table leaves the BMP");
                wide.push_back(*c);
            }
            texts.push_back(wide);
        }
    return texts;
}

// Where each glyph's pen stands when the line is built from the atlas's advances and pairs.
std::vector<int32_t> PensFromAtlas(const AtlasFace& face, const std::u32string& text) {
    std::vector<int32_t> pens;
    int32_t pen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        pens.push_back(pen);
        auto g = std::find_if(face.glyphs.begin(), face.glyphs.end(),
                              [&](const GlyphImage& glyph) { return glyph.code == text[i]; });
        pen += g->advance;
        if (i + 1 == text.size()) break;
        for (const KernPair& k : face.kerning)
            if (k.first == text[i] && k.second == text[i + 1]) pen += k.adjust;
    }
    pens.push_back(pen);
    return pens;
}

void CheckAgainstShaping(const FontFace& font, const AtlasFace& face,
                         const std::vector<std::u32string>& texts) {
    for (const std::u32string& text : texts) {
        int32_t end = 0;
        std::vector<int32_t> shaped;
        for (const PlacedGlyph& g : font.Shape(text, end)) shaped.push_back(g.penX);
        shaped.push_back(end);
        if (shaped != PensFromAtlas(face, text))
            throw std::runtime_error("a text shapes otherwise than glyph by glyph at " +
                                     std::to_string(face.pointSize) + " points");
    }
}

void CheckRange(int value, int low, int high) {
    if (value < low || value > high) throw std::runtime_error("a glyph measure does not fit the atlas");
}

// The ink, top row first, eight pixels a byte, the first in the high bit.
std::vector<uint8_t> PackInk(const GlyphImage& g) {
    std::vector<uint8_t> packed((g.ink.size() + 7) / 8, 0);
    for (size_t i = 0; i < g.ink.size(); ++i)
        if (g.ink[i]) packed[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
    return packed;
}

// Glyphs the font's own hints spoil at one cell: at 12 pixels the 8 loses its rounded corners to a
// straight left side and reads as a B, which the automatic hinter keeps round.
FontFace::Hinting PictureHinting(int cell, char32_t code) {
    return cell == 12 && code == U'8' ? FontFace::Hinting::Automatic : FontFace::Hinting::Font;
}

}  // namespace

const std::vector<int>& GameCellHeights() {
    static const std::vector<int> cells{12, 13, 16, 18};
    return cells;
}

std::vector<char32_t> GameCharacters() {
    std::set<char32_t> set{U'-', U'?'};
    for (char32_t c = U'0'; c <= U'9'; ++c) set.insert(c);
    for (const std::u32string& text : StringTable()) set.insert(text.begin(), text.end());
    return std::vector<char32_t>(set.begin(), set.end());
}

std::vector<std::u32string> GameTexts() {
    std::vector<std::u32string> texts = StringTable();
    texts.push_back(U"-1234567890 ?");
    texts.push_back(U"9876543210");
    return texts;
}

std::vector<char32_t> BarCharacters() {
    std::vector<char32_t> characters;
    for (char32_t c = U' '; c <= U'~'; ++c) characters.push_back(c);
    characters.push_back(U'\u00B7');
    return characters;
}

std::vector<std::u32string> BarTexts() {
    return {U"Level 15",
            U"Set 4294967295 \u00B7 level 15",
            U"Sound on",
            U"Sound off",
            U"How to play",
            U"Progress",
            U"Drag a yellow weight onto a pan",
            U"Make both sides weigh the same",
            U"Type the hidden number",
            U"Your turn",
            U"ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz 0123456789",
            U"!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~"};
}

AtlasFace MakeAtlasFace(const std::string& fontPath, int cell) {
    int points = cell;
    while (points > 1 && FontFace(fontPath, points).Height() > cell) --points;
    std::vector<char32_t> characters = GameCharacters();
    std::vector<std::u32string> texts = GameTexts();
    if (cell == kBarCell) {
        const std::vector<char32_t> bar = BarCharacters();
        std::set<char32_t> all(characters.begin(), characters.end());
        all.insert(bar.begin(), bar.end());
        characters.assign(all.begin(), all.end());
        const std::vector<std::u32string> barTexts = BarTexts();
        texts.insert(texts.end(), barTexts.begin(), barTexts.end());
    }
    return MakeFace(FontFace(fontPath, points), cell, characters, texts);
}

AtlasFace MakeFace(const FontFace& font, int cell, const std::vector<char32_t>& characters,
                   const std::vector<std::u32string>& texts) {
    AtlasFace face;
    face.cell = cell;
    face.pointSize = font.PointSize();
    face.ascent = font.Ascent();
    face.height = font.Height();
    for (char32_t c : characters) {
        if (!font.Has(c)) throw std::runtime_error("the font has no glyph for a character the game draws");
        face.glyphs.push_back(font.Render(c, PictureHinting(cell, c)));
    }
    for (char32_t first : characters)
        for (char32_t second : characters)
            if (const int32_t adjust = font.Kerning(first, second))
                face.kerning.push_back({first, second, adjust});
    CheckAgainstShaping(font, face, texts);
    return face;
}

GlyphFace ToGlyphFace(const AtlasFace& face) {
    GlyphFace out;
    out.cell = face.cell;
    out.ascent = face.ascent;
    out.height = face.height;
    for (const GlyphImage& g : face.glyphs) {
        AtlasGlyph a;
        a.code = static_cast<char16_t>(g.code);
        a.advance = g.advance;
        a.boxLeft = g.boxLeft;
        a.boxTop = g.boxTop;
        a.boxWidth = g.boxWidth;
        a.boxRows = g.boxRows;
        a.left = g.left;
        a.top = g.top;
        a.width = g.width;
        a.rows = g.rows;
        a.firstBit = out.bits.size() * 8;
        const std::vector<uint8_t> packed = PackInk(g);
        out.bits.insert(out.bits.end(), packed.begin(), packed.end());
        out.glyphs.push_back(a);
    }
    for (const KernPair& k : face.kerning)
        out.SetKerning(static_cast<char16_t>(k.first), static_cast<char16_t>(k.second), k.adjust);
    return out;
}

std::vector<uint8_t> EncodeGlyphAtlas(const std::vector<AtlasFace>& faces) {
    ByteWriter out;
    out.Text("PWGA");
    out.U8(1);  // version
    CheckRange(static_cast<int>(faces.size()), 1, 255);
    out.U8(static_cast<uint8_t>(faces.size()));
    auto i8 = [&](int v) {
        CheckRange(v, -128, 127);
        out.U8(static_cast<uint8_t>(static_cast<int8_t>(v)));
    };
    auto u8 = [&](int v) {
        CheckRange(v, 0, 255);
        out.U8(static_cast<uint8_t>(v));
    };
    auto i16 = [&](int v) {
        CheckRange(v, -32768, 32767);
        out.U16(static_cast<uint16_t>(static_cast<int16_t>(v)));
    };
    auto code = [&](char32_t c) {
        CheckRange(static_cast<int>(c), 1, 0xFFFF);
        out.U16(static_cast<uint16_t>(c));
    };
    for (const AtlasFace& face : faces) {
        u8(face.cell);
        u8(face.pointSize);
        u8(face.ascent);
        u8(face.height);
        CheckRange(static_cast<int>(face.glyphs.size()), 0, 0xFFFF);
        out.U16(static_cast<uint16_t>(face.glyphs.size()));
        CheckRange(static_cast<int>(face.kerning.size()), 0, 0xFFFF);
        out.U16(static_cast<uint16_t>(face.kerning.size()));
        for (const GlyphImage& g : face.glyphs) {
            code(g.code);
            i16(g.advance);
            i8(g.boxLeft);
            i8(g.boxTop);
            u8(g.boxWidth);
            u8(g.boxRows);
            i8(g.left);
            i8(g.top);
            u8(g.width);
            u8(g.rows);
            out.Append(PackInk(g));
        }
        for (const KernPair& k : face.kerning) {
            code(k.first);
            code(k.second);
            i16(k.adjust);
        }
    }
    return out.Bytes();
}

}  // namespace pw::tool
