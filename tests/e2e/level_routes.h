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

// The boss scenes, as timed schedules of keys counted from the scene's first frame; the
// boss fights test plays them with the hero's hearts kept full.
// "MidBoss": the fight to the boss's death, the water, the wall, the keys and the door.
std::vector<testing_support::TimedHold> MidBossRoute();
// "FinalLevel": the hat and boots, past both bosses to the keys, and the door.
std::vector<testing_support::TimedHold> FinalLevelRoute();

// The boss scenes walked with the hearts the hero has: dodging what falls and flies and
// fighting each boss from where its shots do not leave (beside the boss walkthrough test).
// "MidBoss": the boss shot down, the water, the wall, the keys and the door.
void WalkMidBoss(testing_support::Walker& w);
// "FinalLevel": the items, the final boss shot down, the keys it guarded and the door.
void WalkFinalLevel(testing_support::Walker& w);

}  // namespace game
