// Fire balls, the hero's fire blast and knife trap, the laser beams and laser traps.
#include "game/animation/animation_data.h"

namespace game {

constexpr EntryData kFireBallSet{};
constexpr EntryData kFireBlastSet{};
constexpr EntryData kTrapSet{};
constexpr EntryData kLaserBeamSet{};
constexpr EntryData kLaserTrapSet{};

}  // namespace game
