/* The floor the browser build's start is measured against: a minimal
   Emscripten program that fills a 240 x 320 picture in its memory and puts
   it on the page's canvas once, as the game draws its first picture, then
   marks the moment ("baseline-first-picture"). bench/web_bench.mjs builds it
   with the game's optimisation and serves it beside the game. */
#include <emscripten.h>
#include <stdint.h>

enum { kWidth = 240, kHeight = 320 };
static uint8_t picture[kWidth * kHeight * 4];

int main(void) {
    for (int i = 0; i < kWidth * kHeight; ++i) {
        picture[4 * i] = 30;
        picture[4 * i + 1] = 46;
        picture[4 * i + 2] = 90;
        picture[4 * i + 3] = 255;
    }
    /* clang-format off */
    EM_ASM({
        const canvas = document.getElementById("display");
        const context = canvas.getContext("2d", { alpha: false });
        const image = new ImageData(new Uint8ClampedArray(HEAPU8.subarray($0, $0 + $1 * $2 * 4)), $1, $2);
        context.putImageData(image, 0, 0);
        performance.mark("baseline-first-picture");
    }, picture, kWidth, kHeight);
    /* clang-format on */
    return 0;
}
