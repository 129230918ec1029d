// "Level2", "Level3" and "Level4" played on the headless host with the stand-in pictures,
// through the keyboard alone, each from its own stage: the hero takes the hat, three keys
// and whatever items the way needs, dodges the lasers, spears, spinners and guards by
// waiting for its moment, and leaves through the door to "StageIntro", which leads on to
// the next stage's scene. Each way is a plan of keys held for so many frames, with waits
// until a given frame where the hero's moment comes: the game is the same every run. The
// plans are the levels' timed routes, which the playthrough of the whole game shares.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "game/rules/game_variables.h"
#include "game/scenes/content_data.h"
#include "platform/headless/headless_host.h"
#include "tests/e2e/level_routes.h"
#include "tests/support/game_run.h"
#include "tests/support/walker.h"
#include "tools/runner/key_names.h"
#include "tools/standins/screen_pictures.h"

namespace game {
namespace {

using platform::HeadlessHost;
using testing_support::SceneName;
using testing_support::TimedHold;
using testing_support::WallUnder;

// A plan has one step a line, run one after the other from the level's second frame:
//   hold KEY N     the key down for N frames; the next step starts as it goes up
//   tap KEY        down for one frame
//   press KEY / release KEY    down or up, taking no time (for a key held across steps)
//   wait N         nothing for N frames
//   until F        nothing until frame F of the level (its first frame is frame 1)
// and "#" starts a comment. The holds come out counted from the level's first frame.
std::vector<TimedHold> PlanToRoute(const char* plan) {
  std::vector<TimedHold> route;
  std::vector<size_t> pressed;  // holds opened by press, waiting for their release
  std::istringstream lines(plan);
  std::string line;
  int frame = 1;
  while (std::getline(lines, line)) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::string verb, key;
    int n = 0;
    if (!(words >> verb)) continue;
    if (verb == "until" || verb == "wait") {
      words >> n;
      if (verb == "until") n -= 1 + frame;
      EXPECT_GE(n, 0) << "a wait that ends before the step ahead of it: " << line;
      frame += n;
      continue;
    }
    uint8_t code = 0;
    words >> key;
    EXPECT_TRUE(runner::KeyCodeFromName(key, code)) << line;
    if (verb == "press") {
      pressed.push_back(route.size());
      route.push_back({code, frame, frame});
    } else if (verb == "release") {
      for (size_t i = 0; i < pressed.size(); ++i) {
        if (route[pressed[i]].key != code) continue;
        route[pressed[i]].to = frame;
        pressed.erase(pressed.begin() + i);
        break;
      }
    } else {
      n = 1;
      if (verb == "hold") words >> n;
      EXPECT_TRUE(verb == "hold" || verb == "tap") << line;
      route.push_back({code, frame, frame + n});
      frame += n;
    }
  }
  return route;
}

struct WalkResult {
  // Every scene run, in order, from the level on.
  std::vector<std::string> scenes;
  int stageAtIntro = 0;  // Stage as "StageIntro" began
  int keysAtExit = 0;
  // Pixels of wall under the hero, summed over the walk.
  int wallPixels = 0;
  // Where the hero was as each hold began.
  std::string log;
};

// Plays the level from the given stage by its route, until "StageIntro" has led on.
WalkResult Walk(const char* level, int stage, const SceneContent& content,
                const std::vector<TimedHold>& route) {
  testing_support::GameRun run;
  Stage = stage;
  const platform::Image picture = standins::MapPicture(content.maps[0]);
  run.EnterAt(0, level);
  testing_support::Walker walker(level);
  walker.Add("the route", testing_support::Schedule(route));
  WalkResult result;
  int enteredAt = -1;
  run.host.EveryFrame([&](HeadlessHost& h) {
    const std::string scene = SceneName();
    if (h.Frame() >= 1 && (result.scenes.empty() || result.scenes.back() != scene)) {
      result.scenes.push_back(scene);
      if (scene == level) enteredAt = h.Frame();
      if (scene == "StageIntro") result.stageAtIntro = Stage;
      if (result.scenes.size() == 3) h.PostQuit(0);
    }
    walker.Frame(h);
    if (scene != level) return;
    result.keysAtExit = KeyCount;
    const quor::Sprite* hero = quor::FindSpriteByName("Player");
    if (!hero) return;
    result.wallPixels += WallUnder(*hero, picture);
    for (const TimedHold& hold : route) {
      if (hold.from != h.Frame() - enteredAt) continue;
      char where[120];
      std::snprintf(where, sizeof where, "frame %d at %.0f, %.0f, %d hearts, %d keys: %s\n",
                    hold.from, hero->GetX(), hero->GetY(), HeartCount, KeyCount,
                    runner::KeyName(hold.key).c_str());
      result.log += where;
    }
  });
  run.Run(6000);
  EXPECT_TRUE(run.host.messageBoxes.empty()) << run.host.messageBoxes[0].text;
  return result;
}

void ExpectLevelFinished(const WalkResult& walk, const char* level, int stage, const char* next) {
  EXPECT_EQ(walk.scenes, (std::vector<std::string>{level, "StageIntro", next})) << walk.log;
  EXPECT_EQ(walk.stageAtIntro, stage + 1);
  EXPECT_EQ(walk.keysAtExit, 3);
  EXPECT_EQ(walk.wallPixels, 0) << "the hero stood on walls the player sees\n" << walk.log;
}

// Lasers sweep the outer corridors: across the top and bottom ones, up and down the sides,
// four beams at a time every 324 frames. The way in is by the water: the shout bursts the
// wall at the foot of the inner rooms.
constexpr const char* kLevel2Plan = R"(
until 148        # the bottom corridor's beams have passed the start
hold Down 29
hold Right 66
hold Up 90
hold Right 12    # the hat, in the east notch, while the side beams pass
until 470
hold Left 11
hold Up 77
hold Left 128
hold Up 12       # the water, in the north notch
tap S            # the wall bursts
until 800
hold Down 11
hold Left 128
until 1045       # the west beam is spent; down before the next sweep of the top
hold Left 2
hold Down 78
wait 10
hold Left 13     # the meat in the west notch
hold Right 13
hold Down 89
hold Right 130
hold Down 15     # the key in the south notch
hold Up 40       # through the burst wall
hold Up 65
hold Left 53
hold Up 30
hold Right 23
hold Up 23
hold Left 25     # the glass, which lifts the cover, and the meat beside it
hold Right 24
hold Down 23
hold Left 23
hold Down 50
hold Left 61
hold Down 52
hold Right 75    # past two spinners to the key
hold Up 27       # the meat and the boots
hold Down 14
until 2012       # the west spinner is up
hold Left 38
hold Up 26
hold Right 54
hold Up 36
hold Right 27
until 2198       # the east spinner is down its column
hold Right 29
until 2257       # the spears: each row crossed on its short side, between long thrusts
hold Down 14
hold Left 12
hold Down 12
hold Right 12
hold Down 11
hold Left 12
until 2341
hold Down 22
hold Right 10    # the dagger and the fire
until 2377
hold Left 10
hold Up 22
hold Right 12
hold Up 11
hold Left 12
hold Up 11
hold Right 12
hold Up 15
hold Left 33
hold Down 41
hold Right 1
tap D            # the secret doors burn, one shot each
wait 20
tap D
until 2600       # the east spinner is up its column
hold Right 7     # the key behind the secret doors
hold Left 7
hold Left 21
hold Down 27
until 2735       # the bottom corridor's beams have passed
hold Down 4
hold Left 65
hold Up 84
hold Right 26
hold Down 38
hold Left 14
hold Up 30       # into the open door
)";

}  // namespace

