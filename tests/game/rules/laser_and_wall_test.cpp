// The laser traps and the breakable wall, played in the real "Level2": the shooters' rhythm,
// the beams' flight and rest, a full layer, and the wall under the water shout.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/sound.h"
#include "platform/input_keys.h"
#include "tests/support/game_run.h"
#include "tests/support/walker.h"

namespace game {
namespace {

constexpr int kSpriteLimit = 513;
constexpr int kAcrossLayer = 3;

using testing_support::All;
using testing_support::SceneName;
using testing_support::TapKey;

// The real game, sent straight to one level: its first frame is frame 1.
class LevelRun : public testing_support::GameRun {
 public:
  explicit LevelRun(const char* level) { EnterAt(0, level); }
  void ExpectNoBoxes() { EXPECT_TRUE(host.messageBoxes.empty()) << host.messageBoxes[0].text; }
};

// The frames at which the number of sprites named name grew, and by how much.
class GrowthLog {
 public:
  explicit GrowthLog(const char* name) : name_(name) {}
  void Look(int frame) {
    if (SceneName() != "Level2") return;
    int count = static_cast<int>(All(name_.c_str()).size());
    if (last_ >= 0 && count > last_) grew[frame] = count - last_;
    last_ = count;
  }
  std::map<int, int> grew;

