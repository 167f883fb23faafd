// The C library's rand() and srand() for the browser build, and for the
// Windows build too, in place of their C libraries' own, which deal other
// numbers from the same seed: with these a seed, and so a replay, deals the
// same puzzles as on the Linux desktop.
#include <cstdlib>

#include "platform/GlibcRandom.h"

namespace {
pw::GlibcRandom generator;
}

extern "C" {

void srand(unsigned seed) { generator.Seed(seed); }

int rand() { return generator.Next(); }

}  // extern "C"
