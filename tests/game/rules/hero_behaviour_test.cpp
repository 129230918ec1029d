// The hero's behaviour, frame by frame: walking and facing, the taunt, the boots, the
// fire shot, the trap, the damage groups and the hidden level select.
#include <gtest/gtest.h>

#include "game/rules/behaviours.h"
#include "tests/game/rules/behaviour_fixture.h"

namespace game {
namespace {

using namespace platform;

class Hero : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    hero = Add("Player", kHeroSet, 100, 200, 1);
    hero->SetSpeedX(2.0f);
    hero->SetSpeedY(2.0f);
  }
  void Step() { PlayerBehaviour(*hero); }

  quor::Sprite* hero = nullptr;
};

struct Walking {
  uint8_t key;
  int8_t action;
  float dx, dy;
  int32_t facing;
};

TEST_F(Hero, TheFirstArrowOfDownUpRightLeftWinsAndSetsTheFacing) {
  // Keys go down one by one, each winning over those already held.
  const Walking order[] = {
      {KeyLeft, 1, -1, 0, 3}, {KeyRight, 2, 1, 0, 4}, {KeyUp, 3, 0, -1, 1}, {KeyDown, 0, 0, 1, 2}};
  for (const Walking& w : order) {
    Press(w.key);
    Step();
    EXPECT_EQ(hero->requestedAction, w.action) << int(w.key);
    EXPECT_EQ(hero->GetDirectionX(), w.dx) << int(w.key);
    EXPECT_EQ(hero->GetDirectionY(), w.dy) << int(w.key);
    EXPECT_EQ(Facing, w.facing) << int(w.key);
  }
  // Letting go of the winner hands the walk to the next one held.
  Release(KeyDown);
  Step();
  EXPECT_EQ(hero->requestedAction, 3);
  EXPECT_EQ(Facing, DirUp);
}

TEST_F(Hero, WithNoArrowHeldItStopsOnTheFirstPictureOfWhatItShows) {
  Press(KeyRight);
  Step();
  hero->Animate();
  hero->SetFrame(2);
  Release(KeyRight);
  Step();
  EXPECT_EQ(hero->GetDirectionX(), 0.0f);
  EXPECT_EQ(hero->GetDirectionY(), 0.0f);
  EXPECT_EQ(hero->GetAction(), 2);
  EXPECT_EQ(hero->GetFrame(), 0);
  EXPECT_EQ(Facing, DirRight) << "the facing stays with the last arrow";
}

TEST_F(Hero, HoldingTWalksWithTheTaunt) {
  hero->SetCollideWithSprites(0);
  Press(KeyLeft);
  Press(KeyT);
  Step();
  EXPECT_EQ(hero->requestedAction, 8);
  EXPECT_EQ(hero->GetDirectionX(), -1.0f);
  EXPECT_FALSE(hero->CollidesWithSprites());
  Release(KeyT);
  Step();
  EXPECT_EQ(hero->requestedAction, 1);
  EXPECT_TRUE(hero->CollidesWithSprites());
}

TEST_F(Hero, BootsOnTheStatusRowDoubleTheSpeed) {
  quor::Sprite* boot = Add("Boot", kBootSet, 550, 113);
  Step();
  EXPECT_EQ(hero->GetSpeedX(), 2.0f);
  boot->SetY(459);
  Step();
  EXPECT_EQ(hero->GetSpeedX(), 4.0f);
  EXPECT_EQ(hero->GetSpeedY(), 4.0f);
}

// The level run shows the first shot going up, flying and parking; here the shot follows
// the last arrow held, and the hero shouts that way.
TEST_F(Hero, TheShotLeavesTowardTheLastArrowHeldWithTheShoutThatWay) {
  Carried("FireIcon", kFireIconSet);
  quor::Sprite* blast = Add("FireBlast", kFireBlastSet, -50, -50, 1);
  Press(KeyLeft);
  Step();
  Release(KeyLeft);
  Press(KeyD);
  Step();
  EXPECT_EQ(blast->GetX(), 101.0f);
  EXPECT_EQ(blast->GetY(), 209.0f);
  EXPECT_EQ(blast->GetDirectionX(), -1.0f);
  EXPECT_EQ(blast->GetDirectionY(), 0.0f);
  EXPECT_EQ(hero->requestedAction, 6) << "the shout left";
}

// A parked blast can touch a template parked beside it, frame after frame; a new shot must
// not carry that contact out with it.
TEST_F(Hero, ANewShotLeavesWithoutTheContactsOfItsParkingPlace) {
  Carried("FireIcon", kFireIconSet);
  quor::Sprite* blast = Add("FireBlast", kFireBlastSet, -50, -50, 1);
  Touch(*blast, "Barf");
  blast->touchedMap = 1;
  Press(KeyD);
  Step();
  FireBlastBehaviour(*blast);
  EXPECT_EQ(blast->GetX(), 101.0f) << "the shot was put away before it flew";
  EXPECT_EQ(blast->GetDirectionY(), -1.0f);
}

