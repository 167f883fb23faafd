// The C library's rand() and srand() on every target, in place of the C
// library's own: the browser's and Windows' deal other numbers from the same
// seed. With these a seed, and so a replay, deals the same puzzles
// everywhere.
#include <cstdlib>

#include "platform/GlibcRandom.h"

namespace {
pw::GlibcRandom generator;
}

extern "C" {

void srand(unsigned seed) { generator.Seed(seed); }

int rand() { return generator.Next(); }

}  // extern "C"
