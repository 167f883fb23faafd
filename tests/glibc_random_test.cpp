#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/GlibcRandom.h"

namespace pw {
namespace {

// Every game deals its puzzles from this class, in place of the C library's
// rand(): recordings made with glibc's generator only replay the same when
// the numbers agree, so it is compared with random() and rand() themselves.
TEST(GlibcRandomTest, DealsWhatTheCLibraryDealsForTheSameSeed) {
    for (uint32_t seed : {0u, 1u, 42u, 12345u, 2147483647u, 2147483648u, 4294967295u}) {
        SCOPED_TRACE(seed);
        srandom(seed);
        GlibcRandom generator(seed);
        for (int i = 0; i < 1000; ++i) ASSERT_EQ(generator.Next(), static_cast<int>(random())) << "number " << i;
        std::srand(seed);
        GlibcRandom again(seed);
        for (int i = 0; i < 10; ++i) ASSERT_EQ(again.Next(), std::rand()) << "rand(), number " << i;
    }
}

}  // namespace
}  // namespace pw
