// The two boss fights in the real game on the headless host, with the game's own scenes,
// machines and stand-in pictures: the bosses' cycles, their lives, their deaths, the final
// door, and a saved fight that goes on as if it had never stopped.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "game/rules/boss_machines.h"
#include "game/rules/game_variables.h"
#include "platform/input_keys.h"
#include "tests/e2e/level_routes.h"
#include "tests/support/game_run.h"
#include "tests/support/temp_dir.h"
#include "tests/support/walker.h"

namespace game {
namespace {

using testing_support::HoldKey;
using testing_support::SceneName;
using testing_support::TapKey;

// The first frame a fight spends in its scene, asked for in the frame before.
constexpr int kFirstFrame = 2;

// A run of the real game that enters `scene` straight after "Start" has begun, as the
// hidden level select does, and looks at each frame from its start.
class Fight {
 public:
  explicit Fight(const char* scene) { run.EnterAt(kFirstFrame - 1, scene); }
  // The action runs at the start of every frame spent in the fight's scene.
  void EachFrame(const char* scene, std::function<void(int frame)> action) {
    std::string name = scene;
    run.host.EveryFrame([name, action](platform::HeadlessHost& h) {
      if (SceneName() == name) action(h.Frame());
    });
  }
  // The hero's hearts kept full: these tests are about the bosses, not about surviving.
  void KeepHeroAlive(const char* scene) {
    EachFrame(scene, [](int) { HeartCount = 4; });
  }
  void Run(int frames) {
    run.Run(frames);
    ASSERT_TRUE(run.host.messageBoxes.empty()) << run.host.messageBoxes[0].text;
  }

  testing_support::GameRun run;
};

// The boss's states, one entry per visit, as the frames saw them.
struct StateLog {
  std::vector<uint32_t> visits;
  void See(const char* boss) {
    quor::Sprite* sprite = quor::FindSpriteByName(boss);
    if (!sprite || !sprite->stateMachine.IsEntered()) return;
    uint32_t state = sprite->stateMachine.GetCurrentState();
    if (visits.empty() || visits.back() != state) visits.push_back(state);
  }
};

// Puts the hero's shot just under the boss's body, flying up into it: a hit in every
// frame it is done.
void ShootUpAt(const char* boss, float dx, float dy) {
  quor::Sprite* target = quor::FindSpriteByName(boss);
  quor::Sprite* blast = quor::FindSpriteByName("FireBlast");
  if (!target || !blast) return;
  blast->SetX(target->GetX() + dx);
  blast->SetY(target->GetY() + dy);
  blast->ResetContacts();  // as the hero's firing leaves it
  blast->SetDirection(0.0f, -1.0f, 0);
}
// Just below the bottom of each boss's outline.
void ShootDemon() { ShootUpAt("Demon", 51.0f, 97.0f); }
void ShootTenma() { ShootUpAt("Tenma", 43.0f, 44.0f); }

// Adds the ids of the shown sprites of that name, each shot fired having its own.
void ShownIds(const char* name, std::set<uint32_t>& ids) {
  for (quor::NodeList& layer : quor::CurrentGameNode->layers)
    for (quor::Node* n = layer.GetHead(); !n->IsEnd(); n = n->GetNext()) {
      auto* sprite = static_cast<quor::Sprite*>(n);
      if (!sprite->IsInactive() && std::strcmp(sprite->GetName(), name) == 0)
        ids.insert(sprite->GetId());
    }
}

bool Shown(const char* name) {
  quor::Sprite* sprite = quor::FindSpriteByName(name);
  return sprite && !sprite->IsInactive();
}

TEST(BossFights, TheMidBossCyclesThroughItsStatesInOrder) {
  Fight fight("MidBoss");
  StateLog demon;
  fight.EachFrame("MidBoss", [&](int) { demon.See("Demon"); });
  fight.Run(2 + 2 * 220 + 20);
  EXPECT_EQ(demon.visits,
            (std::vector<uint32_t>{kDemonFire, kDemonZap, kDemonFireAgn, kDemonSpit, kDemonFire,
                                   kDemonZap, kDemonFireAgn, kDemonSpit, kDemonFire}));
  EXPECT_EQ(DemonLife, 12);
}

// What the boss's machine saw in a frame: the hero's shot among the frame's contacts,
// and the boss's life once the machine had run.
struct FightFrame {
  bool hit;
  int32_t life;
};

// Watches a boss from inside its frame: the boss's behaviour slot, unused by the bosses,
// runs right after its machine, on the same contacts.
class BossWatch {
 public:
  BossWatch(const char* boss, int32_t* life) : boss_(boss), life_(life) {}
  // Called at the start of each frame of the fight.
  void Attach() {
    quor::Sprite* sprite = quor::FindSpriteByName(boss_);
    if (sprite && !sprite->behaviour) {
      watching_ = this;
      sprite->behaviour = Record;
    }
  }
  std::vector<FightFrame> frames;

