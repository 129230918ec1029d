// "Level1" played on the headless host with the stand-in pictures, through the keyboard
// alone: the hero walks from waypoint to waypoint as a player would, waits where a guard, a
// spear or a fireball is in the way, and burns the secret doors that bar two of the keys.
// Also: the hero stops at the walls the picture shows, the shot and the trap in the level,
// losing and continuing, and the hidden level select from level to level.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "game/rules/game_variables.h"
#include "game/scenes/content_data.h"
#include "platform/headless/headless_host.h"
#include "platform/input_keys.h"
#include "tests/e2e/level_routes.h"
#include "tests/support/game_run.h"
#include "tests/support/walker.h"
#include "tools/standins/screen_pictures.h"

namespace game {
namespace {

using platform::HeadlessHost;
using testing_support::All;
using testing_support::Find;
using testing_support::GoX;
using testing_support::GoY;
using testing_support::SceneName;
using testing_support::Tap;
using testing_support::WaitFor;
using testing_support::Walker;
using testing_support::WallUnder;

// The Helmits are told apart by the first step of their rounds.
quor::Sprite* Helmit(uint32_t firstStep) {
  for (quor::Sprite* s : All("Helmit"))
    if (s->pathLength > 0 && s->path[0].length == firstStep) return s;
  return nullptr;
}
constexpr uint32_t kWestHelmit = 273;   // up and down the west side
constexpr uint32_t kNorthHelmit = 132;  // the corridors north of the hat
constexpr uint32_t kDoorHelmit = 45;    // a square below the exit door

// Out of the west Helmit's way for the time it takes to cross its column at height y.
bool WestHelmitAway(float y) {
  quor::Sprite* h = Helmit(kWestHelmit);
  if (!h) return true;
  const float gap = h->GetY() - y;  // below the hero when positive
  const bool leaving = (gap > 0) == (h->GetVelocityY() > 0);
  return std::fabs(gap) > (leaving ? 60.0f : 140.0f);
}

// The north Helmit walks the top corridor eastward, away from the corridors below it.
bool NorthHelmitInTopCorridor() {
  quor::Sprite* h = Helmit(kNorthHelmit);
  return !h || (h->GetY() < 40.0f && h->GetVelocityX() > 0.0f);
}
// It has left the top corridor, going south.
bool NorthHelmitComingDown() {
  quor::Sprite* h = Helmit(kNorthHelmit);
  return !h || (h->GetY() > 60.0f && h->GetVelocityY() > 0.0f);
}

// The Helmit below the door walks its top side eastward: it goes down its east side next,
// and comes back up its west side, where the way to the door runs, only after its south
// side.
bool DoorHelmitOnTopGoingEast() {
  quor::Sprite* h = Helmit(kDoorHelmit);
  return !h || (h->GetVelocityX() > 0.0f && h->GetY() < 175.0f);
}

// A spear's thrust stays short in its last picture and its first three.
bool SpearDrawnBack(const char* name) {
  quor::Sprite* spear = Find(name);
  return !spear || spear->GetFrame() == 6;
}

// No fireball in the Mellon Men's columns, and none about to be thrown: a Mellon Man throws
// as its action ends, and its last three pictures last 48 ticks or more.
bool FireBallsQuiet() {
  for (const char* ball : {"FireBall", "FireBall2", "FireBall3", "FireBall4"}) {
    quor::Sprite* s = Find(ball);
    if (s && s->GetX() >= 0.0f && s->GetY() > 150.0f && s->GetY() < 330.0f) return false;
  }
  for (const char* man : {"Mellon Man 1", "Mellon Man 2", "Mellon Man 3", "Mellon Man 4"}) {
    quor::Sprite* s = Find(man);
    if (s && s->GetFrame() > 7) return false;
  }
  return true;
}

// From the start down the passage and the corridor to the west side at the hat room's
// height, waiting for the north Helmit on the way.
void DownToTheWestSide(Walker& w) {
  w.Add("down to the passage", GoY(75));
  w.Add("east along it", GoX(175));
  w.Add("wait for the north Helmit to go east", WaitFor(NorthHelmitInTopCorridor));
  w.Add("down to the corridor", GoY(128));
  w.Add("west along it", GoX(12));
  w.Add("down the west side", GoY(190));
}

}  // namespace

// The way through the level: the hat, the first key and the meat beside it, the fire on
// the east side past the three spears, the side door burnt open for the dagger and the
// third key, the front door burnt open for the second, and out through the exit door.
void WalkLevel1(Walker& w) {
  DownToTheWestSide(w);
  w.Add("wait for the west Helmit", WaitFor([] { return WestHelmitAway(190); }));
  w.Add("east to the hat", GoX(140));

  w.Add("wait in the hat room", WaitFor([] { return WestHelmitAway(190); }));
  w.Add("back west", GoX(13));
  w.Add("down the west side", GoY(320));
  w.Add("wait below the key room", WaitFor([] { return WestHelmitAway(320); }));
  w.Add("east below the key room", GoX(145));
  w.Add("up beside it", GoY(235));
  w.Add("into the key room", GoX(100));
  w.Add("down to the key", GoY(275));
  w.Add("west to the meat", GoX(80));
  w.Add("back up", GoY(235));
  w.Add("out of the key room", GoX(145));
  w.Add("down beside it", GoY(320));
  w.Add("wait to cross the west side", WaitFor([] { return WestHelmitAway(320); }));
  w.Add("west", GoX(13));

  w.Add("up the west side", GoY(127));
  w.Add("wait for the north Helmit to go east", WaitFor(NorthHelmitInTopCorridor));
  w.Add("east along the corridor", GoX(175));
  w.Add("up to the passage", GoY(75));
  w.Add("wait for the north Helmit to come down", WaitFor(NorthHelmitComingDown));
  w.Add("up to the top corridor", GoY(20));
  w.Add("east along it", GoX(472));
  w.Add("down the east side", GoY(176));
  w.Add("wait for the first spear", WaitFor([] { return SpearDrawnBack("Spear1"); }));
  w.Add("past it", GoY(222));
  w.Add("wait for the second spear", WaitFor([] { return SpearDrawnBack("Spear2"); }));
  w.Add("past it", GoY(270));
  w.Add("wait for the third spear", WaitFor([] { return SpearDrawnBack("Spear3"); }));
  w.Add("past it", GoY(316));
  w.Add("over to the fire", GoX(480));
  w.Add("down to it", GoY(340));
  w.Add("back to the spears' side", GoX(472));
  w.Add("up to the third spear", GoY(316));
  w.Add("wait for the third spear", WaitFor([] { return SpearDrawnBack("Spear3"); }));
  w.Add("past it", GoY(270));
  w.Add("wait for the second spear", WaitFor([] { return SpearDrawnBack("Spear2"); }));
  w.Add("past it", GoY(222));
  w.Add("wait for the first spear", WaitFor([] { return SpearDrawnBack("Spear1"); }));
  w.Add("past it", GoY(176));
  w.Add("up the east side", GoY(70));

  w.Add("wait for the north Helmit to come down", WaitFor(NorthHelmitComingDown));
  w.Add("up to the top corridor", GoY(20));
  w.Add("west along it, facing the side door", GoX(182));
  w.Add("fire", Tap(platform::KeyD));
  w.Add("wait for the door to burn", WaitFor([] { return !Find("DoorSide"); }));
  w.Add("in for the key and the dagger", GoX(118));
  w.Add("out again", GoX(175));
  w.Add("down to the passage", GoY(75));
  w.Add("wait for the north Helmit to go east", WaitFor(NorthHelmitInTopCorridor));
  w.Add("down to the corridor", GoY(127));
  w.Add("west along it", GoX(13));
  w.Add("down the west side", GoY(320));

  w.Add("wait to cross the west side", WaitFor([] { return WestHelmitAway(320); }));
  w.Add("east above the front door", GoX(130));
  w.Add("face it", Tap(platform::KeyDown));
  w.Add("fire", Tap(platform::KeyD));
  w.Add("wait for the door to burn", WaitFor([] { return All("DoorFront").size() == 6; }));
  w.Add("down to the key", GoY(360));

  w.Add("back up", GoY(320));
  w.Add("into the corridor", GoX(145));
  w.Add("up it", GoY(240));
  w.Add("wait for the fireballs", WaitFor(FireBallsQuiet));
  w.Add("between the Mellon Men's columns", GoX(200));
  w.Add("wait for the fireballs and the Helmit",
        WaitFor([] { return FireBallsQuiet() && DoorHelmitOnTopGoingEast(); }));
  w.Add("east past the Mellon Men", GoX(250));
  w.Add("north", GoY(140));
  w.Add("under the door", GoX(268));
  w.Add("through it", GoY(100));
}

namespace {

TEST(Level1Walkthrough, TheHatThreeKeysAndTheDoorLeadToTheNextStage) {
  testing_support::GameRun run;
  const platform::Image picture = standins::MapPicture(kLevel1Content.maps[0]);
  Walker w("Level1");
  WalkLevel1(w);
  run.EnterAt(0, "Level1");
  std::string left;  // the scene the level was left for
  int keysCarried = 0, wallPixels = 0, leftAt = 0;
  bool hatCarried = false;
  run.host.EveryFrame([&](HeadlessHost& h) {
    if (h.Frame() < 2) return;
    if (SceneName() != "Level1") {
      if (left.empty()) {
        left = SceneName();
        leftAt = h.Frame();
      }
      h.PostQuit(0);
      return;
    }
    w.Frame(h);
    keysCarried = KeyCount;
    const quor::Sprite* hat = Find("Hat");
    hatCarried = hat && hat->GetY() > 450.0f;
    if (const quor::Sprite* hero = Find("Player")) wallPixels += WallUnder(*hero, picture);
  });
  run.Run(6000);
  EXPECT_EQ(left, "StageIntro") << w.Log() << "stopped at: " << w.Current();
  EXPECT_EQ(Stage, 2);
  EXPECT_TRUE(hatCarried);
  EXPECT_EQ(keysCarried, 3);
  EXPECT_EQ(wallPixels, 0) << "the hero stood on walls the player sees";
  EXPECT_LT(leftAt, 4500) << "a wait took far longer than the guards' rounds";
  EXPECT_TRUE(run.host.messageBoxes.empty());
}

// Walks from the start into the walls around it, one way after the other: each time the
// hero stops with the wall right beside it in the picture, and never on it.
TEST(Level1Walkthrough, TheHeroStopsAtTheWallsThePictureShows) {
  testing_support::GameRun run;
  const platform::Image picture = standins::MapPicture(kLevel1Content.maps[0]);
  run.EnterAt(0, "Level1");
  struct Push {
    uint8_t key;
    int dx, dy;
  };
  const Push pushes[] = {{platform::KeyLeft, -1, 0},
                         {platform::KeyUp, 0, -1},
                         {platform::KeyRight, 1, 0},
                         {platform::KeyDown, 0, 1}};
  constexpr int kHold = 60;  // enough to cross the start room either way
  int frame = 5;
  for (const Push& push : pushes) {
    run.host.AtFrame(frame, [key = push.key](HeadlessHost& h) { h.input.PressKey(key); });
    run.host.AtFrame(frame + kHold - 5, [push, &picture](HeadlessHost&) {
      const quor::Sprite* hero = Find("Player");
      ASSERT_NE(hero, nullptr);
      EXPECT_EQ(WallUnder(*hero, picture), 0) << int(push.key);
      // A few pixels further on, the body would stand on the wall.
      quor::Sprite probe(*hero);
      probe.SetX(hero->GetX() + 6.0f * push.dx);
      probe.SetY(hero->GetY() + 6.0f * push.dy);
      EXPECT_GT(WallUnder(probe, picture), 0) << int(push.key);
      // Within three pixels ahead of the body, the picture shows wall.
      const quor::Rect r = hero->GetCollisionRect();
      const int left = int(hero->GetX()) + r.left, right = int(hero->GetX()) + r.right;
      const int top = int(hero->GetY()) + r.top, bottom = int(hero->GetY()) + r.bottom;
      int wall = 0;
      for (int step = 1; step <= 3; ++step) {
        for (int along = 0; along <= (push.dx ? bottom - top : right - left); ++along) {
          const int x = push.dx ? (push.dx < 0 ? left - step : right + step) : left + along;
          const int y = push.dy ? (push.dy < 0 ? top - step : bottom + step) : top + along;
          const uint32_t c = picture.At(x, y);
          wall += (c == standins::kWallFace || c == standins::kWallEdge) ? 1 : 0;
        }
      }
      EXPECT_GT(wall, 0) << "no wall ahead after key " << int(push.key) << " at " << hero->GetX()
                         << ", " << hero->GetY();
    });
    run.host.AtFrame(frame + kHold, [key = push.key](HeadlessHost& h) { h.input.ReleaseKey(key); });
    frame += kHold + 5;
  }
  std::vector<std::pair<float, float>> stops;
  for (int f = 5 + kHold - 10; f < frame; f += kHold + 5)
    for (int g : {f, f + 5})
      run.host.AtFrame(g, [&stops](HeadlessHost&) {
        const quor::Sprite* hero = Find("Player");
        stops.push_back({hero->GetX(), hero->GetY()});
      });
  run.Run(frame);
  ASSERT_EQ(stops.size(), 8u);
  for (size_t i = 0; i < 8; i += 2) EXPECT_EQ(stops[i], stops[i + 1]) << "still moving: " << i / 2;
  // Left and up end in the start corner; right stops at the pillar east of it; down at the
  // bar that closes the first room.
  EXPECT_LT(stops[0].first, 12.0f);
  EXPECT_LT(stops[2].second, 12.0f);
  EXPECT_LT(stops[4].first + 17.0f, 52.0f);
  EXPECT_LT(stops[6].second + 23.0f, 115.0f);
  EXPECT_GT(stops[6].second, 80.0f);
  EXPECT_TRUE(run.host.messageBoxes.empty());
}

// The fire blast and the trap in the level, with the items carried: the shot leaves the
// hero upward (no arrow pressed yet), flies, hits the wall above and is parked; a second
// press while it flies is refused. The trap lies at the hero while F is held.
TEST(Level1InPlay, TheShotFliesToTheWallAndIsParkedAndTheTrapIsTakenBackWithF) {
  testing_support::GameRun run;
  run.EnterAt(0, "Level1");
  run.host.AtFrame(3, [](HeadlessHost&) {
    Find("FireIcon")->SetY(459);
    Find("Dagger")->SetY(459);
  });
  std::vector<std::pair<float, float>> blast;
  run.host.EveryFrame([&blast](HeadlessHost& h) {
    if (h.Frame() >= 5 && h.Frame() <= 30)
      blast.push_back({Find("FireBlast")->GetX(), Find("FireBlast")->GetY()});
  });
  testing_support::TapKey(run.host, platform::KeyD, 5);
  testing_support::TapKey(run.host, platform::KeyD, 8);
  float trapX = 0, trapY = 0, trapBackX = 0, trapBackY = 0;
  run.host.AtFrame(40, [](HeadlessHost& h) { h.input.PressKey(platform::KeyF); });
  run.host.AtFrame(45, [&](HeadlessHost& h) {
    trapX = Find("Trap")->GetX();
    trapY = Find("Trap")->GetY();
    h.input.ReleaseKey(platform::KeyF);
  });
  run.host.AtFrame(47, [&](HeadlessHost&) {
    trapBackX = Find("Trap")->GetX();
    trapBackY = Find("Trap")->GetY();
  });
  run.Run(48);
  ASSERT_EQ(blast.size(), 26u);
  // Placed at the hero's corner plus (1, 9) in the frame D went down, then 3 pixels a
  // frame upward; the second press changed nothing.
  EXPECT_EQ(blast[1], std::make_pair(22.0f, 34.0f));
  for (size_t i = 2; i < 6; ++i) {
    EXPECT_EQ(blast[i].first, 22.0f) << i;
    EXPECT_EQ(blast[i].second, blast[i - 1].second - 3.0f) << i;
  }
  EXPECT_EQ(blast.back(), std::make_pair(-50.0f, -50.0f));
  EXPECT_EQ(trapX, 22.0f);
  EXPECT_EQ(trapY, 34.0f);
  EXPECT_EQ(trapBackX, -100.0f);
  EXPECT_EQ(trapBackY, 34.0f);
  EXPECT_EQ(HeartCount, 2);
}

// Walked into the west Helmit with two hearts, the hero loses the level; Space on the
// game-over screen starts "Level1" again with two hearts and no keys.
TEST(Level1InPlay, LosingTheLastHeartLeadsToLoseAndSpaceThereRestartsTheLevel) {
  testing_support::GameRun run;
  Walker w("Level1");
  DownToTheWestSide(w);
  w.Add("wait for the west Helmit to come level", WaitFor([] {
          quor::Sprite* h = Helmit(kWestHelmit);
          return h && std::fabs(h->GetY() - 190.0f) < 6.0f;
        }));
  w.Add("into it", GoX(60));
  run.EnterAt(0, "Level1");
  std::vector<std::string> scenes;
  int lostAt = 0, heartsOnRestart = 0, keysOnRestart = -1;
  run.host.EveryFrame([&](HeadlessHost& h) {
    if (h.Frame() < 2) return;
    if (scenes.empty() || scenes.back() != SceneName()) {
      scenes.push_back(SceneName());
      if (SceneName() == "Lose") lostAt = h.Frame();
      if (scenes.size() == 3) {
        heartsOnRestart = HeartCount;
        keysOnRestart = KeyCount;
        h.PostQuit(0);
      }
    }
    if (SceneName() == "Level1") w.Frame(h);
    if (lostAt && h.Frame() == lostAt + 30) h.input.PressKey(platform::KeySpace);
    if (lostAt && h.Frame() == lostAt + 31) h.input.ReleaseKey(platform::KeySpace);
  });
  run.Run(1500);
  EXPECT_EQ(scenes, (std::vector<std::string>{"Level1", "Lose", "Level1"})) << w.Log();
  EXPECT_EQ(heartsOnRestart, 2);
  EXPECT_EQ(keysOnRestart, 0);
  EXPECT_EQ(Stage, 1);
}

// Left Control and left Shift held with a digit: from each level to the next in the order
// of the stages, and back to the first, each entered with no keys carried.
TEST(Level1InPlay, EachLevelSelectCombinationEntersItsLevelWithNoKeys) {
  testing_support::GameRun run;
  run.EnterAt(0, "Level1");
  const struct {
    uint8_t digit;
    const char* scene;
  } choices[] = {{platform::Key2, "Level2"},     {platform::Key3, "MidBoss"},
                 {platform::Key4, "Level3"},     {platform::Key5, "Level4"},
                 {platform::Key6, "FinalLevel"}, {platform::Key1, "Level1"}};
  std::vector<std::string> entered;
  std::vector<int> keys;
  int frame = 5;
  for (const auto& choice : choices) {
    const uint8_t digit = choice.digit;
    run.host.AtFrame(frame, [](HeadlessHost& h) {
      KeyCount = 3;
      h.input.PressKey(platform::KeyLeftControl);
      h.input.PressKey(platform::KeyLeftShift);
    });
    run.host.AtFrame(frame + 1, [digit](HeadlessHost& h) { h.input.PressKey(digit); });
    run.host.AtFrame(frame + 2, [digit](HeadlessHost& h) {
      h.input.ReleaseKey(digit);
      h.input.ReleaseKey(platform::KeyLeftShift);
      h.input.ReleaseKey(platform::KeyLeftControl);
    });
    run.host.AtFrame(frame + 5, [&](HeadlessHost&) {
      entered.push_back(SceneName());
      keys.push_back(KeyCount);
    });
    frame += 8;
  }
  run.Run(frame);
  EXPECT_EQ(entered, (std::vector<std::string>{"Level2", "MidBoss", "Level3", "Level4",
                                               "FinalLevel", "Level1"}));
  EXPECT_EQ(keys, std::vector<int>(6, 0));
  EXPECT_EQ(Stage, 1);
  EXPECT_TRUE(run.host.messageBoxes.empty());
}

}  // namespace
}  // namespace game
