#pragma once
// A small fast generator (xorshift64*): the noise only has to look random and repeat
// exactly for a given seed.
#include <cstdint>

namespace tidemar::headsim {

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed ? seed : 0x9E3779B97F4A7C15ull) {}

    uint64_t Next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1Dull;
    }

private:
    uint64_t state_;
};

}  // namespace tidemar::headsim
