// Standard MIDI Files checked before the synthesizer reads them: the header, every track's
// chunk against the file's length, and every event against its track, so that a damaged
// file is refused here rather than met half-way through a performance.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// True for a file of format 0, 1 or 2 with a usable time division, as many track chunks as
// its header names, each wholly inside the file, and tracks made only of well-formed events.
// The file is then given back in `playable` as the synthesizer can read it: the header and
// the track chunks alone, in their order. Chunks of other kinds, which the format lets a
// file carry and which the synthesizer cannot pass over, are left out, and so is whatever
// follows the last track.
bool ReadStandardMidiFile(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& playable);

}  // namespace platform