std::vector<TimedHold> Level2Route() { return PlanToRoute(kLevel2Plan); }

namespace {

TEST(LaserLevelWalkthrough, Level2LeadsThroughItsDoorToTheMidBoss) {
  ExpectLevelFinished(Walk("Level2", 2, kLevel2Content, Level2Route()), "Level2", 2, "MidBoss");
}

// A tall hall: a guard walks the west corridor, a spinner sweeps the row of bays along the
// top, a column of spears guards the east side, and Mellon Men throw fire down the lanes
// of the ring round the keep where the door is.
constexpr const char* kLevel3Plan = R"(
hold Down 48
hold Left 18
hold Down 22
hold Left 61
hold Up 58       # up the west corridor behind the guard
hold Left 19     # aside into the west column while the guard passes
hold Down 51     # the meat at its foot
hold Up 51
until 380
hold Right 19
hold Up 108
hold Right 6
hold Up 29       # the dagger's bay
until 568        # the spinner has gone east
hold Down 17
hold Left 23
hold Up 17       # the fire's bay
hold Down 1
tap D            # the secret door at the top of the west column burns
until 672
hold Left 1
hold Down 60     # the hat and the key below it
hold Up 23
until 812
hold Up 9
hold Right 23
hold Up 18
until 930
hold Down 7
hold Right 34
hold Up 12       # the key's bay
until 1049
hold Down 11
hold Right 27
hold Up 12       # the meat's bay
until 1209
hold Down 12
hold Right 27
hold Up 12       # the boots' bay
until 1339
hold Down 7
hold Left 27
hold Up 7
until 1388
hold Down 7
hold Left 29
hold Down 10
hold Down 50     # back down the west column
until 1530       # the guard has passed going up
hold Right 9
hold Down 29
hold Right 31
hold Up 12       # into the ring
until 1680
hold Right 19
tap Up
tap D            # at the east lane's fireball
until 1778
tap D            # at the Mellon Man above it
until 1870
hold Up 62
hold Left 19
hold Down 10
hold Right 10
hold Down 14     # the key in the keep
hold Up 13
hold Left 10
hold Up 10
hold Right 19
hold Down 63
hold Left 27
hold Up 30       # into the open door
)";

}  // namespace

