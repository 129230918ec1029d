// The engine's one random-number generator, shared by text effects and screen
// transitions: a 32-bit linear congruential state, 1 until it is first seeded.
#pragma once

#include <cstdint>

namespace quor {

// Starts the sequence again from seed.
void SeedRandom(uint32_t seed);
// The next number, 0..32767: state = state * 214013 + 2531011, then bits 16..30.
int32_t NextRandom();
// The current state, for tests and for code that must restore the sequence.
uint32_t RandomState();

}  // namespace quor
