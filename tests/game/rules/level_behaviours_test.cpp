// The behaviours of the first level's things: items and the status row, the hearts, the
// doors and covers, the Mellon Men and their fireballs, the fire blast and the Helmits.
#include <gtest/gtest.h>

#include "game/rules/behaviours.h"
#include "tests/game/rules/behaviour_fixture.h"

namespace game {
namespace {

using LevelThings = BehaviourTest;

TEST_F(LevelThings, EachItemGoesToItsSlotOnTheStatusRowWhenTheHeroTouchesIt) {
  const struct {
    const char* name;
    int8_t set;
    void (*behaviour)(quor::Sprite&);
    float slotX;
  } items[] = {
      {"FireIcon", kFireIconSet, FireIconBehaviour, 306},
      {"Dagger", kDaggerSet, DaggerBehaviour, 323},
      {"Hat", kHatSet, HatBehaviour, 340},
      {"WaterIcon", kWaterIconSet, WaterIconBehaviour, 357},
      {"Boot", kBootSet, BootBehaviour, 374},
      {"Glass", kGlassSet, GlassBehaviour, 391},
  };
  for (const auto& item : items) {
    quor::Sprite* sprite = Add(item.name, item.set, 200, 100);
    Touch(*sprite, "Helmit");
    item.behaviour(*sprite);
    EXPECT_EQ(sprite->GetX(), 200.0f) << item.name << " touched by something else";
    Touch(*sprite, "Player");
    item.behaviour(*sprite);
    EXPECT_EQ(sprite->GetX(), item.slotX) << item.name;
    EXPECT_EQ(sprite->GetY(), 459.0f) << item.name;
    EXPECT_FALSE(sprite->IsDead()) << item.name << " is moved, not removed";
  }
}

TEST_F(LevelThings, AKeyTouchedWithoutTheHatStays) {
  quor::Sprite* hat = Add("Hat", kHatSet, 151, 195);
  quor::Sprite* key = Add("Keys", kKeysSet, 105, 289);
  Touch(*key, "Player");
  KeyBehaviour(*key);
  EXPECT_EQ(key->GetX(), 105.0f);
  EXPECT_EQ(KeyCount, 0);
  hat->SetY(459);
  KeyBehaviour(*key);
  EXPECT_EQ(key->GetY(), 461.0f);
  EXPECT_EQ(KeyCount, 1);
}

TEST_F(LevelThings, TheFirstThreeKeysLineUpOnTheStatusRow) {
  Carried("Hat", kHatSet);
  const float expected[] = {169, 194, 219};
  for (int i = 0; i < 3; ++i) {
    quor::Sprite* key = Add("Keys", kKeysSet, 100.0f + i, 40);
    Touch(*key, "Player");
    KeyBehaviour(*key);
    EXPECT_EQ(key->GetX(), expected[i]);
    EXPECT_EQ(key->GetY(), 461.0f);
    EXPECT_EQ(KeyCount, i + 1);
  }
}

TEST_F(LevelThings, MeatGivesOneHeartUpToFour) {
  quor::Sprite* meat = Add("Meat", kMeatSet, 377, 116);
  HeartCount = 4;
  Touch(*meat, "Player");
  MeatBehaviour(*meat);
  EXPECT_FALSE(meat->IsDead()) << "full hearts: the meat stays";
  EXPECT_EQ(HeartCount, 4);
  HeartCount = 3;
  MeatBehaviour(*meat);
  EXPECT_TRUE(meat->IsDead());
  EXPECT_EQ(HeartCount, 4);
}

TEST_F(LevelThings, TheHeartsShowTheCountWithinTheirPictures) {
  quor::Sprite* hearts = Add("Hearts", kHeartsSet, 60, 460);
  const struct {
    int32_t count;
    int8_t frame;
  } cases[] = {{1, 1}, {4, 4}, {7, 4}, {1000, 4}, {0, 0}, {-3, 0}};
  for (const auto& c : cases) {
    HeartCount = c.count;
    HeartsBehaviour(*hearts);
    EXPECT_EQ(hearts->GetFrame(), c.frame) << c.count;
  }
}

TEST_F(LevelThings, NoHeartsLeftRequestsLoseAndGivesTwoBack) {
  quor::Sprite* hearts = Add("Hearts", kHeartsSet, 60, 460);
  HeartCount = 1;
  HeartsBehaviour(*hearts);
  EXPECT_STREQ(Requested(), "");
  HeartCount = -1;
  HeartsBehaviour(*hearts);
  EXPECT_STREQ(Requested(), "Lose");
  EXPECT_EQ(HeartCount, 2);
}

TEST_F(LevelThings, TheDoorOpensAtThreeKeysAndLeadsToTheNextStage) {
  quor::Sprite* door = Add("Door", kExitDoorSet, 263, 75);
  KeyCount = 2;
  Touch(*door, "Player");
  DoorBehaviour(*door);
  EXPECT_EQ(door->requestedAction, 0);
  EXPECT_STREQ(Requested(), "");
  EXPECT_EQ(Stage, 1);

  // The third key opens it wherever the hero is.
  door->touchedNames.Clear();
  KeyCount = 3;
  DoorBehaviour(*door);
  EXPECT_EQ(door->requestedAction, 1);
  EXPECT_STREQ(Requested(), "");
  // It stays open on its last picture.
  FinishAction(*door, 1);
  DoorBehaviour(*door);
  EXPECT_EQ(door->GetFrame(), 2);
  EXPECT_GT(door->GetFrameTimer(), 0);

  Touch(*door, "Player");
  DoorBehaviour(*door);
  EXPECT_STREQ(Requested(), "StageIntro");
  EXPECT_EQ(Stage, 2);
}

TEST_F(LevelThings, SecretDoorsBreakUnderTheFireBlastOnly) {
  quor::Sprite* door = Add("DoorFront", kDoorsSet, 118, 358);
  Touch(*door, "Player");
  SecretDoorBehaviour(*door);
  EXPECT_FALSE(door->IsDead());
  Touch(*door, "FireBlast");
  SecretDoorBehaviour(*door);
  EXPECT_TRUE(door->IsDead());
}

TEST_F(LevelThings, EveryCoverGoesOnceTheGlassIsCarried) {
  quor::Sprite* glass = Add("Glass", kGlassSet, 387, 246);
  quor::Sprite* covers[] = {Add("covers", kCoversSet, 119, 361),
                            Add("covers", kCoversSet, 105, 20)};
  for (quor::Sprite* cover : covers) CoverBehaviour(*cover);
  EXPECT_FALSE(covers[0]->IsDead());
  glass->SetY(459);
  for (quor::Sprite* cover : covers) CoverBehaviour(*cover);
  EXPECT_TRUE(covers[0]->IsDead());
  EXPECT_TRUE(covers[1]->IsDead());
}

TEST_F(LevelThings, EachMellonManPutsItsOwnFireBallAtItsHandWhenItsThrowEnds) {
  const struct {
    const char* name;
    void (*behaviour)(quor::Sprite&);
    int8_t action;
    const char* ball;
    float dx, dy;
  } men[] = {{"Mellon Man 1", MellonMan1Behaviour, 0, "FireBall", 7, 5},
             {"Mellon Man 2", MellonMan2Behaviour, 0, "FireBall2", 7, 5},
             {"Mellon Man 3", MellonMan3Behaviour, 1, "FireBall3", 7, -5},
             {"Mellon Man 4", MellonMan4Behaviour, 1, "FireBall4", 7, -9}};
  for (const auto& man : men) {
    quor::Sprite* ball = Add(man.ball, kFireBallSet, -100, -100);
    ball->SetDirection(0, -2, 0);
    quor::Sprite* thrower = Add(man.name, kMellonManSet, 200, 300);
    // The other action ending throws nothing.
    FinishAction(*thrower, man.action == 0 ? 1 : 0);
    man.behaviour(*thrower);
    EXPECT_EQ(ball->GetX(), -100.0f) << man.name;
    FinishAction(*thrower, man.action);
    man.behaviour(*thrower);
    EXPECT_EQ(ball->GetX(), 200 + man.dx) << man.name;
    EXPECT_EQ(ball->GetY(), 300 + man.dy) << man.name;
    EXPECT_EQ(ball->GetDirectionY(), -1.0f) << man.name << " keeps its direction";
    EXPECT_FALSE(thrower->IsDead());
    Touch(*thrower, "FireBlast");
    man.behaviour(*thrower);
    EXPECT_TRUE(thrower->IsDead()) << man.name;
  }
}

TEST_F(LevelThings, AMellonManWithoutItsFireBallThrowsNothing) {
  const float nullX = quor::NullSprite.GetX();
  quor::Sprite* thrower = Add("Mellon Man 1", kMellonManSet, 200, 300);
  FinishAction(*thrower, 0);
  MellonMan1Behaviour(*thrower);
  EXPECT_EQ(quor::NullSprite.GetX(), nullX);
}

TEST_F(LevelThings, AFireBallParksOffScreenOnAnyContactAndFallsAfterAWall) {
  quor::Sprite* ball = Add("FireBall3", kFireBallSet, 219, 286);
  ball->SetDirection(0, -2, 0);
  Touch(*ball, "Player");
  FireBallBehaviour(*ball);
  EXPECT_EQ(ball->GetX(), -100.0f);
  EXPECT_EQ(ball->GetY(), -100.0f);
  EXPECT_EQ(ball->GetDirectionY(), -1.0f) << "a sprite's touch keeps the direction";
  ball->touchedNames.Clear();
  ball->touchedMap = 1;
  FireBallBehaviour(*ball);
  EXPECT_EQ(ball->GetX(), -100.0f);
  EXPECT_EQ(ball->GetDirectionX(), 0.0f);
  EXPECT_EQ(ball->GetDirectionY(), 1.0f);
}

TEST_F(LevelThings, TheFireBlastStopsAndParksOnAnyContact) {
  quor::Sprite* blast = Add("FireBlast", kFireBlastSet, 150, 150, 1);
  blast->SetDirection(1, 0, 0);
  FireBlastBehaviour(*blast);
  EXPECT_EQ(blast->GetX(), 150.0f);
  Touch(*blast, "Keys");
  FireBlastBehaviour(*blast);
  EXPECT_EQ(blast->GetX(), -50.0f);
  EXPECT_EQ(blast->GetY(), -50.0f);
  EXPECT_EQ(blast->GetDirectionX(), 0.0f);
  blast->touchedNames.Clear();
  blast->SetX(150);
  blast->touchedMap = 1;
  FireBlastBehaviour(*blast);
  EXPECT_EQ(blast->GetX(), -50.0f);
}

TEST_F(LevelThings, AHelmitFacesItsMotionAndDiesOnTheTrap) {
  quor::Sprite* helmit = Add("Helmit", kHelmitSet, 39, 159);
  // Up and down win over sideways.
  const struct {
    float vx, vy;
    int8_t action;
  } moves[] = {{0, 2, 0}, {0, -2, 1}, {2, 0, 3}, {-2, 0, 2}, {2, 2, 0}, {-2, -2, 1}};
  for (const auto& move : moves) {
    helmit->velocityX = move.vx;
    helmit->velocityY = move.vy;
    HelmitBehaviour(*helmit);
    EXPECT_EQ(helmit->requestedAction, move.action) << move.vx << ", " << move.vy;
  }
  // Standing: the first picture of whatever it shows, and no direction.
  helmit->velocityX = helmit->velocityY = 0;
  helmit->SetDirection(1, 0, 0);
  helmit->SetFrame(3);
  HelmitBehaviour(*helmit);
  EXPECT_EQ(helmit->GetFrame(), 0);
  EXPECT_EQ(helmit->GetDirectionX(), 0.0f);
  Touch(*helmit, "Player");
  HelmitBehaviour(*helmit);
  EXPECT_FALSE(helmit->IsDead());
  Touch(*helmit, "Trap");
  HelmitBehaviour(*helmit);
  EXPECT_TRUE(helmit->IsDead());
}

}  // namespace
}  // namespace game
