// Stand-in sounds, made from their file names: each effect a short tone of its own, each
// music a loop of a few seconds, quiet enough to play under the effects.
#pragma once

#include <string>
#include <vector>

namespace standins {

// Mono samples at 44100 Hz, -1 to 1.
std::vector<float> EffectSamples(const std::string& file);
std::vector<float> MusicSamples(const std::string& file);

}  // namespace standins
