// The bosses' shots, life bars, the first boss's plain behaviour and the final door, each
// driven by hand with the contacts a frame would record.
#include <gtest/gtest.h>

#include "engine/scene/sprite.h"
#include "game/rules/behaviours.h"
#include "game/rules/game_variables.h"
#include "tests/game/rules/boss_test_support.h"

namespace game {
namespace {

using BossShots = testing_support::BossScene;
using testing_support::Touch;

void TouchMap(quor::Sprite* sprite) { sprite->touchedMap = 1; }
void ForgetContacts(quor::Sprite* sprite) { sprite->ResetContacts(); }

TEST_F(BossShots, ATballDiesInTheTickAfterItsFourthWall) {
  quor::Sprite* ball = AddShot("Tball", 0, 0, 31, 2, 5, 5, 1, 1, false);
  ball->SetX(300.0f);
  for (int wall = 1; wall <= 4; ++wall) {
    TouchMap(ball);
    TballBehaviour(*ball);
    ForgetContacts(ball);
    EXPECT_FLOAT_EQ(ball->GetSpeedX(), 5.0f + wall);
    EXPECT_FLOAT_EQ(ball->GetSpeedY(), 5.0f + wall);
    EXPECT_FALSE(ball->IsDead()) << wall;
  }
  TballBehaviour(*ball);
  EXPECT_TRUE(ball->IsDead());
}

TEST_F(BossShots, ATballDiesOnTheHeroOrTheHerosShot) {
  for (const char* name : {"Player", "FireBlast"}) {
    quor::Sprite* ball = AddShot("Tball", 0, 0, 31, 2, 5, 5, 1, 1, false);
    Touch(*ball, name);
    TballBehaviour(*ball);
    EXPECT_TRUE(ball->IsDead()) << name;
  }
  quor::Sprite* ball = AddShot("Tball", 0, 0, 31, 2, 5, 5, 1, 1, false);
  Touch(*ball, "Meat");
  TballBehaviour(*ball);
  EXPECT_FALSE(ball->IsDead());
}

// Both final-boss shots swing their height toward the hero's by 2 a tick; above the hero
// they also gain speed toward smaller x.
TEST_F(BossShots, TlaserAndTblobSteerTowardTheHerosHeight) {
  quor::Sprite* hero = Add("Player", 1, 0, 4, 0, 100, 100);
  for (auto behaviour : {TlaserBehaviour, TblobBehaviour}) {
    quor::Sprite* shot = AddShot("Shot", 0, 0, 31, 0, -20, 3, 1, 1, false);
    shot->SetX(400.0f);
    shot->SetY(300.0f);  // below the hero
    behaviour(*shot);
    behaviour(*shot);
    EXPECT_FLOAT_EQ(shot->GetSpeedY(), -1.0f);
    EXPECT_FLOAT_EQ(shot->GetSpeedX(), -22.0f);
    hero->SetY(500.0f);  // now above it
    behaviour(*shot);
    EXPECT_FLOAT_EQ(shot->GetSpeedY(), 1.0f);
    EXPECT_FLOAT_EQ(shot->GetSpeedX(), -22.0f) << "sideways speed grows only above 5";
    hero->SetY(300.0f);  // level
    behaviour(*shot);
    EXPECT_FLOAT_EQ(shot->GetSpeedY(), 1.0f);
    EXPECT_FALSE(shot->IsDead());
    hero->SetY(100.0f);
  }
}

TEST_F(BossShots, TlaserAndTblobDieOnTheHeroAWallOrLeavingTheScreen) {
  Add("Player", 1, 0, 4, 0, 100, 100);
  for (auto behaviour : {TlaserBehaviour, TblobBehaviour}) {
    quor::Sprite* hit = AddShot("Shot", 0, 0, 31, 0, -20, 3, 1, 1, false);
    hit->SetX(200.0f);
    Touch(*hit, "Player");
    behaviour(*hit);
    EXPECT_TRUE(hit->IsDead());
    quor::Sprite* wall = AddShot("Shot", 0, 0, 31, 0, -20, 3, 1, 1, false);
    wall->SetX(200.0f);
    TouchMap(wall);
    behaviour(*wall);
    EXPECT_TRUE(wall->IsDead());
    quor::Sprite* gone = AddShot("Shot", 0, 0, 31, 0, -20, 3, 1, 1, false);
    gone->SetX(-0.5f);
    behaviour(*gone);
    EXPECT_TRUE(gone->IsDead());
  }
}

TEST_F(BossShots, ABallHidesOnAnyContact) {
  quor::Sprite* ball = AddShot("Ball", 3, 6, 29, 0, 0, 6, 1, 1, false);
  BallBehaviour(*ball);
  EXPECT_FALSE(ball->IsInactive());
  TouchMap(ball);
  BallBehaviour(*ball);
  EXPECT_TRUE(ball->IsInactive());
  EXPECT_FALSE(ball->IsDead()) << "hidden, not removed";
}

TEST_F(BossShots, ALaserInFlightSparksOnContactAndThenHides) {
  quor::Sprite* laser = AddShot("Laser1", 3, 6, 29, 2, 0, 10, 1, 1, false);
  laser->SetX(120.0f);
  Touch(*laser, "Player");
  BossLaserBehaviour(*laser);
  EXPECT_EQ(laser->GetSpeedY(), 0.0f);
  EXPECT_EQ(laser->GetDirectionX(), 0.0f);
  EXPECT_EQ(laser->requestedAction, 3);
  int ticks = 0;
  while (!laser->IsInactive() && ticks < 100) {
    laser->Animate();
    BossLaserBehaviour(*laser);
    ++ticks;
  }
  EXPECT_TRUE(laser->IsInactive());
  EXPECT_EQ(laser->GetAction(), 3);
  EXPECT_GT(ticks, 2) << "the spark's frames show first";
}

TEST_F(BossShots, ALaserAtRestIgnoresContacts) {
  quor::Sprite* laser = AddShot("Laser2", 3, 6, 29, 2, 0, 0, 1, 1, false);
  Touch(*laser, "Player");
  BossLaserBehaviour(*laser);
  EXPECT_EQ(laser->requestedAction, 2);
}

// Parked off screen the template would meet the hero's parked shot: it waits hidden, and
// only a fired copy dies.
TEST_F(BossShots, BarfWaitsHiddenWhileParked) {
  quor::Sprite* barf = AddShot("Barf", 3, 6, 29, 4, 1, 1, 0, 0, false);
  barf->SetX(-81.0f);
  Touch(*barf, "FireBlast");
  TouchMap(barf);
  BarfBehaviour(*barf);
  EXPECT_FALSE(barf->IsDead());
  EXPECT_TRUE(barf->IsInactive()) << "out of the way of the parked shot";
  barf->SetInactive(0);
  barf->SetX(120.0f);
  BarfBehaviour(*barf);
  EXPECT_TRUE(barf->IsDead());
}

TEST_F(BossShots, LifeBarsShowTheLifeWithinTheirFrames) {
  quor::Sprite* blife = Add("BLife", 0, 0, 26, 0, 502, 450);
  quor::Sprite* tlife = Add("TenmaLife", 0, 0, 32, 0, 502, 450);
  const int32_t lives[] = {12, 7, 0, -1, 300, -200};
  const int8_t demonFrames[] = {12, 7, 0, 0, 12, 0};
  const int8_t tenmaFrames[] = {12, 7, 0, 0, 19, 0};
  for (int i = 0; i < 6; ++i) {
    DemonLife = TenmaLife = lives[i];
    DemonLifeBarBehaviour(*blife);
    TenmaLifeBarBehaviour(*tlife);
    EXPECT_EQ(blife->GetFrame(), demonFrames[i]) << lives[i];
    EXPECT_EQ(tlife->GetFrame(), tenmaFrames[i]) << lives[i];
  }
}

TEST_F(BossShots, TheDemonsPlainBehaviourThrowsBallsAndDiesAtZero) {
  AddShot("Ball", 3, 6, 29, 0, 0, 6, 1, 1, false);
  quor::Sprite* water = Add("WaterIcon", 0, 0, 9, 0, 318, 23);
  water->SetInactive(1);
  quor::Sprite* demon = Add("Demon", 3, 3, 28, 0, 99, 15);
  DemonLife = 1;
  DemonFireBehaviour(*demon);
  EXPECT_FALSE(demon->IsDead());
  EXPECT_EQ(Count("Ball", true), 2);
  EXPECT_FLOAT_EQ(demon->GetSpeedY(), 9.0f);
  Touch(*demon, "FireBlast");
  DemonFireBehaviour(*demon);
  EXPECT_EQ(DemonLife, 0);
  EXPECT_TRUE(demon->IsDead());
  EXPECT_FALSE(water->IsInactive());
}

// Unlike the machine, the plain behaviour skips a ball when the layer is full.
TEST_F(BossShots, TheDemonsPlainBehaviourSkipsABallOnAFullLayer) {
  quor::Sprite* ball = AddShot("Ball", 3, 6, 29, 0, 0, 6, 1, 1, false);
  quor::Sprite* demon = Add("Demon", 3, 3, 28, 0, 99, 15);
  while (scene->layers[3].Count() < scene->spriteLimit) Add("Filler", 3, 9, 29, 0, -300, -300);
  DemonFireBehaviour(*demon);
  EXPECT_EQ(Count("Ball"), 1);
  EXPECT_FLOAT_EQ(ball->GetX(), -20.0f);
  EXPECT_FLOAT_EQ(demon->GetSpeedY(), 9.0f) << "the countdown goes on";
}

TEST_F(BossShots, TheFinalDoorOpensAtThreeKeysAndLetsTheHeroThrough) {
  quor::Sprite* door = Add("Door", 0, 0, 15, 0, 24, 248);
  Touch(*door, "Player");
  KeyCount = 2;
  FinalLevelDoorBehaviour(*door);
  EXPECT_EQ(door->requestedAction, 0);
  EXPECT_EQ(KeyCount, 2);
  ForgetContacts(door);
  KeyCount = 3;
  HeartCount = 4;
  for (int i = 0; i < 40; ++i) {
    FinalLevelDoorBehaviour(*door);
    door->Animate();
  }
  EXPECT_EQ(door->GetAction(), 1);
  EXPECT_EQ(door->GetFrame(), 2) << "it stays open on its last frame";
  Touch(*door, "Player");
  int stage = Stage;
  FinalLevelDoorBehaviour(*door);
  EXPECT_EQ(KeyCount, 0);
  EXPECT_EQ(HeartCount, 2);
  EXPECT_EQ(Stage, stage);
}

}  // namespace
}  // namespace game
