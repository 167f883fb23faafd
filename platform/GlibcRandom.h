#pragma once
// The random numbers of the GNU C library's rand() and srand(), computed
// here so that the same seed deals the same puzzles wherever the game runs:
// every recording, set and picture of the game was made with glibc's
// sequence, and the browser's and Windows' C libraries deal others. Each
// game owns one generator, so games side by side never draw each other's
// numbers.
#include <cstdint>

namespace pw {

class GlibcRandom {
public:
    explicit GlibcRandom(uint32_t seed = 1) { Seed(seed); }
    void Seed(uint32_t seed);
    // 0 to 2^31 - 1.
    int32_t Next();

private:
    static constexpr int kDegree = 31;
    static constexpr int kSeparation = 3;
    int32_t state_[kDegree] = {};
    int front_ = kSeparation;
    int rear_ = 0;
};

}  // namespace pw
