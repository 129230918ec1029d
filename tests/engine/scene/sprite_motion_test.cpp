#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/display/map.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/sound.h"
#include "tests/engine/scene/sprite_test_support.h"

namespace quor {
namespace {

using testing_support::ActionData;
using testing_support::FillEntry;
using testing_support::SceneTest;

class CountingSound : public Sound {
 public:
  void Play() override { ++plays; }
  int plays = 0;
};

using SpriteAnimationTest = SceneTest;

// The frame shown after each of n animation steps.
std::vector<int> Frames(Sprite& s, int n) {
  std::vector<int> shown;
  for (int i = 0; i < n; ++i) {
    s.Animate();
    shown.push_back(s.GetFrame());
  }
  return shown;
}

TEST_F(SpriteAnimationTest, AFrameOfDurationDStaysDPlusOneTicks) {
  FillEntry(1, {{{3, 3}}});
  Sprite s;
  s.SetAnimation(1);
  s.SetAction(0);
  s.SetFrame(0);  // the frame a sprite is created on stays d ticks
  EXPECT_EQ(Frames(s, 19), (std::vector<int>{0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0,
                                             0, 0}));
}

TEST_F(SpriteAnimationTest, DurationsZeroAndFifteen) {
  FillEntry(1, {{{0, 15}}});
  Sprite s;
  s.SetAnimation(1);
  s.SetFrame(1);
  s.frameTimer = 0;
  std::vector<int> shown = Frames(s, 18);
  // Frame 0 (duration 0) stays one tick, frame 1 (duration 15) sixteen.
  EXPECT_EQ(shown[0], 0);
  for (int i = 1; i <= 16; ++i) EXPECT_EQ(shown[i], 1) << i;
  EXPECT_EQ(shown[17], 0);
}

TEST_F(SpriteAnimationTest, LoopStartAndOneFrameActions) {
  FillEntry(1, {{{1, 1, 1, 1, 1, 1, 1}, 7}, {{2}}});
  Sprite s;
  s.SetAnimation(1);
  s.SetFrame(0);
  int finished = 0;
  for (int i = 0; i < 40; ++i) {
    s.Animate();
    if (s.IsActionFinished(0)) ++finished;
    EXPECT_FALSE(s.IsActionFinished(1));
  }
  EXPECT_EQ(s.GetFrame(), 6);  // stops on the last frame
  // From tick 13 on the last frame's timer runs out every other tick.
  EXPECT_EQ(finished, 14);

  // A one-frame action stays on it and replays a mode-1 sound every d + 1 ticks.
  CountingSound sound;
  AnimationTable[1].actions[1].sound = &sound;
  AnimationTable[1].actions[1].soundMode = 1;
  s.SetAction(1);
  s.Animate();  // the switch plays the sound once
  EXPECT_EQ(sound.plays, 1);
  EXPECT_EQ(s.GetFrame(), 0);
  for (int i = 0; i < 9; ++i) s.Animate();
  EXPECT_EQ(s.GetFrame(), 0);
  EXPECT_EQ(sound.plays, 1 + 3);  // ticks 3, 6 and 9 after the switch
  AnimationTable[1].actions[1].soundOn = 0;
  for (int i = 0; i < 9; ++i) s.Animate();
  EXPECT_EQ(sound.plays, 4);
}

TEST_F(SpriteAnimationTest, TheFirstStepPlaysTheActionSound) {
  FillEntry(1, {{{5, 5}}});
  CountingSound sound;
  AnimationTable[1].actions[0].sound = &sound;
  Sprite s;
  s.SetAnimation(1);
  s.Animate();
  EXPECT_EQ(sound.plays, 1);
  for (int i = 0; i < 20; ++i) s.Animate();
  EXPECT_EQ(sound.plays, 1);  // mode 0: only when the action starts
  Sprite copy(s);
  Sprite* spawned = copy.Spawn();
  ASSERT_NE(spawned, nullptr);
  spawned->Animate();
  EXPECT_EQ(sound.plays, 2);
}

TEST_F(SpriteAnimationTest, AnActionSwitchCarriesTheFrameOnlyWhereItExists) {
  FillEntry(1, {{{1, 1, 1, 1, 1, 1, 1, 1}}, {{4, 5, 6, 7}}, {{1, 1, 1, 1, 1, 1, 1, 9}}});
  Sprite s;
  s.SetAnimation(1);
  s.SetFrame(5);
  s.SetAction(1);  // action 1 has no frame 5: the timer stays until the step starts it
  EXPECT_EQ(s.GetFrameTimer(), 1);  // frame 5's own, not the new action's frame 0 (4)
  EXPECT_EQ(s.GetFrame(), 5);  // the switch itself waits for the animation step
  s.Animate();
  EXPECT_EQ(s.GetAction(), 1);
  EXPECT_EQ(s.GetFrame(), 0);
  EXPECT_EQ(s.GetFrameTimer(), 3);  // loaded with 4 and counted down in the same step

  s.SetFrame(3);
  s.SetAction(2);
  EXPECT_EQ(s.GetFrameTimer(), 1);
  s.Animate();
  EXPECT_EQ(s.GetFrame(), 3);
  EXPECT_EQ(s.GetAction(), 2);

  // Requesting the current action changes nothing.
  s.frameTimer = 17;
  s.SetAction(2);
  EXPECT_EQ(s.GetFrameTimer(), 17);
}

TEST_F(SpriteAnimationTest, FramesOutsideTheActionAreClampedNeverRead) {
  FillEntry(1, {{{3, 4, 5, 6, 7}}, {{8}}});
  Sprite s;
  s.SetAnimation(1);
  EXPECT_EQ(s.SetFrame(-3), 3);
  EXPECT_EQ(s.GetFrame(), 0);
  EXPECT_EQ(s.SetFrame(40), 7);
  EXPECT_EQ(s.GetFrame(), 4);

  // Indices the table lacks (an empty entry, an action past the set) read nothing.
  s.SetAction(9);
  s.Animate();
  s.Animate();
  EXPECT_EQ(s.GetCurrentFrame(), nullptr);
  s.SetAnimation(30);
  s.SetFrame(2);
  s.Animate();
  EXPECT_FALSE(s.IsActionFinished(9));
  s.UpdateVelocity();
  s.Move();
  s.CheckAlarms();
  EXPECT_EQ(s.GetCollisionRect().right, 0);
}

TEST_F(SpriteAnimationTest, AnchorsKeepTheirPointStill) {
  FillEntry(1, {{{0, 0, 0}}});
  SpriteFrame* frames = AnimationTable[1].actions[0].frames;
  for (int f = 0; f < 3; ++f) {
    frames[f].anchorOn = 1;
    frames[f].anchorX = 10 + 3 * f;
    frames[f].anchorY = 5 - f;
  }
  frames[2].anchorOn = 0;
  Sprite s;
  s.SetAnimation(1);
  s.SetAlignAnchors(1);
  s.SetX(100.0f);
  s.SetY(50.0f);
  s.Move();  // frame 0: recorded only
  EXPECT_EQ(s.previousAnchoredFrame, 0);
  EXPECT_EQ(s.GetX(), 100.0f);
  s.Animate();
  s.Move();  // frame 1: anchor moved by (3, -1), the sprite by (-3, 1)
  EXPECT_EQ(s.GetX(), 97.0f);
  EXPECT_EQ(s.GetY(), 51.0f);
  EXPECT_EQ(s.previousAnchoredFrame, 1);
  s.Animate();
  s.Move();  // frame 2 takes no part
  EXPECT_EQ(s.GetX(), 97.0f);
}

using SpriteMovementTest = SceneTest;

TEST_F(SpriteMovementTest, DirectionSmoothing) {
  Sprite s;
  s.SetDirection(0.0f, 5.0f, 0);
  EXPECT_EQ(s.GetDirectionX(), 0.0f);
  EXPECT_EQ(s.GetDirectionY(), 1.0f);
  s.SetDirection(1.0f, 0.0f, 0);
  EXPECT_EQ(s.GetDirectionX(), 1.0f);
  EXPECT_EQ(s.GetDirectionY(), 0.0f);

  s.SetDirection(0.0f, 1.0f, 0);
  s.SetDirection(1.0f, 0.0f, 1);
  EXPECT_NEAR(s.GetDirectionX(), 0.7071f, 1e-4);
  EXPECT_NEAR(s.GetDirectionY(), 0.7071f, 1e-4);

  // More steps pull harder toward the old direction; at most ten count.
  s.SetDirection(0.0f, 1.0f, 0);
  s.SetDirection(1.0f, 0.0f, 10);
  float tenX = s.GetDirectionX();
  s.SetDirection(0.0f, 1.0f, 0);
  s.SetDirection(1.0f, 0.0f, 50);
  EXPECT_EQ(s.GetDirectionX(), tenX);
  EXPECT_LT(tenX, 0.2f);

  // Straight back: the blend would vanish, so it turns upward.
  s.SetDirection(1.0f, 0.0f, 0);
  s.SetDirection(-1.0f, 0.0f, 1);
  EXPECT_EQ(s.GetDirectionX(), 0.0f);
  EXPECT_EQ(s.GetDirectionY(), -1.0f);

  s.SetDirection(0.0f, 0.0f, 3);
  EXPECT_EQ(s.GetDirectionX(), 0.0f);
  EXPECT_EQ(s.GetDirectionY(), 0.0f);

  s.frameMovementOn = 1;
  s.SetDirection(1.0f, 1.0f, 0);
  EXPECT_EQ(s.GetDirectionX(), 0.0f);
}

TEST_F(SpriteMovementTest, FrictionSlowsFrameByFrame) {
  Sprite s;
  s.SetSpeedX(2.0f);
  s.SetSpeedY(1.0f);
  s.SetDirection(-1.0f, 0.0f, 0);
  s.SetFriction(50);
  std::vector<float> vx, speedY;
  for (int i = 0; i < 5; ++i) {
    s.UpdateVelocity();
    s.Move();
    vx.push_back(s.GetVelocityX());
    speedY.push_back(s.GetSpeedY());
  }
  EXPECT_EQ(vx, (std::vector<float>{-1.5f, -1.0f, -0.5f, -0.0f, -0.0f}));
  EXPECT_EQ(speedY, (std::vector<float>{0.5f, 0.0f, 0.0f, 0.0f, 0.0f}));
  EXPECT_EQ(s.GetX(), -3.0f);
}

TEST_F(SpriteMovementTest, AccelerationFallsAndSpeedsUp) {
  Sprite s;
  s.SetAccelerationMode(1, 0);
  s.acceleration = -3.0f;  // taken as 1.0
  s.SetSpeedX(1.0f);
  s.SetSpeedY(1.0f);
  s.SetDirection(0.6f, 0.8f, 0);
  s.UpdateVelocity();
  EXPECT_EQ(s.acceleration, 1.0f);
  EXPECT_FLOAT_EQ(s.GetSpeedX(), 1.05f);
  // x pulled toward 0 by 1/41, then normalised again.
  float dx = 0.6f - 1.0f / 41.0f, dy = 0.8f;
  float len = std::sqrt(dx * dx + dy * dy);
  EXPECT_FLOAT_EQ(s.GetDirectionX(), dx / len);
  EXPECT_FLOAT_EQ(s.GetVelocityY(), s.GetSpeedY() * dy / len);

  // Climbing with no speed left turns the sprite back down.
  s.SetSpeedX(0.02f);
  s.SetSpeedY(0.02f);
  s.SetDirection(0.6f, -0.8f, 0);
  s.UpdateVelocity();
  EXPECT_EQ(s.GetSpeedX(), 0.0f);
  EXPECT_GT(s.GetDirectionY(), 0.0f);
}

TEST_F(SpriteMovementTest, AccelerationOnFlatGroundTipsTheSpriteDown) {
  Sprite s;
  s.SetAccelerationMode(1, 0);
  s.acceleration = 1.0f;
  s.SetSpeedX(2.0f);
  s.SetSpeedY(2.0f);
  s.SetDirection(1.0f, 0.0f, 0);
  s.touchedMap = 1;  // standing on the map: the direction stays
  s.UpdateVelocity();
  EXPECT_EQ(s.GetDirectionX(), 1.0f);
  EXPECT_EQ(s.GetDirectionY(), 0.0f);
  EXPECT_FLOAT_EQ(s.GetSpeedX(), 1.95f);

  s.touchedMap = 0;  // in the air: x eases off and y turns downward
  s.UpdateVelocity();
  float dx = 1.0f - 1.0f / 41.0f, dy = 1.0f / 43.0f;
  float len = std::sqrt(dx * dx + dy * dy);
  EXPECT_FLOAT_EQ(s.GetDirectionX(), dx / len);
  EXPECT_FLOAT_EQ(s.GetDirectionY(), dy / len);

  s.SetAccelerationMode(1, 1);  // fast: slows by a tenth
  s.SetDirection(-0.5f, -0.5f, 0);
  s.SetSpeedX(1.0f);
  s.SetSpeedY(1.0f);
  s.UpdateVelocity();
  EXPECT_FLOAT_EQ(s.GetSpeedX(), 0.9f);
}

TEST_F(SpriteMovementTest, FrameDrivenMovement) {
  FillEntry(1, {{{1}}});
  SpriteFrame& f = AnimationTable[1].actions[0].frames[0];
  f.movementX = 2.0f;
  f.movementY = 0.5f;
  f.flipXAllowed = 1;
  Sprite s;
  s.SetAnimation(1);
  s.frameMovementOn = 1;
  s.SetSpeedX(3.0f);
  s.SetSpeedY(4.0f);
  s.frameMovementSignX = -1.0f;
  s.UpdateVelocity();
  EXPECT_EQ(s.GetDirectionX(), -1.0f);
  EXPECT_EQ(s.GetDirectionY(), 1.0f);
  EXPECT_EQ(s.GetVelocityX(), -6.0f);
  EXPECT_EQ(s.GetVelocityY(), 2.0f);
  EXPECT_TRUE(s.IsFlippedX());
  s.frameMovementAlongY = 0;
  s.frameMovementSignX = 1.0f;
  s.UpdateVelocity();
  EXPECT_EQ(s.GetDirectionY(), 0.0f);
  EXPECT_EQ(s.GetVelocityX(), 6.0f);
  EXPECT_FALSE(s.IsFlippedX());
  s.Move();  // the flips are left to the frames
  EXPECT_EQ(s.GetX(), 6.0f);
}

TEST_F(SpriteMovementTest, APathIsFollowedStepByStep) {
  Sprite s;
  s.SetPathLength(2);
  s.SetPathStep(1, 10, 0);
  s.SetPathStep(2, 0, 5);
  s.SetPathStep(3, 1, 1);  // past the path: ignored
  s.SetSpeedX(3.0f);
  s.SetSpeedY(3.0f);
  s.StartPath(0);
  struct Tick {
    int32_t step;
    uint32_t distance;
    float dx, dy;
  };
  std::vector<Tick> expected = {{0, 3, 1, 0}, {0, 6, 1, 0}, {0, 9, 1, 0}, {1, 0, 1, 0},
                                {1, 3, 0, 1}, {-1, 0, 0, 0}, {-1, 0, 0, 0}};
  for (size_t i = 0; i < expected.size(); ++i) {
    s.FollowPath();
    EXPECT_EQ(s.pathStep, expected[i].step) << i;
    EXPECT_EQ(s.pathDistance, expected[i].distance) << i;
    EXPECT_EQ(s.GetDirectionX(), expected[i].dx) << i;
    EXPECT_EQ(s.GetDirectionY(), expected[i].dy) << i;
  }
  EXPECT_EQ(s.pathLength, 2u);  // the steps stay for a new start

  s.StartPath(1);
  for (int i = 0; i < 6; ++i) s.FollowPath();
  EXPECT_EQ(s.pathStep, 0);  // looped

  s.ClearPath();
  EXPECT_EQ(s.path, nullptr);
  EXPECT_EQ(s.pathStep, -1);
  EXPECT_EQ(s.GetDirectionX(), 0.0f);
}

TEST_F(SpriteMovementTest, PathStepLengthsAndSlowSprites) {
  Sprite s;
  s.SetPathLength(2);
  s.SetPathStep(2, 0, 107);
  EXPECT_EQ(s.path[1].unitX, 0.0f);
  EXPECT_EQ(s.path[1].unitY, 1.0f);
  EXPECT_EQ(s.path[1].length, 107u);
  s.SetPathStep(1, 45, 1);
  EXPECT_EQ(s.path[0].length, 45u);
  s.SetPathStep(1, -30, -40);
  EXPECT_EQ(s.path[0].unitX, -0.6f);
  EXPECT_TRUE(s.path[0].length == 50u || s.path[0].length == 49u);
  s.SetPathStep(1, 0, 0);
  EXPECT_EQ(s.path[0].length, 0u);

  s.SetPathStep(1, 5, 0);
  s.SetSpeedX(0.5f);
  s.StartPath(0);
  for (int i = 0; i < 50; ++i) s.FollowPath();
  EXPECT_EQ(s.pathStep, 0);
  EXPECT_EQ(s.pathDistance, 0u);
}

TEST_F(SpriteMovementTest, OtherSpritesMoveFreelyOnTheirMap) {
  Sprite s;
  scene->viewPort.SetLeft(10.0f);
  s.velocityX = 2.5f;
  s.velocityY = -1.0f;
  s.SetX(-50.0f);
  s.Move();
  EXPECT_EQ(s.GetX(), -47.5f);
  EXPECT_EQ(s.GetY(), -1.0f);
  EXPECT_EQ(s.GetScreenX(), -57);
  Map map;
  map.kind = 1;
  map.worldX = 100.0f;
  s.map = &map;
  s.Move();
  EXPECT_EQ(s.GetScreenX(), 100 - 10 - 45);
  s.map = nullptr;
}

TEST_F(SpriteMovementTest, FlipsFollowTheDirectionWhereTheFrameAllows) {
  FillEntry(1, {{{1}}});
  AnimationTable[1].actions[0].frames[0].flipXAllowed = 1;
  Sprite s;
  s.SetAnimation(1);
  s.SetDirection(-1.0f, -1.0f, 0);
  s.Move();
  EXPECT_TRUE(s.IsFlippedX());
  EXPECT_FALSE(s.IsFlippedY());
  s.SetDirection(0.0f, 1.0f, 0);
  s.Move();
  EXPECT_TRUE(s.IsFlippedX());  // unchanged while x is 0
  s.SetDirection(1.0f, 0.0f, 0);
  s.Move();
  EXPECT_FALSE(s.IsFlippedX());
}

TEST_F(SpriteMovementTest, BounceReflectsAboutTheContactNormal) {
  Sprite s;
  s.SetBounce(1);
  s.SetRectangleCollision(0);
  s.SetDirection(1.0f, 1.0f, 0);
  s.body = CollisionSegment(0, 0, 0, 10, 0, 0);  // normal (-1, 0)
  s.timeOfImpact = 0.5f;
  s.Move();
  EXPECT_FLOAT_EQ(s.GetDirectionX(), -std::sqrt(0.5f));
  EXPECT_FLOAT_EQ(s.GetDirectionY(), std::sqrt(0.5f));
  s.timeOfImpact = 1.5f;
  s.Move();
  EXPECT_LT(s.GetDirectionX(), 0.0f);
}

// A 20 x 20 frame whose collision rectangle is (2, 3, 17, 18).
void MakeHeroEntry() {
  FillEntry(4, {{{1}}});
  SetRect(&AnimationTable[4].actions[0].frames[0].collisionRects[kFlipNone], 2, 3, 17, 18);
}

TEST_F(SpriteMovementTest, TheMainCharacterScrollsTheViewAndStaysInTheWorld) {
  MakeHeroEntry();
  scene->SetWidth(1280);
  scene->SetHeight(480);
  ViewPort& view = scene->viewPort;
  view.SetWorldWidth(1280.0f);
  view.SetScrollBox(200.0f, 100.0f, 240.0f, 280.0f);  // left 200 .. right 440
  view.SetRightPushLimit(250.0f);
  Sprite hero;
  hero.SetAnimation(4);
  hero.SetX(300.0f);
  hero.SetY(200.0f);
  MainCharacter = &hero;
  hero.velocityX = 10.0f;

  // Free inside the box, then the view scrolls with it, then the box edge gives way, then
  // the world's edge stops it.
  std::vector<float> xs, lefts;
  for (int i = 0; i < 150; ++i) {
    hero.Move();
    xs.push_back(hero.GetX());
    lefts.push_back(view.GetLeft());
  }
  EXPECT_EQ(xs[0], 310.0f);
  EXPECT_EQ(lefts[0], 0.0f);
  EXPECT_EQ(hero.GetX(), 1280.0f - 17.0f);
  EXPECT_EQ(view.GetLeft(), 640.0f);
  EXPECT_EQ(hero.GetScreenX(), 1263 - 640);
  EXPECT_GT(view.GetScrollBoxRight(), 440.0f);
  // While the view scrolled, the hero stood still on the screen.
  bool scrolled = false;
  for (size_t i = 1; i < xs.size(); ++i) {
    if (lefts[i] != lefts[i - 1]) {
      scrolled = true;
      EXPECT_EQ(xs[i] - lefts[i], xs[i - 1] - lefts[i - 1]) << i;
    }
  }
  EXPECT_TRUE(scrolled);

  // Walking back pulls the pushed edge home.
  float pushedRight = view.GetScrollBoxRight();
  hero.velocityX = -10.0f;
  hero.Move();
  EXPECT_EQ(view.GetScrollBoxRight(), pushedRight - 10.0f);
  for (int i = 0; i < 40; ++i) hero.Move();
  // Pulled by whole steps of the movement, it may end up to one step inside its place.
  EXPECT_LE(view.GetScrollBoxRight(), 440.0f);
  EXPECT_GT(view.GetScrollBoxRight(), 430.0f);
}

TEST_F(SpriteMovementTest, TheMainCharacterStopsAtTheLeftAndTopEdges) {
  MakeHeroEntry();
  ViewPort& view = scene->viewPort;
  view.SetScrollBox(100.0f, 100.0f, 440.0f, 280.0f);
  view.SetLeftPushLimit(300.0f);
  view.SetTopPushLimit(300.0f);
  Sprite hero;
  hero.SetAnimation(4);
  hero.SetX(5.0f);
  hero.SetY(4.0f);
  MainCharacter = &hero;
  hero.velocityX = -20.0f;
  hero.velocityY = -20.0f;
  hero.Move();
  EXPECT_EQ(hero.GetX(), -2.0f);
  EXPECT_EQ(hero.GetY(), -3.0f);
  EXPECT_EQ(view.GetLeft(), 0.0f);
  EXPECT_EQ(view.GetScrollBoxLeft(), 100.0f - 7.0f);
  EXPECT_EQ(view.GetScrollBoxTop(), 100.0f - 7.0f);
}

}  // namespace
}  // namespace quor