TEST_F(Hero, WithoutTheFireIconNoShotLeaves) {
  Add("FireIcon", kFireIconSet, 491, 357);
  quor::Sprite* blast = Add("FireBlast", kFireBlastSet, -76, -146, 1);
  Press(KeyD);
  Step();
  EXPECT_EQ(blast->GetX(), -76.0f);
}

TEST_F(Hero, TheTrapStaysWhereItWasLaidWhileFIsHeldAndGoesBackWhenLetGo) {
  Carried("Dagger", kDaggerSet);
  quor::Sprite* trap = Add("Trap", kTrapSet, -18, -16, 1);
  Press(KeyF);
  Step();
  EXPECT_EQ(trap->GetX(), 101.0f);
  EXPECT_EQ(trap->GetY(), 209.0f);
  EXPECT_EQ(hero->requestedAction, 5);
  hero->SetX(180);
  NextFrame();
  Step();
  EXPECT_EQ(trap->GetX(), 101.0f) << "the hero walked away; the trap stays";
  Release(KeyF);
  Step();
  EXPECT_EQ(trap->GetX(), -100.0f);
  EXPECT_EQ(trap->GetY(), 209.0f) << "only x is taken back";
}

TEST_F(Hero, WithoutTheDaggerNoTrapIsLaid) {
  Add("Dagger", kDaggerSet, 119, 34);
  quor::Sprite* trap = Add("Trap", kTrapSet, -18, -16, 1);
  Press(KeyF);
  Step();
  EXPECT_EQ(trap->GetX(), -18.0f);
  Release(KeyF);
  Step();
  EXPECT_EQ(trap->GetX(), -100.0f);
}

TEST_F(Hero, EachDamageGroupCostsItsHeartsOnceAFrameAndTheGroupsAddUp) {
  struct Case {
    std::vector<const char*> touched;
    int32_t cost;
  };
  const Case cases[] = {
      {{}, 0},
      {{"FireBall", "Helmit", "Spinner1"}, 1},
      {{"Spear2", "Spear2", "Mellon Man 3"}, 2},
      {{"Ball", "Barf"}, 3},
      {{"Tblob"}, 3},
      {{"Demon", "Tenma"}, 4},
      {{"Tblob", "Demon"}, 7},
      {{"Laser Beam Up", "Laser1", "Tblob", "Tenma"}, 10},
      {{"Player", "Keys", "Door"}, 0},
  };
  for (const Case& c : cases) {
    HeartCount = 4;
    hero->touchedNames.Clear();
    for (const char* name : c.touched) Touch(*hero, name);
    Step();
    EXPECT_EQ(HeartCount, 4 - c.cost) << c.touched.size() << " names, cost " << c.cost;
  }
}

TEST_F(Hero, TheDamageRepeatsEveryFrameOfContactAndMayPassZero) {
  HeartCount = 1;
  Touch(*hero, "Spear1");
  Step();
  Step();
  EXPECT_EQ(HeartCount, -3);
}

TEST_F(Hero, TheLevelSelectNeedsBothModifiersAndADigitGoingDown) {
  KeyCount = 2;
  Press(Key2);
  Step();
  Press(KeyLeftControl);
  Step();
  Release(Key2);
  Press(Key2);
  Step();
  EXPECT_STREQ(Requested(), "") << "one modifier is not enough";
  Press(KeyLeftShift);
  Step();
  EXPECT_STREQ(Requested(), "") << "the digit was already down";
  EXPECT_EQ(KeyCount, 2);
  Release(Key2);
  Press(Key2);
  Step();
  EXPECT_STREQ(Requested(), "Level2");
}

TEST_F(Hero, MissingItemsAndWeaponsLeaveEverythingAlone) {
  // A scene without the blast, the trap, the boots or the icons.
  const float nullX = quor::NullSprite.GetX(), nullY = quor::NullSprite.GetY();
  Press(KeyD);
  Press(KeyF);
  Press(KeyS);
  Step();
  Release(KeyF);
  Step();
  EXPECT_EQ(quor::NullSprite.GetX(), nullX);
  EXPECT_EQ(quor::NullSprite.GetY(), nullY);
  EXPECT_EQ(hero->GetSpeedX(), 2.0f);
  EXPECT_EQ(hero->requestedAction, 0);
}

TEST_F(Hero, TheWaterShoutFollowsTheFacingOnceTheWaterIsCarried) {
  quor::Sprite* water = Add("WaterIcon", kWaterIconSet, -9, -15);
  Press(KeyRight);
  Step();
  Release(KeyRight);
  Press(KeyS);
  Step();
  EXPECT_EQ(hero->requestedAction, 2) << "no water yet: the hero only walks";
  water->SetY(459);
  Release(KeyS);
  Press(KeyS);
  Step();
  EXPECT_EQ(hero->requestedAction, 7) << "the shout right";
}

}  // namespace
}  // namespace game
