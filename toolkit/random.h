// The toolkit's random numbers: MT19937, seeded with 4357 unless the "randseed" option seeded it.
// Portable; program thread only.
#pragma once

#include <cstdint>

void SeedRandom(std::uint32_t seed);
std::uint32_t NextRandom32();
// 0 for n = 0; otherwise |next output as signed 32-bit % n|.
std::int32_t RandomBelow(std::int32_t n);
