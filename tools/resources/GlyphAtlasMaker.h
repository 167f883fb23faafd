#pragma once
// The glyph atlas: every character the game can draw, rendered once per cell height it draws text at,
// so that the game measures and draws text with no font library.
#include <cstdint>
#include <string>
#include <vector>

#include "FontFace.h"
#include "platform/GlyphFace.h"

namespace pw::tool {

struct KernPair {
    char32_t first = 0, second = 0;
    int32_t adjust = 0;  // 1/64 pixel
};

struct AtlasFace {
    int cell = 0, pointSize = 0, ascent = 0, height = 0;
    std::vector<GlyphImage> glyphs;  // by code, ascending
    std::vector<KernPair> kerning;   // the pairs that move, by first then second code
};

// The cell heights the game asks its text for.
const std::vector<int>& GameCellHeights();
// Every character of the string table, the digits, the minus sign of negative numbers and the
// question mark of an unknown weight, ascending.
std::vector<char32_t> GameCharacters();
// The texts checked against whole-line shaping: the string table's and a run of every digit.
std::vector<std::u32string> GameTexts();
// What the desktop window's bar writes besides: every printable ASCII character and the middle dot,
// and the texts it shows, checked like the game's.
std::vector<char32_t> BarCharacters();
std::vector<std::u32string> BarTexts();

// The font's glyphs for the characters and the kerning among them. Throws when the font lacks a
// character, or when one of the texts laid out glyph by glyph would stand elsewhere than shaped as a
// whole line.
AtlasFace MakeFace(const FontFace& font, int cell, const std::vector<char32_t>& characters,
                   const std::vector<std::u32string>& texts);
// The game's face for one cell: the largest point size whose line height fits the cell; the bar's cell
// holds the bar's characters as well.
AtlasFace MakeAtlasFace(const std::string& fontPath, int cell);
// The face as the game reads it from the atlas.
GlyphFace ToGlyphFace(const AtlasFace& face);

// The atlas file; see resources/README.md for its layout.
std::vector<uint8_t> EncodeGlyphAtlas(const std::vector<AtlasFace>& faces);

}  // namespace pw::tool
