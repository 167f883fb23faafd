#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/GlibcRandom.h"

namespace pw {
namespace {

// The browser build deals its puzzles from this class, the desktop from the C
// library: a replay only ends the same in both when the numbers agree.
TEST(GlibcRandomTest, DealsWhatTheCLibraryDealsForTheSameSeed) {
    for (uint32_t seed : {0u, 1u, 42u, 12345u, 2147483647u, 2147483648u, 4294967295u}) {
        SCOPED_TRACE(seed);
        std::srand(seed);
        GlibcRandom generator(seed);
        for (int i = 0; i < 1000; ++i) ASSERT_EQ(generator.Next(), std::rand()) << "number " << i;
    }
}

}  // namespace
}  // namespace pw