 private:
  std::string name_;
  int last_ = -1;
};

TEST(LaserTraps, EachShooterFiresOnceEvery324Ticks) {
  LevelRun run("Level2");
  GrowthLog up("Laser Beam Up"), across("Laser Beam Across");
  run.host.EveryFrame([&](platform::HeadlessHost& h) {
    up.Look(h.Frame());
    across.Look(h.Frame());
  });
  run.Run(1100);
  run.ExpectNoBoxes();
  // Both kinds of beam come from four shooters in step: the upward and downward ones
  // start their cycle at its first picture, the sideways ones at its last.
  ASSERT_EQ(up.grew.size(), 3u);
  ASSERT_EQ(across.grew.size(), 4u);
  int previous = -1;
  for (auto [frame, added] : up.grew) {
    EXPECT_EQ(added, 4) << "frame " << frame;
    if (previous >= 0) {
      EXPECT_EQ(frame - previous, 324);
    }
    previous = frame;
  }
  previous = -1;
  for (auto [frame, added] : across.grew) {
    EXPECT_EQ(added, 4) << "frame " << frame;
    if (previous >= 0) {
      EXPECT_EQ(frame - previous, 324);
    }
    previous = frame;
  }
  EXPECT_EQ(up.grew.begin()->first - across.grew.begin()->first, 3 * 81)
      << "three pictures of 81 ticks apart";
}

// A beam's path: its position at the start of each frame while it flies.
struct Flight {
  std::vector<float> x, y;
  bool putAway = false;
  float restX = 0, restY = 0;
};

// Follows the first shown beam named name that the test picks out.
template <class Pick>
void FollowBeam(LevelRun& run, const char* name, Pick pick, Flight& flight) {
  auto beam = std::make_shared<quor::Sprite*>(nullptr);
  run.host.EveryFrame([&flight, beam, name, pick](platform::HeadlessHost&) {
    if (SceneName() != "Level2" || flight.putAway) return;
    if (!*beam) {
      for (quor::Sprite* s : All(name))
        if (!s->IsInactive() && pick(*s)) *beam = s;
      if (!*beam) return;
    }
    quor::Sprite& b = **beam;
    if (b.IsInactive()) {
      flight.putAway = true;
      flight.restX = b.GetX();
      flight.restY = b.GetY();
      return;
    }
    flight.x.push_back(b.GetX());
    flight.y.push_back(b.GetY());
  });
}

TEST(LaserTraps, ABeamTravelsFivePixelsAFrameAndRestsHiddenWhereItHitTheWall) {
  LevelRun run("Level2");
  // The lower left "Laser Ball Up" stands at (55, 412) and fires up from 3 pixels left.
  Flight flight;
  FollowBeam(
      run, "Laser Beam Up",
      [](const quor::Sprite& s) { return s.GetX() == 52.0f && s.GetDirectionY() < 0.0f; }, flight);
  run.Run(500);
  run.ExpectNoBoxes();
  ASSERT_GT(flight.y.size(), 10u) << "the beam flew";
  EXPECT_LE(flight.y.front(), 403.0f) << "it left 9 pixels above the shooter";
  EXPECT_GT(flight.y.front(), 390.0f);
  // Every move but the last, which the wall cuts short.
  for (size_t i = 1; i + 1 < flight.y.size(); ++i) {
    EXPECT_EQ(flight.x[i], 52.0f);
    EXPECT_EQ(flight.y[i - 1] - flight.y[i], 5.0f) << "frame " << i << " of its flight";
  }
  EXPECT_LT(flight.y.back(), 100.0f) << "it crossed the room to the wall at the top";
  // Put away at (-100, -100) by its behaviour, it still makes the rest of that frame's
  // move, off screen, before it is hidden from the next frame on.
  EXPECT_TRUE(flight.putAway);
  EXPECT_EQ(flight.restX, -100.0f);
  EXPECT_EQ(flight.restY, -105.0f);
}

TEST(LaserTraps, SidewaysBeamsCrossTheRoomAtTheSameSpeed) {
  LevelRun run("Level2");
  // The upper "Laser Beam Left" stands at (36, 55) and fires toward +x from 3 pixels up.
  Flight flight;
  FollowBeam(
      run, "Laser Beam Across",
      [](const quor::Sprite& s) { return s.GetY() == 52.0f && s.GetDirectionX() > 0.0f; }, flight);
  run.Run(300);
  run.ExpectNoBoxes();
  ASSERT_GT(flight.x.size(), 10u);
  EXPECT_GE(flight.x.front(), 45.0f) << "it left 9 pixels right of the shooter";
  for (size_t i = 1; i + 1 < flight.x.size(); ++i) {
    EXPECT_EQ(flight.y[i], 52.0f);
    EXPECT_EQ(flight.x[i] - flight.x[i - 1], 5.0f) << "frame " << i << " of its flight";
  }
  EXPECT_GT(flight.x.back(), 500.0f) << "it crossed the room";
  EXPECT_TRUE(flight.putAway);
}

TEST(LaserTraps, SpentBeamsStayInTheirLayerUntilTheSceneIsLeft) {
  LevelRun run("Level2");
  int shown = -1, all = -1;
  run.host.AtFrame(1000, [&](platform::HeadlessHost&) {
    auto beams = All("Laser Beam Across");
    all = static_cast<int>(beams.size());
    shown = 0;
    for (quor::Sprite* beam : beams) shown += beam->IsInactive() ? 0 : 1;
  });
  run.Run(1001);
  run.ExpectNoBoxes();
  // The template and four copies from each of the three volleys so far.
  EXPECT_EQ(all, 1 + 3 * 4);
  EXPECT_LE(shown, 4) << "only the last volley may still fly";
}

// The shown beams named name.
int Flying(const char* name) {
  int n = 0;
  for (quor::Sprite* beam : All(name)) n += beam->IsInactive() ? 0 : 1;
  return n;
}

TEST(LaserTraps, AShooterWhoseLayerIsFullSkipsItsShotsAndTheLevelGoesOn) {
  LevelRun run("Level2");
  int filled = 0;
  run.host.AtFrame(2, [&](platform::HeadlessHost&) {
    // Hidden copies, as a long stay leaves them, up to the layer's limit.
    while (quor::Sprite* copy = All("Laser Beam Across")[0]->Spawn()) {
      copy->SetInactive(1);
      copy->SetX(-100.0f);
      ++filled;
    }
  });
  GrowthLog up("Laser Beam Up");
  int mostFlying = 0, layerAtEnd = 0;
  run.host.EveryFrame([&](platform::HeadlessHost& h) {
    if (SceneName() != "Level2") return;
    up.Look(h.Frame());
    mostFlying = std::max(mostFlying, Flying("Laser Beam Across"));
    layerAtEnd = quor::CurrentGameNode->layers[kAcrossLayer].Count();
  });
  run.Run(800);
  run.ExpectNoBoxes();
  EXPECT_GT(filled, 500);
  EXPECT_EQ(layerAtEnd, kSpriteLimit);
  // Three volleys of four came due: none found room, and none of the hidden copies was
  // shown or moved in its place.
  EXPECT_EQ(mostFlying, 0);
  EXPECT_EQ(up.grew.size(), 2u) << "the upward beams, in another layer, still fire";
}

// --- the wall ---

// Puts the water item on the status row, as the hero's taking it does.
void TakeWater(platform::HeadlessHost&) {
  quor::Sprite* water = quor::FindSpriteByName("WaterIcon");
  water->SetX(357.0f);
  water->SetY(459.0f);
}

bool BombPlaying() {
  quor::Sound* bomb = quor::FindSoundByName("Bomb");
  return bomb && bomb->IsPlaying();
}

TEST(Wall, EveryWallBurstsAtTheFirstShoutAndASecondShoutOnlyBangsAgain) {
  LevelRun run("Level2");
  quor::Sprite* second = nullptr;
  run.host.AtFrame(3, [&](platform::HeadlessHost& h) {
    TakeWater(h);
    // A second wall far from the first: the shout reaches it too.
    second = quor::FindSpriteByName("Wall")->Spawn();
    second->SetX(500.0f);
    second->SetY(100.0f);
  });
  int firstAction = -1, secondAction = -1;
  bool bangedFirst = false, bangedAgain = false, silentBetween = true;
  TapKey(run.host, platform::KeyS, 10);
  run.host.AtFrame(12, [&](platform::HeadlessHost&) {
    bangedFirst = BombPlaying();
    firstAction = All("Wall")[0]->GetAction();
    secondAction = second->GetAction();
    quor::FindSoundByName("Bomb")->Stop();
  });
  run.host.AtFrame(100, [&](platform::HeadlessHost&) { silentBetween = !BombPlaying(); });
  TapKey(run.host, platform::KeyS, 101);
  std::vector<int> actionsAfter;
  run.host.AtFrame(103, [&](platform::HeadlessHost&) {
    bangedAgain = BombPlaying();
    for (quor::Sprite* wall : All("Wall")) actionsAfter.push_back(wall->GetAction());
  });
  run.Run(104);
  run.ExpectNoBoxes();
  EXPECT_TRUE(bangedFirst);
  EXPECT_EQ(firstAction, 1);
  EXPECT_EQ(secondAction, 1);
  EXPECT_TRUE(silentBetween);
  EXPECT_TRUE(bangedAgain) << "the second shout plays the bang again";
  EXPECT_EQ(actionsAfter, (std::vector<int>{1, 1})) << "and leaves both walls burst";
}

TEST(Wall, StandsWhileTheWaterIsNotOnTheStatusRow) {
  LevelRun run("Level2");
  TapKey(run.host, platform::KeyS, 10);
  int action = -1;
  bool banged = true;
  run.host.AtFrame(30, [&](platform::HeadlessHost&) {
    action = quor::FindSpriteByName("Wall")->GetAction();
    banged = BombPlaying();
  });
  run.Run(31);
  run.ExpectNoBoxes();
  EXPECT_EQ(action, 0);
  EXPECT_FALSE(banged);
}

// The wall's collision rectangle lies above the bar its outline draws across the gap, so
// the shape test starts only once the hero's rectangle reaches it. From above the hero
// stops just short of the bar; from below its body sinks into the bar before it stops,
// and it gets no further either way.
TEST(Wall, WhileStandingItHoldsTheHeroFromAboveAndFromBelow) {
  constexpr float kBarTop = 353.0f + 13.0f;
  float fromBelow = 0, stillFromBelow = 0, fromAbove = 0;
  {
    LevelRun run("Level2");
    // Down out of the start room, west along the corridor to the gap, and up into it
    // before the corridor's first beams arrive.
    run.host.AtFrame(2, [](platform::HeadlessHost& h) { h.input.PressKey(platform::KeyDown); });
    run.host.AtFrame(32, [](platform::HeadlessHost& h) {
      h.input.ReleaseKey(platform::KeyDown);
      h.input.PressKey(platform::KeyLeft);
    });
    run.host.AtFrame(94, [](platform::HeadlessHost& h) {
      h.input.ReleaseKey(platform::KeyLeft);
      h.input.PressKey(platform::KeyUp);
    });
    run.host.AtFrame(120, [&](platform::HeadlessHost&) {
      fromBelow = quor::FindSpriteByName("Player")->GetY();
    });
    run.host.AtFrame(134, [&](platform::HeadlessHost&) {
      stillFromBelow = quor::FindSpriteByName("Player")->GetY();
    });
    run.Run(135);
    run.ExpectNoBoxes();
  }
  {
    LevelRun run("Level2");
    run.host.AtFrame(2, [](platform::HeadlessHost& h) {
      quor::Sprite* hero = quor::FindSpriteByName("Player");
      hero->SetX(317.0f);
      hero->SetY(300.0f);
      h.input.PressKey(platform::KeyDown);
    });
    run.host.AtFrame(
        60, [&](platform::HeadlessHost&) { fromAbove = quor::FindSpriteByName("Player")->GetY(); });
    run.Run(61);
    run.ExpectNoBoxes();
  }
  EXPECT_LT(fromBelow, kBarTop) << "the hero's head is past the bar's top edge";
  EXPECT_GT(fromBelow, kBarTop - 23.0f) << "but the hero is not through";
  EXPECT_EQ(stillFromBelow, fromBelow);
  EXPECT_LE(fromAbove + 23.0f, kBarTop) << "from above the hero stops at the bar";
  EXPECT_GT(fromAbove + 23.0f, kBarTop - 6.0f);
}

// --- the covers ---

TEST(Cover, TheCoverOfLevel2GoesOnceTheGlassIsOnTheStatusRow) {
  LevelRun run("Level2");
  size_t before = 0, after = 9;
  run.host.AtFrame(3, [&](platform::HeadlessHost&) {
    before = All("Cover").size();
    quor::Sprite* glass = quor::FindSpriteByName("Glass");
    glass->SetX(391.0f);
    glass->SetY(459.0f);
  });
  run.host.AtFrame(5, [&](platform::HeadlessHost&) { after = All("Cover").size(); });
  run.Run(6);
  run.ExpectNoBoxes();
  EXPECT_EQ(before, 1u);
  EXPECT_EQ(after, 0u);
}

TEST(Cover, TheCoverOfLevel3HasNoRuleAndStays) {
  LevelRun run("Level3");
  size_t after = 0;
  run.host.AtFrame(3, [](platform::HeadlessHost&) {
    quor::Sprite* glass = quor::FindSpriteByName("Glass");
    glass->SetInactive(0);
    glass->SetX(391.0f);
    glass->SetY(459.0f);
  });
  run.host.AtFrame(6, [&](platform::HeadlessHost&) { after = All("Cover").size(); });
  run.Run(7);
  run.ExpectNoBoxes();
  EXPECT_EQ(after, 1u);
}

}  // namespace
}  // namespace game
