// MT19937 random numbers with the early seeding routine, so a seed gives the same
// sequence that programs built on that routine have always produced.
#include "toolkit/random.h"

#include <array>
#include <cstdlib>

namespace {

constexpr int kStateSize = 624;
constexpr int kShift = 397;
constexpr std::uint32_t kMatrixA = 0x9908B0DFu;
constexpr std::uint32_t kUpperMask = 0x80000000u;
constexpr std::uint32_t kLowerMask = 0x7FFFFFFFu;
constexpr std::uint32_t kDefaultSeed = 4357;

// Generator state. Written and read by the program thread only.
struct RandomState {
    std::array<std::uint32_t, kStateSize> mt{};
    int next = kStateSize + 1;  // past the end and beyond: not seeded yet
};

RandomState& State() {
    static RandomState state;
    return state;
}

void Regenerate(RandomState& s) {
    for (int k = 0; k < kStateSize; ++k) {
        const std::uint32_t y = (s.mt[k] & kUpperMask) | (s.mt[(k + 1) % kStateSize] & kLowerMask);
        s.mt[k] = s.mt[(k + kShift) % kStateSize] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
    }
    s.next = 0;
}

}  // namespace

void SeedRandom(std::uint32_t seed) {
    RandomState& s = State();
    // The early routine: a plain multiplicative congruential fill, unlike the later
    // init_genrand, which would give different sequences for the same seed.
    s.mt[0] = seed;
    for (int i = 1; i < kStateSize; ++i) s.mt[i] = 69069u * s.mt[i - 1];
    s.next = kStateSize;
}

std::uint32_t NextRandom32() {
    RandomState& s = State();
    if (s.next > kStateSize) SeedRandom(kDefaultSeed);
    if (s.next == kStateSize) Regenerate(s);
    std::uint32_t y = s.mt[s.next++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

std::int32_t RandomBelow(std::int32_t n) {
    if (n == 0) return 0;
    // In 64 bits, so that INT32_MIN % -1 cannot trap.
    const std::int64_t remainder = static_cast<std::int64_t>(static_cast<std::int32_t>(NextRandom32())) % n;
    return static_cast<std::int32_t>(std::llabs(remainder));
}
