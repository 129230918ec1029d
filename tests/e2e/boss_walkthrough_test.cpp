// The two boss scenes walked through as a player would, with nothing kept full: the hero
// dodges what falls and flies (looking a little ahead at every shot, beam and blade), fights
// each boss from where its shots do not leave, and goes on with the hearts it has left.
// "MidBoss": the boss shot down from beside its rain, the water, the wall, the keys, the
// door. "FinalLevel": the items, across the arena under the first boss's rain, the final
// boss shot down from its side between its own shots, the keys it guarded, the door.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "game/rules/boss_machines.h"
#include "game/rules/game_variables.h"
#include "platform/headless/headless_host.h"
#include "platform/input_keys.h"
#include "tests/e2e/level_routes.h"
#include "tests/support/dodging.h"
#include "tests/support/game_run.h"
#include "tests/support/walker.h"

namespace game {

using testing_support::FightFromBelow;
using testing_support::FightFromTheLeft;
using testing_support::SafeGoX;
using testing_support::SafeGoY;
using testing_support::Tap;
using testing_support::WaitUntilGone;
using testing_support::Walker;

void WalkMidBoss(Walker& w) {
  w.Add("out of the corner", SafeGoY(406));
  w.Add("east along the bottom", SafeGoX(585));
  w.Add("up to the hat", SafeGoY(371));
  w.Add("the fire icon", SafeGoX(605));
  w.Add("up through the meat", SafeGoY(336));
  w.Add("down", SafeGoY(406));
  w.Add("west, past the pillar", SafeGoX(532));
  w.Add("up beside the rain", SafeGoY(125));
  // Under the right of its body, behind where its balls and beams leave.
  w.Add("the fight", FightFromBelow("Demon", 76, 125, 15, 92));
  w.Add("over to the water icon", SafeGoX(319));
  w.Add("up to it", SafeGoY(30));
  w.Add("the shout bursts the wall", Tap(platform::KeyS));
  w.Add("down out of the arena", SafeGoY(145));
  w.Add("wait for the blades", WaitUntilGone("Spinner1", 200));
  w.Add("down between their lanes", SafeGoY(198));
  w.Add("west", SafeGoX(39));
  w.Add("wait for the blades", WaitUntilGone("Spinner1", 200));
  w.Add("up through the wall", SafeGoY(18));
  w.Add("the key in the corner", SafeGoX(18));
  w.Add("the key below it", SafeGoY(40));
  w.Add("back", SafeGoX(40));
  w.Add("down to the wall", SafeGoY(140));
  w.Add("wait for the blades", WaitUntilGone("Spinner1", 200));
  w.Add("down past them", SafeGoY(198));
  w.Add("east", SafeGoX(579));
  w.Add("wait for the blades", WaitUntilGone("Spinner1", 200));
  w.Add("up to the door", SafeGoY(56));
}

void WalkFinalLevel(Walker& w) {
  w.Add("down", SafeGoY(407));
  w.Add("east", SafeGoX(82));
  w.Add("up", SafeGoY(147));
  w.Add("east", SafeGoX(94));
  w.Add("up: the hat, the fire icon", SafeGoY(19));
  w.Add("the boots", SafeGoX(108));
  w.Add("down: the glass, the dagger", SafeGoY(92));
  w.Add("west", SafeGoX(92));
  w.Add("down to the way into the arena", SafeGoY(376));
  w.Add("across the arena", SafeGoX(528));
  w.Add("up to the final boss's row", SafeGoY(205));
  // Left of where its beam leaves, in its row while it casts the beam and the blob, above
  // the row of its balls while it throws them.
  w.Add("the fight", FightFromTheLeft("Tenma", 528, 205, 186, [](const quor::Sprite& boss) {
          const uint32_t state = boss.stateMachine.GetCurrentState();
          return state == kTenmaLaser || (state == kTenmaBlob && boss.GetFrame() < 16);
        }));
  w.Add("into the keys' shelf", SafeGoY(204));
  w.Add("the first two keys", SafeGoX(613));
  w.Add("the third", SafeGoY(228));
  w.Add("out of the shelf", SafeGoX(530));
  w.Add("down the arena", SafeGoY(376));
  w.Add("west out of it", SafeGoX(92));
  w.Add("up below the door's wall", SafeGoY(287));
  w.Add("west below the door", SafeGoX(22));
  w.Add("up into the door", SafeGoY(270));
}

namespace {

using platform::HeadlessHost;
using testing_support::SceneName;

struct BossWalk {
  std::vector<std::string> scenes;
  int32_t heartsAtExit = 0;
  int32_t stage = 0, demonLife = 0, tenmaLife = 0;  // as the next scene began
  std::string log;
};

// Enters the scene as its stage does and walks it until the next scene has begun.
BossWalk Walk(const char* scene, int32_t stage, void (*route)(Walker&)) {
  testing_support::GameRun run;
  Walker walker(scene);
  route(walker);
  run.EnterAt(1, scene, stage);
  BossWalk walk;
  run.host.EveryFrame([&](HeadlessHost& h) {
    if (h.Frame() < 2) return;
    if (walk.scenes.empty() || walk.scenes.back() != SceneName()) {
      walk.scenes.push_back(SceneName());
      if (walk.scenes.size() == 2) {
        walk.stage = Stage;
        walk.demonLife = DemonLife;
        walk.tenmaLife = TenmaLife;
        h.PostQuit(0);
        return;
      }
    }
    walker.Frame(h);
    walk.heartsAtExit = HeartCount;
  });
  run.Run(8000);
  walk.log = walker.Log() + "stopped at: " + walker.Current();
  EXPECT_TRUE(run.host.messageBoxes.empty()) << run.host.messageBoxes[0].text;
  return walk;
}

TEST(BossWalkthrough, TheMidBossShotDownAndLeftByItsDoorWithTheHeartsTheHeroHas) {
  const BossWalk walk = Walk("MidBoss", 3, WalkMidBoss);
  EXPECT_EQ(walk.scenes, (std::vector<std::string>{"MidBoss", "StageIntro"})) << walk.log;
  EXPECT_EQ(walk.stage, 4);
  EXPECT_EQ(walk.demonLife, 0);
  EXPECT_GT(walk.heartsAtExit, 0);
}

TEST(BossWalkthrough, TheFinalBossShotDownAndTheLastDoorReachedWithTheHeartsTheHeroHas) {
  const BossWalk walk = Walk("FinalLevel", 6, WalkFinalLevel);
  EXPECT_EQ(walk.scenes, (std::vector<std::string>{"FinalLevel", "FinalDoor"})) << walk.log;
  EXPECT_EQ(walk.tenmaLife, 0);
  EXPECT_GT(walk.heartsAtExit, 0);
}

}  // namespace
}  // namespace game