 private:
  static void Record(quor::Node* owner) {
    auto* sprite = static_cast<quor::Sprite*>(owner);
    watching_->frames.push_back({sprite->HasTouched("FireBlast"), *watching_->life_});
  }
  static BossWatch* watching_;
  const char* boss_;
  int32_t* life_;
};
BossWatch* BossWatch::watching_ = nullptr;

// Each frame whose contacts hold the hero's shot costs the boss one life and no other
// frame costs any, from its full life down to 0; then the dying boss loses no more.
void ExpectALifePerTickOfContact(const std::vector<FightFrame>& frames, int32_t full) {
  int32_t life = full;
  int hits = 0;
  for (size_t i = 0; i < frames.size(); ++i) {
    bool counts = life > 0 && frames[i].hit;
    hits += counts;
    life -= counts ? 1 : 0;
    ASSERT_EQ(frames[i].life, life) << "frame " << i << " of the fight";
  }
  EXPECT_EQ(hits, full);
}

// At 0 the boss plays its death, goes, and leaves the water icon to be taken.
TEST(BossFights, TheMidBossLosesALifePerTickOfBlastContactAndDiesAtZero) {
  Fight fight("MidBoss");
  BossWatch watch("Demon", &DemonLife);
  bool waterHiddenWhileAlive = true, waterShownOnceGone = false;
  int gone = -1;
  fight.EachFrame("MidBoss", [&](int frame) {
    watch.Attach();
    bool alive = quor::FindSpriteByName("Demon") != nullptr;
    if (alive && Shown("WaterIcon")) waterHiddenWhileAlive = false;
    if (!alive && gone < 0) gone = frame;
    if (!alive) waterShownOnceGone = Shown("WaterIcon");
    if (frame >= 100) ShootDemon();
  });
  fight.Run(450);
  ExpectALifePerTickOfContact(watch.frames, 12);
  EXPECT_GT(gone, 100 + 12);
  EXPECT_TRUE(waterHiddenWhileAlive);
  EXPECT_TRUE(waterShownOnceGone);
}

TEST(BossFights, TheFinalBossCyclesThroughItsStatesWithOneSingleShotAVisitAtMost) {
  Fight fight("FinalLevel");
  StateLog tenma, demon;
  std::set<uint32_t> lasers, blobs;
  fight.EachFrame("FinalLevel", [&](int) {
    tenma.See("Tenma");
    demon.See("Demon");
    ShownIds("Tlaser", lasers);
    ShownIds("Tblob", blobs);
  });
  fight.Run(2 + 95 + 2 * 298 + 10);
  EXPECT_EQ(tenma.visits,
            (std::vector<uint32_t>{kTenmaStart, kTenmaLaser, kTenmaBlob, kTenmaBall, kTenmaLaser,
                                   kTenmaBlob, kTenmaBall, kTenmaLaser}));
  EXPECT_GE(demon.visits.size(), 8u) << "the first boss fights beside it";
  // One laser in each whole visit. The two bosses share the flag of the single shot, and
  // the first boss's spit falls inside both blob visits here, so neither blob is cast.
  EXPECT_EQ(lasers.size(), 2u);
  EXPECT_EQ(blobs.size(), 0u);
  EXPECT_EQ(TenmaLife, 19);
}

TEST(BossFights, TheFinalBossDiesInItsCloudAndGoes) {
  Fight fight("FinalLevel");
  StateLog tenma;
  BossWatch watch("Tenma", &TenmaLife);
  fight.EachFrame("FinalLevel", [&](int frame) {
    tenma.See("Tenma");
    watch.Attach();
    if (frame >= 150) ShootTenma();
  });
  fight.Run(450);
  ExpectALifePerTickOfContact(watch.frames, 19);
  EXPECT_EQ(tenma.visits.back(), kTenmaDead);
  EXPECT_EQ(quor::FindSpriteByName("Tenma"), nullptr);
}

}  // namespace

// The mid-boss scene: the hat and the fire icon, up into the arena under the boss's walk,
// shots up at it every fourth frame until it dies, the water icon its death leaves, the
// shout that bursts the wall, the three keys behind it and up into the open door.
std::vector<testing_support::TimedHold> MidBossRoute() {
  std::vector<testing_support::TimedHold> route = {
      {platform::KeyDown, 8, 38},      // out of the corner, under its pillar
      {platform::KeyRight, 38, 315},   // along the bottom to the right-hand corner
      {platform::KeyUp, 315, 335},     // the hat
      {platform::KeyRight, 335, 345},  // the fire icon
      {platform::KeyDown, 345, 365},  {platform::KeyLeft, 365, 535},
      {platform::KeyUp, 535, 675},  // up into the arena, under the boss's walk
  };
  for (int frame = 675; frame < 1498; frame += 4)
    route.push_back({platform::KeyD, frame, frame + 1});
  std::vector<testing_support::TimedHold> rest = {
      {platform::KeyRight, 1498, 1526},
      {platform::KeyUp, 1526, 1598},  // the water icon, where the boss walked
      {platform::KeyS, 1608, 1609},   // the shout bursts the wall
      {platform::KeyDown, 1618, 1681},
      {platform::KeyLeft, 1681, 1821},
      {platform::KeyUp, 1821, 1898},  // through the burst wall to the keys
      {platform::KeyLeft, 1898, 1913},
      {platform::KeyRight, 1913, 1924},
      {platform::KeyDown, 1924, 1988},
      {platform::KeyRight, 1988, 2258},
      {platform::KeyUp, 2258, 2358},  // up into the open door
  };
  route.insert(route.end(), rest.begin(), rest.end());
  return route;
}

// The final level: the hat and the boots from the room of items, across the arena past
// both bosses to the three keys on their shelf, back out and up into the open door.
std::vector<testing_support::TimedHold> FinalLevelRoute() {
  return {
      {platform::KeyDown, 8, 38},  // out of the corner, under its pillar
      {platform::KeyRight, 38, 68},
      {platform::KeyUp, 68, 198},
      {platform::KeyRight, 198, 204},
      {platform::KeyUp, 204, 278},     // into the room of items: the hat
      {platform::KeyRight, 278, 288},  // the boots
      {platform::KeyDown, 288, 308},
      {platform::KeyLeft, 308, 312},
      {platform::KeyDown, 312, 383},
      {platform::KeyRight, 383, 448},  // through the gap into the arena
      {platform::KeyUp, 448, 493},
      {platform::KeyRight, 493, 618},  // the keys on their shelf
      {platform::KeyDown, 618, 628},
      {platform::KeyUp, 628, 643},
      {platform::KeyLeft, 648, 714},
      {platform::KeyDown, 714, 759},
      {platform::KeyLeft, 759, 824},  // back out of the arena
      {platform::KeyUp, 824, 846},
      {platform::KeyLeft, 846, 863},  // along the passage below the door
      {platform::KeyUp, 863, 898},    // up into it
  };
}

namespace {

// The mid-boss scene played through with the keys, arriving as the third stage: the hero
// takes the hat and the fire icon, climbs into the arena under the boss's walk and fires
// up at it until it dies, takes the water icon its death leaves, bursts the wall with the
// shout, takes the three keys behind it and walks out through the door to the next stage.
TEST(BossFights, TheMidBossScenePlayedThroughWithTheKeys) {
  Fight fight("MidBoss");
  fight.run.host.AtFrame(1, [](platform::HeadlessHost&) { Stage = 3; });
  fight.KeepHeroAlive("MidBoss");
  for (const testing_support::TimedHold& h : MidBossRoute())
    HoldKey(fight.run.host, h.key, kFirstFrame + h.from, kFirstFrame + h.to);
  BossWatch watch("Demon", &DemonLife);
  StateLog demon;
  bool itemsTaken = false, waterTaken = false, wallBurst = false;
  int keys = 0;
  std::vector<std::string> scenes;
  fight.run.host.EveryFrame([&](platform::HeadlessHost&) {
    if (scenes.empty() || scenes.back() != SceneName()) scenes.push_back(SceneName());
  });
  fight.EachFrame("MidBoss", [&](int) {
    watch.Attach();
    demon.See("Demon");
    itemsTaken = quor::FindSpriteByName("FireIcon")->GetY() > 450.0f &&
                 quor::FindSpriteByName("Hat")->GetY() > 450.0f;
    waterTaken = quor::FindSpriteByName("WaterIcon")->GetY() > 450.0f;
    wallBurst = quor::FindSpriteByName("Wall")->GetAction() == 1;
    keys = KeyCount;
  });
  fight.Run(3300);
  EXPECT_TRUE(itemsTaken);
  ExpectALifePerTickOfContact(watch.frames, 12);
  ASSERT_GE(demon.visits.size(), 2u);
  EXPECT_EQ(demon.visits.back(), kDemonDead);
  for (size_t i = 0; i + 1 < demon.visits.size(); ++i) {
    const uint32_t next[] = {0, kDemonZap, kDemonSpit, kDemonFire, kDemonFireAgn};
    if (demon.visits[i + 1] != kDemonDead) {
      EXPECT_EQ(demon.visits[i + 1], next[demon.visits[i]]);
    }
  }
  EXPECT_TRUE(waterTaken) << "the water icon was shown for the taking";
  EXPECT_TRUE(wallBurst);
  EXPECT_EQ(keys, 3);
  EXPECT_EQ(scenes, (std::vector<std::string>{"Start", "MidBoss", "StageIntro", "Level3"}));
  EXPECT_EQ(Stage, 4);
}

// The final level played through with the keys, arriving as the sixth stage: the hero
// takes the hat and the boots from the room of items, crosses the arena past both bosses
// to the three keys, and walks back up into the open door; the fall of "FinalDoor" ends
// in "Win", where Space starts the game again.
TEST(BossFights, TheFinalLevelPlayedThroughItsDoorToWin) {
  Fight fight("FinalLevel");
  fight.run.host.AtFrame(1, [](platform::HeadlessHost&) { Stage = 6; });
  fight.KeepHeroAlive("FinalLevel");
  for (const testing_support::TimedHold& h : FinalLevelRoute())
    HoldKey(fight.run.host, h.key, kFirstFrame + h.from, kFirstFrame + h.to);
  TapKey(fight.run.host, platform::KeySpace, 1300);
  std::vector<std::string> scenes;
  bool hatAndBoots = false;
  int keys = 0, heartsOnTheWay = 0;
  fight.run.host.EveryFrame([&](platform::HeadlessHost&) {
    if (scenes.empty() || scenes.back() != SceneName()) {
      if (SceneName() == "FinalDoor") heartsOnTheWay = HeartCount;
      scenes.push_back(SceneName());
    }
  });
  fight.EachFrame("FinalLevel", [&](int) {
    hatAndBoots = quor::FindSpriteByName("Hat")->GetY() > 450.0f &&
                  quor::FindSpriteByName("Boot")->GetY() > 450.0f;
    keys = KeyCount;
  });
  fight.Run(1310);
  EXPECT_TRUE(hatAndBoots);
  EXPECT_EQ(keys, 3);
  EXPECT_EQ(heartsOnTheWay, 2) << "the door gives back the start's hearts";
  EXPECT_EQ(scenes, (std::vector<std::string>{"Start", "FinalLevel", "FinalDoor", "Win", "Start"}));
  EXPECT_EQ(KeyCount, 0);
  EXPECT_EQ(Stage, 6) << "the last door leaves the stage as it was";
  EXPECT_EQ(DemonLife, 12);
  EXPECT_EQ(TenmaLife, 19);
}

// A game saved mid-fight and loaded again shows, frame for frame, what the fight showed
// from the moment of the save on.
TEST(BossFights, AFightSavedAndLoadedGoesOnFrameForFrame) {
  testing_support::TempDir dir;
  const std::string saved = dir.File("fight.sav");
  constexpr int kSave = 160, kLoad = 200, kCompared = 150;
  std::vector<platform::Image> uninterrupted;
  {
    Fight fight("FinalLevel");
    fight.run.host.video.keepEveryFrame = true;
    fight.run.host.AtFrame(kSave, [&](platform::HeadlessHost&) {
      quor::CurrentGameDirector->RequestSave(saved.c_str());
    });
    fight.EachFrame("FinalLevel", [&](int frame) {
      if (frame >= 120 && frame < 260) ShootDemon();
    });
    fight.Run(kSave + kCompared + 1);
    uninterrupted = fight.run.host.video.frames;
  }
  Fight fight("FinalLevel");
  fight.run.host.video.keepEveryFrame = true;
  fight.run.host.AtFrame(kLoad, [&](platform::HeadlessHost&) {
    quor::CurrentGameDirector->RequestLoad(saved.c_str());
  });
  fight.EachFrame("FinalLevel", [&](int frame) {
    int asIfUninterrupted = frame >= kLoad ? frame - kLoad + kSave : frame;
    if (asIfUninterrupted >= 120 && asIfUninterrupted < 260) ShootDemon();
  });
  fight.Run(kLoad + kCompared + 1);
  const auto& frames = fight.run.host.video.frames;
  ASSERT_GE(frames.size(), static_cast<size_t>(kLoad + kCompared));
  ASSERT_GE(uninterrupted.size(), static_cast<size_t>(kSave + kCompared));
  int differing = 0;
  for (int i = 0; i < kCompared; ++i) {
    const platform::Image& a = uninterrupted[kSave + i];
    const platform::Image& b = frames[kLoad + i];
    if (a.width != b.width || a.height != b.height || a.colors != b.colors) {
      if (differing++ == 0) ADD_FAILURE() << "frame " << i << " after the load differs";
    }
  }
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace game
