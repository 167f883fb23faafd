#include "platform/GlibcRandom.h"

namespace pw {

// The additive feedback generator x[i] = x[i-3] + x[i-31], its table filled
// by the "minimal standard" generator and its first 310 numbers thrown away.
// The seed goes in as a signed 32-bit word, as the C library takes it, so
// that seeds from 2^31 up give the same numbers too.
void GlibcRandom::Seed(uint32_t seed) {
    if (seed == 0) seed = 1;
    state_[0] = static_cast<int32_t>(seed);
    int32_t word = static_cast<int32_t>(seed);
    for (int i = 1; i < kDegree; ++i) {
        const int64_t hi = word / 127773;
        const int64_t lo = word % 127773;
        int64_t next = 16807 * lo - 2836 * hi;
        if (next < 0) next += 2147483647;
        word = static_cast<int32_t>(next);
        state_[i] = word;
    }
    front_ = kSeparation;
    rear_ = 0;
    for (int i = 0; i < kDegree * 10; ++i) Next();
}

int32_t GlibcRandom::Next() {
    const uint32_t value = static_cast<uint32_t>(state_[front_]) + static_cast<uint32_t>(state_[rear_]);
    state_[front_] = static_cast<int32_t>(value);
    front_ = (front_ + 1) % kDegree;
    rear_ = (rear_ + 1) % kDegree;
    return static_cast<int32_t>(value >> 1);
}

}  // namespace pw
