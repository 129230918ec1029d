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
#include "tests/support/game_run.h"
#include "tests/support/temp_dir.h"

namespace game {
namespace {

std::string SceneName() { return quor::CurrentGameNode ? quor::CurrentGameNode->GetName() : ""; }

// A run of the real game that enters `scene` straight after "Start" has begun, as the
// hidden level select does, and looks at each frame from its start.
class Fight {
 public:
  explicit Fight(const char* scene) {
    run.host.AtFrame(
        1, [scene](platform::HeadlessHost&) { quor::CurrentGameDirector->GoToGameNode(scene); });
  }
  // The action runs at the start of every frame spent in the fight's scene.
  void EachFrame(const char* scene, std::function<void(int frame)> action) {
    std::string name = scene;
    run.host.EveryFrame([name, action](platform::HeadlessHost& h) {
      if (SceneName() == name) action(h.Frame());
    });
  }
  // A key held from frame `from` to frame `to` (down at from, up at to).
  void Hold(uint8_t key, int from, int to) {
    run.host.AtFrame(from, [key](platform::HeadlessHost& h) { h.input.PressKey(key); });
    run.host.AtFrame(to, [key](platform::HeadlessHost& h) { h.input.ReleaseKey(key); });
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