std::vector<TimedHold> Level3Route() { return PlanToRoute(kLevel3Plan); }

namespace {

TEST(LaserLevelWalkthrough, Level3LeadsThroughItsDoorToLevel4) {
  ExpectLevelFinished(Walk("Level3", 4, kLevel3Content, Level3Route()), "Level3", 4, "Level4");
}

// The rooms of "Level2" without the cover, with the lasers out of step, a fourth spinner,
// a Mellon Man over the burst wall and three guards: two are caught in the dagger's trap,
// the third is walked past.
constexpr const char* kLevel4Plan = R"(
until 95
hold Down 29
hold Right 50
until 236        # the east side's downward beam has passed
hold Right 16
hold Up 90
hold Right 12    # the hat
until 373
hold Left 11
hold Up 74
hold Left 128
hold Up 16       # the water
tap S
until 624        # one beam cannot be dodged on the way down the west side
hold Down 12
hold Left 130
hold Down 75
hold Left 13     # the meat makes up for it
hold Right 13
hold Down 92
hold Right 130
hold Down 16     # the key in the south notch
until 1108
hold Up 15
hold Right 14    # out of the fireball's way
until 1156
hold Left 12
hold Up 41
hold Right 14
hold Up 103      # past the middle guard's round
until 1352       # the east spinner is down its column
hold Right 89
until 1458       # the spears, as in the second level
hold Down 29
hold Left 24
until 1517
hold Down 24
hold Right 24
until 1572
hold Down 22
hold Left 24
until 1625
hold Down 43
hold Right 20    # the dagger and the fire
hold Left 19
until 1735
hold Up 42
hold Right 24
until 1825
hold Up 22
hold Left 24
until 1896
hold Up 23
hold Right 24
until 1962
hold Up 30
until 2010
hold Left 78
tap D            # the Mellon Man
hold Down 82
until 2300
hold Right 8
press F          # the trap, in the middle guard's way
hold Left 8
until 2480
release F
hold Right 1
tap D            # the secret doors
wait 25
tap D
until 2540
hold Right 27    # the key behind them
hold Left 27
hold Up 9
hold Left 79
hold Up 7
press F          # the trap, in the west guard's way
hold Right 14
until 2790
release F
hold Left 18
hold Up 43
hold Right 25
hold Up 23
hold Left 26     # the meat by the glass
hold Right 25
hold Down 23
hold Left 25
hold Down 50
hold Left 58
hold Down 52
until 3204       # one spinner of three can be met on the way to the key
hold Right 76
hold Up 30       # the meat and the boots
hold Down 17
until 3354
hold Left 38
hold Up 26
hold Right 57
hold Down 30
until 3539
hold Down 5
hold Left 65
hold Up 45
hold Left 7
until 3773
hold Right 7
hold Up 38
hold Right 26
hold Down 8
until 3893
hold Down 27
press F          # the trap, in the door guard's way
hold Up 3
until 3965
release F
hold Down 6
hold Left 14
hold Up 30       # into the open door
)";

}  // namespace

std::vector<TimedHold> Level4Route() { return PlanToRoute(kLevel4Plan); }

namespace {

TEST(LaserLevelWalkthrough, Level4LeadsThroughItsDoorToTheFinalLevel) {
  ExpectLevelFinished(Walk("Level4", 5, kLevel4Content, Level4Route()), "Level4", 5, "FinalLevel");
}

}  // namespace
}  // namespace game
