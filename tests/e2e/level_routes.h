// The ways through the game's levels that the walkthrough tests play, shared with the
// playthrough that plays them one after the other from "Start" to "Win". Each is defined
// beside its own walkthrough test.
#pragma once

#include <vector>

#include "tests/support/walker.h"

namespace game {

// "Level1": the hat, three keys and the door, waiting for the guards on the way.
void WalkLevel1(testing_support::Walker& w);

// "Level2", "Level3" and "Level4", as timed schedules of keys counted from the level's
// first frame: the hat, three keys and the door, past the lasers, spears, spinners and
// guards at the moments the plans wait for.
std::vector<testing_support::TimedHold> Level2Route();
std::vector<testing_support::TimedHold> Level3Route();
std::vector<testing_support::TimedHold> Level4Route();

// The boss scenes, as timed schedules of keys counted from the scene's first frame.
// "MidBoss": the fight to the boss's death, the water, the wall, the keys and the door.
std::vector<testing_support::TimedHold> MidBossRoute();
// "FinalLevel": the hat and boots, past both bosses to the keys, and the door.
std::vector<testing_support::TimedHold> FinalLevelRoute();

}  // namespace game
