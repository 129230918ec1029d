// The bosses' machines: their states in order, the life test before the end of an action,
// one single shot per visit, the ball countdown, and what a full layer or a missing shot
// does to an attack.
#include "game/rules/boss_machines.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "engine/scene/state_machine.h"
#include "game/rules/game_variables.h"
#include "tests/game/rules/boss_test_support.h"

namespace game {
namespace {

using BossMachines = testing_support::BossScene;
using testing_support::State;
using testing_support::Tick;
using testing_support::Touch;

std::vector<std::string> Names(const quor::StateMachine& m) {
  std::vector<std::string> names;
  for (uint32_t s = 1; s <= m.GetStateCount(); ++s) names.push_back(m.GetStateName(s));
  return names;
}

// The states each state's transitions lead to, in the order they are tested.
std::vector<uint32_t> Targets(const quor::StateMachine& m, uint32_t state) {
  std::vector<uint32_t> to;
  const quor::NodeList* list = m.GetTransitions(state);
  for (quor::Node* n = list->GetHead(); !n->IsEnd(); n = n->GetNext())
    to.push_back(static_cast<quor::StateTransition*>(n)->GetToState() + 1);
  return to;
}

// The states the boss goes through, in order, and the ticks each visit lasts, until the
// machine has begun `visits` visits.
struct Visit {
  uint32_t state;
  int ticks;
  bool operator==(const Visit& o) const { return state == o.state && ticks == o.ticks; }
};
std::ostream& operator<<(std::ostream& out, const Visit& v) {
  return out << "{" << v.state << ", " << v.ticks << "}";
}

std::vector<Visit> Visits(quor::Sprite* boss, size_t visits) {
  std::vector<Visit> seen;
  for (int i = 0; i < 5000; ++i) {
    Tick(boss);
    if (seen.empty() || seen.back().state != State(boss)) {
      if (seen.size() == visits) break;
      seen.push_back({State(boss), 0});
    }
    ++seen.back().ticks;
  }
  return seen;
}

TEST(BossMachineTemplates, NameFiveStatesAndTestTheLifeBeforeTheEndOfTheAction) {
  quor::StateMachine demon, tenma;
  BuildDemonMachine(demon);
  BuildTenmaMachine(tenma);
  EXPECT_EQ(Names(demon), (std::vector<std::string>{"Fire", "FireAgn", "Spit", "Zap", "Dead"}));
  EXPECT_EQ(Names(tenma), (std::vector<std::string>{"Start", "Laser", "Blob", "Ball", "Dead"}));
  for (const quor::StateMachine* m : {&demon, &tenma}) {
    EXPECT_EQ(m->GetCurrentState(), 1u);
    EXPECT_FALSE(m->IsEntered());
    EXPECT_TRUE(Targets(*m, 5).empty());
  }
  EXPECT_EQ(Targets(demon, kDemonFire), (std::vector<uint32_t>{kDemonDead, kDemonZap}));
  EXPECT_EQ(Targets(demon, kDemonFireAgn), (std::vector<uint32_t>{kDemonDead, kDemonSpit}));
  EXPECT_EQ(Targets(demon, kDemonSpit), (std::vector<uint32_t>{kDemonDead, kDemonFire}));
  EXPECT_EQ(Targets(demon, kDemonZap), (std::vector<uint32_t>{kDemonDead, kDemonFireAgn}));
  EXPECT_EQ(Targets(tenma, kTenmaStart), (std::vector<uint32_t>{kTenmaLaser}));
  EXPECT_EQ(Targets(tenma, kTenmaLaser), (std::vector<uint32_t>{kTenmaDead, kTenmaBlob}));
  EXPECT_EQ(Targets(tenma, kTenmaBlob), (std::vector<uint32_t>{kTenmaDead, kTenmaBall}));
  EXPECT_EQ(Targets(tenma, kTenmaBall), (std::vector<uint32_t>{kTenmaDead, kTenmaLaser}));
  EXPECT_EQ(tenma.GetUpdateFunction(kTenmaStart), nullptr);
}

TEST_F(BossMachines, TheDemonCyclesFireZapFireAgainSpit) {
  quor::Sprite* demon = AddDemon();
  // Each visit plays its action once: a frame of duration d shows d + 1 ticks, the first
  // one d, so 15 + 3 x 16 for the four base frames and 15 + 2 x 16 for the three others.
  EXPECT_EQ(Visits(demon, 8), (std::vector<Visit>{{kDemonFire, 63},
                                                  {kDemonZap, 47},
                                                  {kDemonFireAgn, 63},
                                                  {kDemonSpit, 47},
                                                  {kDemonFire, 63},
                                                  {kDemonZap, 47},
                                                  {kDemonFireAgn, 63},
                                                  {kDemonSpit, 47}}));
  EXPECT_EQ(DemonLife, 12);
}

TEST_F(BossMachines, TenmaOpensOnceThenCyclesLaserBlobBall) {
  quor::Sprite* tenma = AddTenma();
  // Start 60 + 4 + 31; Laser 5 + 4 x 6; Blob 6 + 10 x 7 + 7 x 4 + 2 x 7; Ball 30 + 15 x 6 + 31.
  EXPECT_EQ(Visits(tenma, 7), (std::vector<Visit>{{kTenmaStart, 95},
                                                  {kTenmaLaser, 29},
                                                  {kTenmaBlob, 118},
                                                  {kTenmaBall, 151},
                                                  {kTenmaLaser, 29},
                                                  {kTenmaBlob, 118},
                                                  {kTenmaBall, 151}}));
}

// Each attack state shows its own action from its first frame.
TEST_F(BossMachines, EachStateStartsItsActionAtTheFirstFrame) {
  quor::Sprite* demon = AddDemon();
  const int8_t demonActions[] = {0, 0, 2, 1};
  for (uint32_t s : {kDemonFire, kDemonFireAgn, kDemonSpit, kDemonZap}) {
    demon->stateMachine.SetState(s);
    Tick(demon);
    EXPECT_EQ(demon->GetAction(), demonActions[s - 1]) << s;
    EXPECT_EQ(demon->GetFrame(), 0) << s;
  }
  quor::Sprite* tenma = AddTenma();
  for (uint32_t s : {kTenmaLaser, kTenmaBlob, kTenmaBall}) {
    tenma->stateMachine.SetState(s);
    Tick(tenma);
    EXPECT_EQ(tenma->GetAction(), static_cast<int8_t>(s - 1)) << s;
  }
}

TEST_F(BossMachines, EachTickOfBlastContactCostsOneLifeAndZeroLeadsToDeath) {
  quor::Sprite* demon = AddDemon();
  DemonLife = 2;
  Tick(demon);
  Touch(*demon, "FireBlast");
  Tick(demon);
  EXPECT_EQ(DemonLife, 1);
  Tick(demon);  // the contact list is the frame's: still there, so another life goes
  EXPECT_EQ(DemonLife, 0);
  EXPECT_EQ(State(demon), kDemonFire);
  Tick(demon);
  EXPECT_EQ(State(demon), kDemonDead);
  Tick(demon);
  EXPECT_EQ(DemonLife, 0) << "the dead boss loses no more";
}

// A life already spent when the fight starts, even below 0, still ends the boss.
TEST_F(BossMachines, ALifeAtOrBelowZeroIsCaughtInEveryAttackState) {
  quor::Sprite* demon = AddDemon();
  DemonLife = -1;
  Tick(demon);
  EXPECT_EQ(State(demon), kDemonDead);

  quor::Sprite* tenma = AddTenma();
  TenmaLife = 0;
  for (int i = 0; i < 200 && State(tenma) == kTenmaStart; ++i) {
    Touch(*tenma, "FireBlast");
    Tick(tenma);
  }
  EXPECT_EQ(TenmaLife, -1) << "the first tick of the laser takes a life before a test sees it";
  Tick(tenma);
  EXPECT_EQ(State(tenma), kTenmaDead);
}

TEST_F(BossMachines, TenmaNeitherLosesLifeNorAttacksWhileItAppears) {
  AddShot("Tball", 0, 0, 31, 2, 5, 5, 0, 0, true);
  quor::Sprite* tenma = AddTenma();
  Touch(*tenma, "FireBlast");
  for (int i = 0; i < 20; ++i) Tick(tenma);
  EXPECT_EQ(State(tenma), kTenmaStart);
  EXPECT_EQ(TenmaLife, 19);
  EXPECT_EQ(Count("Tball"), 1);
}

// At 0 in the tick in which the action also ends, the life wins.
TEST_F(BossMachines, TheLifeTestWinsOverTheEndOfTheAction) {
  quor::Sprite* demon = AddDemon();
  while (!demon->IsActionFinished(0) || State(demon) != kDemonFire) Tick(demon);
  DemonLife = 0;
  Tick(demon);
  EXPECT_EQ(State(demon), kDemonDead);
}

TEST_F(BossMachines, TheDemonDiesAfterItsDeathAndShowsTheWaterIcon) {
  quor::Sprite* water = Add("WaterIcon", 0, 0, 9, 0, 318, 23);
  water->SetInactive(1);
  quor::Sprite* demon = AddDemon();
  DemonLife = 0;
  int ticks = 0;
  for (; ticks < 500 && !demon->IsDead(); ++ticks) Tick(demon);
  EXPECT_TRUE(demon->IsDead());
  EXPECT_EQ(demon->GetAction(), 3);
  EXPECT_GE(ticks, 7 * 12) << "the seven death frames play first";
  EXPECT_FALSE(water->IsInactive());
}

TEST_F(BossMachines, TenmaVanishesAfterItsCloud) {
  quor::Sprite* tenma = AddTenma();
  tenma->stateMachine.SetState(kTenmaLaser);
  TenmaLife = 0;
  for (int i = 0; i < 500 && !tenma->IsDead(); ++i) Tick(tenma);
  EXPECT_TRUE(tenma->IsDead());
  EXPECT_EQ(tenma->GetAction(), 4);
  EXPECT_EQ(tenma->GetFrame(), 7);
}

// The first ball leaves in the first tick; then one every 10 ticks, whatever the state.
TEST_F(BossMachines, TheDemonThrowsABallAtOnceAndThenEveryTenTicks) {
  AddShot("Ball", 3, 6, 29, 0, 0, 6, 1, 1, false);
  quor::Sprite* demon = AddDemon();
  std::vector<int> thrown;
  for (int tick = 1; tick <= 200; ++tick) {
    int before = Count("Ball");
    Tick(demon);
    if (Count("Ball") > before) thrown.push_back(tick);
  }
  ASSERT_EQ(thrown.size(), 20u);
  for (size_t i = 0; i < thrown.size(); ++i) EXPECT_EQ(thrown[i], 1 + 10 * static_cast<int>(i));
  quor::Sprite* newest = quor::FindSpriteByName("Ball");
  EXPECT_FALSE(newest->IsInactive());
  EXPECT_FLOAT_EQ(newest->GetX(), demon->GetX() + 58.0f);
  EXPECT_FLOAT_EQ(newest->GetY(), demon->GetY() + 76.0f);
  EXPECT_FLOAT_EQ(newest->GetDirectionX(), newest->GetDirectionY()) << "the template's (1, 1)";
  EXPECT_FLOAT_EQ(newest->GetSpeedY(), 6.0f);
}

TEST_F(BossMachines, SpitFiresOneBarfPerVisitTowardTheHero) {
  AddShot("Barf", 3, 6, 29, 4, 1, 1, 0, 0, false);
  Add("Player", 1, 0, 4, 0, 31, 346);
  quor::Sprite* demon = AddDemon();
  demon->stateMachine.SetState(kDemonSpit);
  int ticks = 0;
  while (State(demon) != kDemonFire || ticks == 0) {
    int before = Count("Barf");
    Tick(demon);
    ++ticks;
    if (Count("Barf") > before) {
      EXPECT_EQ(demon->GetAction(), 2);
      EXPECT_EQ(demon->GetFrame(), 2) << "fired on the breath's last frame";
    }
  }
  EXPECT_EQ(Count("Barf"), 2) << "the template and one copy";
  EXPECT_EQ(AttackFired, 1);
  quor::Sprite* barf = quor::FindSpriteByName("Barf");
  EXPECT_FLOAT_EQ(barf->GetX(), demon->GetX() + 21.0f);
  EXPECT_LT(barf->GetDirectionX(), 0.0f) << "the hero is left of the boss";
  EXPECT_GT(barf->GetDirectionY(), 0.0f) << "and below it";
  // The next visit fires again.
  while (State(demon) != kDemonSpit) Tick(demon);
  while (State(demon) == kDemonSpit) Tick(demon);
  EXPECT_EQ(Count("Barf"), 3);
}

TEST_F(BossMachines, ZapHoldsBothLasersAtTheBossWhileItsLastBeamFrameShows) {
  quor::Sprite* laser1 = AddShot("Laser1", 3, 6, 29, 2, 0, 6, 1, 1, false);
  quor::Sprite* laser2 = AddShot("Laser2", 3, 6, 29, 2, 0, 6, 1, 1, false);
  laser1->SetInactive(1);
  quor::Sprite* demon = AddDemon();
  demon->stateMachine.SetState(kDemonZap);
  int held = 0;
  while (State(demon) != kDemonFireAgn) {
    laser1->SetX(-5.0f);
    bool firing = State(demon) == kDemonZap && demon->GetAction() == 1 && demon->GetFrame() == 2;
    Tick(demon);
    if (firing && State(demon) == kDemonZap) {
      ++held;
      EXPECT_FLOAT_EQ(laser1->GetX(), demon->GetX() + 35.0f);
      EXPECT_FLOAT_EQ(laser2->GetX(), demon->GetX() + 28.0f);
      EXPECT_FLOAT_EQ(laser2->GetY(), demon->GetY() + 37.0f);
    }
  }
  EXPECT_GT(held, 10) << "every tick of the frame";
  EXPECT_FALSE(laser1->IsInactive());
  EXPECT_EQ(laser1->GetSpeedY(), 10.0f);
  EXPECT_EQ(Count("Laser1"), 1) << "the scene's own lasers, never copies";
}

TEST_F(BossMachines, TenmaFiresOneLaserAndOneBlobOnTheirLastFrames) {
  AddShot("Tlaser", 0, 0, 31, 0, -20, 3, 0, 0, true);
  AddShot("Tblob", 3, 6, 31, 1, -4, 4, 0, 0, true);
  quor::Sprite* tenma = AddTenma();
  tenma->stateMachine.SetState(kTenmaLaser);
  while (State(tenma) != kTenmaBall) {
    int before = Count("Tlaser") + Count("Tblob");
    Tick(tenma);
    if (Count("Tlaser") + Count("Tblob") > before) {
      EXPECT_EQ(tenma->GetFrame(), State(tenma) == kTenmaLaser ? 4 : 19);
    }
  }
  EXPECT_EQ(Count("Tlaser", true), 1);
  EXPECT_EQ(Count("Tblob", true), 1);
  quor::Sprite* blob = quor::FindSpriteByName("Tblob");
  EXPECT_FLOAT_EQ(blob->GetX(), tenma->GetX() + 32.0f);
  EXPECT_FLOAT_EQ(blob->GetY(), tenma->GetY() + 23.0f);
  EXPECT_NEAR(blob->GetDirectionX(), 0.7071f, 1e-4);
  EXPECT_NEAR(blob->GetDirectionY(), 0.7071f, 1e-4);
}

// One flag for both bosses: the other boss's shot of this visit counts as this one's.
TEST_F(BossMachines, TheBossesShareTheFlagOfTheSingleShot) {
  AddShot("Tlaser", 0, 0, 31, 0, -20, 3, 0, 0, true);
  quor::Sprite* tenma = AddTenma();
  tenma->stateMachine.SetState(kTenmaLaser);
  Tick(tenma);
  AttackFired = 1;  // as the Demon's spit sets it
  while (State(tenma) == kTenmaLaser) Tick(tenma);
  EXPECT_EQ(Count("Tlaser"), 1) << "no laser this visit";
}

TEST_F(BossMachines, TenmaAimsItsBallsAndThrowsThemFlatWhenLevelWithTheHero) {
  AddShot("Tball", 0, 0, 31, 2, 5, 5, 0, 0, true);
  quor::Sprite* hero = Add("Player", 1, 0, 4, 0, 600, 400);
  quor::Sprite* tenma = AddTenma(522, 190);
  tenma->stateMachine.SetState(kTenmaBall);
  Tick(tenma);
  quor::Sprite* ball = quor::FindSpriteByName("Tball");
  ASSERT_FALSE(ball->IsInactive());
  EXPECT_GT(ball->GetDirectionX(), 0.0f);
  EXPECT_GT(ball->GetDirectionY(), 0.0f);
  EXPECT_FLOAT_EQ(ball->GetX(), 522.0f + 35.0f);

  hero->SetY(190.0f + 49.0f);
  for (int i = 0; i < 10; ++i) Tick(tenma);
  ball = quor::FindSpriteByName("Tball");
  EXPECT_EQ(Count("Tball"), 3);
  EXPECT_FLOAT_EQ(ball->GetDirectionX(), -1.0f) << "toward smaller x whatever the hero's x";
  EXPECT_FLOAT_EQ(ball->GetDirectionY(), 0.0f);
}

// With the layer full the attack fires the sprite it would have copied.
TEST_F(BossMachines, AFullLayerFiresTheNewestBallAgain) {
  quor::Sprite* ball = AddShot("Ball", 3, 6, 29, 0, 0, 6, 1, 1, false);
  quor::Sprite* demon = AddDemon();
  while (scene->layers[3].Count() < scene->spriteLimit) Add("Filler", 3, 9, 29, 0, -300, -300);
  ball->SetInactive(1);
  Tick(demon);
  EXPECT_EQ(Count("Ball"), 1);
  EXPECT_FALSE(ball->IsInactive());
  EXPECT_FLOAT_EQ(ball->GetX(), demon->GetX() + 58.0f);
}

TEST_F(BossMachines, AMissingShotIsNotFiredAndTheFightGoesOn) {
  quor::Sprite* demon = AddDemon();
  quor::Sprite* tenma = AddTenma();
  for (int i = 0; i < 900; ++i) {
    Tick(demon);
    Tick(tenma);
  }
  EXPECT_EQ(quor::NullSprite.GetX(), 0.0f);
  EXPECT_TRUE(quor::NullSprite.IsInactive() == false && !quor::NullSprite.IsDead());
  EXPECT_NE(State(tenma), kTenmaStart);
}

// Only a damaged saved game gives a machine to something else than a sprite.
TEST_F(BossMachines, AMachineOnASceneDoesNothing) {
  scene->stateMachine = quor::StateMachineTable[kDemonMachine];
  DemonLife = 0;
  for (int i = 0; i < 5; ++i) scene->stateMachine.Update(scene.get());
  EXPECT_EQ(scene->stateMachine.GetCurrentState(), kDemonFire);
}

}  // namespace
}  // namespace game
