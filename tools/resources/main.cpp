// Remakes the game's pictures, sounds and icons from code:
//   make_resources <resources folder>
// writes bitmaps/<id>.bmp, sounds/<id>.wav, icon/101.ico, icon/101.bmp, icon/pivotwarden-<N>.png and the
// glyph atlas glyphs/atlas.bin under that folder, reading the lettering font from fonts/DejaVuSans-Bold.ttf
// there and the text font from fonts/DejaVuSansCondensed-Bold.ttf.
#include <exception>
#include <iostream>
#include <string>

#include "Artwork.h"
#include "BmpEncoder.h"
#include "ByteWriter.h"
#include "GlyphAtlasMaker.h"
#include "IcoEncoder.h"
#include "PngEncoder.h"
#include "SoundBank.h"
#include "WavEncoder.h"

namespace {

void WriteBitmaps(const std::string& root, const std::vector<pw::tool::NumberedBitmap>& bitmaps) {
    for (const auto& bitmap : bitmaps) {
        const std::string name = std::to_string(bitmap.id);
        pw::tool::WriteFile(root + "/bitmaps/" + name + ".bmp",
                            pw::tool::EncodeBmp(bitmap.canvas, bitmap.bitsPerPixel, name));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_resources <resources folder>\n";
        return 2;
    }
    const std::string root = argv[1];
    try {
        const pw::tool::Lettering lettering(root + "/fonts/DejaVuSans-Bold.ttf");
        WriteBitmaps(root, pw::tool::MakeScaleArt());
        WriteBitmaps(root, pw::tool::MakePieceArt());
        WriteBitmaps(root, pw::tool::MakePanelArt(lettering));
        WriteBitmaps(root, pw::tool::MakeSceneArt(lettering));
        for (const auto& sound : pw::tool::MakeSounds())
            pw::tool::WriteFile(root + "/sounds/" + std::to_string(sound.id) + ".wav",
                                pw::tool::EncodeWav(sound.sound));
        pw::tool::WriteFile(
            root + "/icon/101.ico",
            pw::tool::EncodeIco({pw::tool::MakeIcon(32), pw::tool::MakeIcon(16)}, "icon 101"));
        std::vector<pw::tool::AtlasFace> faces;
        for (int cell : pw::tool::GameCellHeights())
            faces.push_back(pw::tool::MakeAtlasFace(root + "/fonts/DejaVuSansCondensed-Bold.ttf", cell));
        pw::tool::WriteFile(root + "/glyphs/atlas.bin", pw::tool::EncodeGlyphAtlas(faces));
        // The window's icon, which SDL reads itself: key-coloured pixels are transparent.
        pw::tool::WriteFile(root + "/icon/101.bmp",
                            pw::tool::EncodeBmp(pw::tool::MakeIcon(32), 4, "icon 101"));
        for (int size : {16, 32, 128, 192, 512})
            pw::tool::WritePng(root + "/icon/pivotwarden-" + std::to_string(size) + ".png",
                               pw::tool::MakeIcon(size));
    } catch (const std::exception& error) {
        std::cerr << "make_resources: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
