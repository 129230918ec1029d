#include <gtest/gtest.h>

#include <string>

#include "engine/display/map.h"
#include "engine/scene/animation.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/sprite.h"
#include "sprite_test_support.h"

namespace quor {
namespace {

constexpr int kBodySet = 40;   // an entry no scene of the game builds
constexpr int kOtherSet = 41;

// A 128 x 128 map (2 x 2 cells) with walls added before its grid is built, and sprites of
// a 10 x 10 frame (rectangle 0..9) standing on it.
class SpriteCollisionTest : public testing_support::SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    map.width = 128;
    map.height = 128;
    testing_support::FillEntry(kBodySet, {{{0}}}, 10, 10);
    testing_support::FillEntry(kOtherSet, {{{0}}}, 10, 10);
  }
  // A vertical wall at x whose front faces left (the side a sprite moving right meets).
  void WallFacingLeft(float x, uint8_t flag = 0) {
    map.AddCollisionSegment(CollisionSegment(x, 0, x, 100, 0, flag));
  }
  SpriteFrame& Frame(int set) { return AnimationTable[set].actions[0].frames[0]; }
  Sprite* Mover(const char* name, float x, float y, float dx, float dy, float speed) {
    Sprite* s = AddToLayer(0, name);
    s->map = &map;
    s->animationSet = kBodySet;
    s->x = x;
    s->y = y;
    s->directionX = dx;
    s->directionY = dy;
    s->speedX = s->speedY = speed;
    s->velocityX = dx * speed;
    s->velocityY = dy * speed;
    return s;
  }
  Sprite* Standing(const char* name, float x, float y) {
    Sprite* s = AddToLayer(1, name);
    s->map = &map;
    s->animationSet = kOtherSet;
    s->x = x;
    s->y = y;
    return s;
  }
  // The frame step's order: clear, map test, then the other sprites, then the time of impact.
  void Step(Sprite* s, std::initializer_list<Sprite*> others = {}) {
    s->ResetContacts();
    s->CheckMapCollision();
    for (Sprite* o : others) s->CheckSpriteCollision(o);
    s->ApplyTimeOfImpact();
  }

  Map map;
};

TEST_F(SpriteCollisionTest, RectangleStopsAtAWallAndRecordsIt) {
  WallFacingLeft(50);
  map.BuildCollisionGrid();
  Sprite* s = Mover("Hero", 35, 20, 1, 0, 10);  // its box sweeps 35..54 this frame
  Step(s);
  EXPECT_TRUE(s->IsTouchingMap());
  EXPECT_EQ(s->timeOfImpact, 0.0f);
  EXPECT_EQ(s->velocityX, 0.0f);
  ASSERT_EQ(s->touchedMapShapes.Size(), 1u);
  EXPECT_EQ(s->touchedMapShapes[0], map.GetGridCell(0, 0)->GetHead());
  EXPECT_FALSE(s->body.IsSet());

  // Short of the wall nothing is touched and the move stays whole.
  Sprite* far = Mover("Far", 10, 20, 1, 0, 10);
  Step(far);
  EXPECT_FALSE(far->IsTouchingMap());
  EXPECT_EQ(far->timeOfImpact, 1.5f);
  EXPECT_EQ(far->velocityX, 10.0f);
}

TEST_F(SpriteCollisionTest, WallsAreOnlyMetFromTheFrontAndReportingWallsDoNotStop) {
  WallFacingLeft(50);
  map.BuildCollisionGrid();
  // Moving left through the wall's back: the facing test skips it.
  Sprite* back = Mover("Back", 55, 20, -1, 0, 10);
  Step(back);
  EXPECT_FALSE(back->IsTouchingMap());
  EXPECT_EQ(back->velocityX, -10.0f);

  Map reporting;
  reporting.width = reporting.height = 128;
  reporting.AddCollisionSegment(CollisionSegment(50, 0, 50, 100, 0, 1));
  reporting.BuildCollisionGrid();
  Sprite* s = Mover("Hero", 35, 20, 1, 0, 10);
  s->map = &reporting;
  s->body = CollisionSegment(0, 0, 1, 1, 0, 0);
  s->CheckMapCollision();
  EXPECT_TRUE(s->IsTouchingMap());
  EXPECT_EQ(s->timeOfImpact, 1.5f);
  EXPECT_EQ(s->touchedMapShapes.Size(), 1u);
  EXPECT_FALSE(s->body.IsSet());  // reset all the same
}

TEST_F(SpriteCollisionTest, ShapeStopsAtTheTimeOfImpactAndTakesTheWallAsBody) {
  WallFacingLeft(50);
  map.BuildCollisionGrid();
  Frame(kBodySet).AddCollisionCircle(CollisionCircle(5, 5, 5, 0, 0));
  // Centre at 38 moving 8 a frame in steps of 1/8: the rim reaches the wall at t = 7/8,
  // one sample after the last free one.
  Sprite* s = Mover("Hero", 33, 20, 1, 0, 8);
  s->rectangleCollision = 0;
  Step(s);
  EXPECT_TRUE(s->IsTouchingMap());
  EXPECT_EQ(s->timeOfImpact, 0.75f);
  EXPECT_EQ(s->velocityX, 6.0f);
  EXPECT_EQ(s->velocityY, 0.0f);
  EXPECT_EQ(s->body.GetNormalX(), -1.0f);
  EXPECT_EQ(s->body.GetDirectionY(), 1.0f);
  EXPECT_EQ(s->touchedMapShapes.Size(), 1u);
  ASSERT_EQ(s->touchedBodyShapes.Size(), 1u);
  EXPECT_EQ(s->touchedBodyShapes[0], Frame(kBodySet).shapeLists[kFlipNone].GetHead());

  // A segment body meets the wall with its front (normal along the move).
  testing_support::FillEntry(kBodySet, {{{0}}}, 10, 10);
  Frame(kBodySet).AddCollisionSegment(CollisionSegment(9, 9, 9, 0, 0, 0));
  Sprite* edge = Mover("Edge", 36, 20, 1, 0, 8);
  edge->rectangleCollision = 0;
  Step(edge);
  EXPECT_TRUE(edge->IsTouchingMap());
  EXPECT_LT(edge->timeOfImpact, 1.0f);
  EXPECT_LE(edge->x + 9 + edge->velocityX, 50.0f);
  EXPECT_EQ(edge->body.GetNormalX(), -1.0f);  // the wall standing most squarely in the way

  // Without shapes in shape mode nothing is tested.
  testing_support::FillEntry(kBodySet, {{{0}}}, 10, 10);
  Sprite* bare = Mover("Bare", 35, 20, 1, 0, 10);
  bare->rectangleCollision = 0;
  Step(bare);
  EXPECT_FALSE(bare->IsTouchingMap());
  EXPECT_EQ(bare->velocityX, 10.0f);
}

TEST_F(SpriteCollisionTest, ACornerPokingIntoTheSweptAreaTurnsTheBodyAround) {
  // A ledge running left whose end point lies in the path of the sprite's right edge.
  map.AddCollisionSegment(CollisionSegment(60, 25, 48, 25, 0, 0));
  map.BuildCollisionGrid();
  Frame(kBodySet).AddCollisionSegment(CollisionSegment(9, 9, 9, 0, 0, 0));
  Sprite* s = Mover("Hero", 36, 20, 1, 0, 8);
  s->rectangleCollision = 0;
  Step(s);
  ASSERT_TRUE(s->IsTouchingMap());
  auto* edge = static_cast<CollisionSegment*>(Frame(kBodySet).shapeLists[kFlipNone].GetHead());
  EXPECT_EQ(edge->GetHit(), 1);
  // The body is the sprite's own edge run backwards: from its lower end, normal inwards.
  EXPECT_EQ(s->body.GetX1(), 9.0f);
  EXPECT_EQ(s->body.GetY1(), 0.0f);
  EXPECT_EQ(s->body.GetDirectionY(), 1.0f);
  EXPECT_EQ(s->body.GetNormalX(), -1.0f);
  EXPECT_LT(s->timeOfImpact, 1.0f);
}

TEST_F(SpriteCollisionTest, GrazingAMapCircleWhileMovingAwayRecordsNothing) {
  map.segments.AddHead(new CollisionCircle(30, 25, 5, 0, 0));
  map.BuildCollisionGrid();
  Frame(kBodySet).AddCollisionCircle(CollisionCircle(5, 5, 5, 0, 0));
  // Centre 38, overlapping the circle's rim and moving away from it.
  Sprite* s = Mover("Hero", 33, 20, 1, 0, 4);
  s->rectangleCollision = 0;
  Step(s);
  EXPECT_FALSE(s->IsTouchingMap());
  EXPECT_EQ(s->touchedMapShapes.Size(), 0u);
  EXPECT_EQ(s->velocityX, 4.0f);
}

TEST_F(SpriteCollisionTest, TouchedMapShapesStopAtTenAndAreListedOnce) {
  for (int i = 0; i < 11; ++i)
    map.AddCollisionSegment(CollisionSegment(50, 20 + 0.5f * i, 50, 20.5f + 0.5f * i, 0, 0));
  map.BuildCollisionGrid();
  Sprite* s = Mover("Hero", 35, 20, 1, 0, 10);
  Step(s);
  EXPECT_EQ(s->touchedMapShapes.Size(), 10u);

  // One obstacle listed once however often it is met; a wall reaching into two covered
  // cells is two obstacles.
  Map across;
  across.width = across.height = 256;
  across.AddCollisionSegment(CollisionSegment(130, 0, 130, 250, 0, 0));
  across.BuildCollisionGrid();
  Sprite* tall = Mover("Tall", 118, 120, 1, 0, 10);
  tall->map = &across;
  Step(tall);
  EXPECT_EQ(tall->touchedMapShapes.Size(), 2u);
  EXPECT_NE(tall->touchedMapShapes[0], tall->touchedMapShapes[1]);
}

TEST_F(SpriteCollisionTest, SpritesOffTheWorldAndPastTheGridAreSafe) {
  WallFacingLeft(50);
  map.BuildCollisionGrid();
  Sprite* parked = Mover("Shot", -500, -500, 1, 0, 10);
  Step(parked);
  EXPECT_FALSE(parked->IsTouchingMap());
  Sprite* beyond = Mover("Beyond", 5000, 5000, -1, 0, 10);
  Step(beyond);
  EXPECT_FALSE(beyond->IsTouchingMap());
  // A cell side changed after the grid was built walks cells the grid does not have.
  map.SetCompositionConstant(64);
  Sprite* edge = Mover("Edge", 120, 120, 1, 1, 10);
  Step(edge);
  EXPECT_FALSE(edge->IsTouchingMap());
  // No map, no frame: no test.
  Sprite* lost = Mover("Lost", 35, 20, 1, 0, 10);
  lost->map = nullptr;
  Step(lost);
  EXPECT_EQ(lost->velocityX, 10.0f);
}

TEST_F(SpriteCollisionTest, TwoSpritesRecordEachOtherOnce) {
  Sprite* a = Mover("A", 0, 0, 1, 0, 5);
  Sprite* b = Standing("B", 12, 0);
  Sprite* far = Standing("Far", 40, 0);
  Step(a, {b, far});
  EXPECT_EQ(a->timeOfImpact, 0.0f);
  EXPECT_EQ(a->velocityX, 0.0f);
  ASSERT_EQ(a->touchedNames.Size(), 1u);
  EXPECT_TRUE(a->HasTouched("B"));
  EXPECT_FALSE(a->HasTouched("Far"));
  EXPECT_TRUE(a->HasTouched(nullptr));
  ASSERT_EQ(b->touchedNames.Size(), 1u);
  EXPECT_TRUE(b->HasTouched("A"));
  ASSERT_EQ(a->touchedSprites.Size(), 1u);
  EXPECT_EQ(a->touchedSprites[0], b);
  ASSERT_EQ(b->touchedSprites.Size(), 1u);
  EXPECT_EQ(b->touchedSprites[0], a);
  EXPECT_FALSE(far->HasTouched(nullptr));
  EXPECT_EQ(a->touchedSpriteShapes.Size(), 0u);  // rectangle mode lists no shapes

  // Rectangles that only meet at an edge still count: the mover's box is widened by one.
  Sprite* c = Mover("C", 0, 30, 0, 0, 0);
  Sprite* d = Standing("D", 9, 30);
  Sprite* e = Standing("E", 11, 30);
  Step(c, {d, e});
  EXPECT_TRUE(c->HasTouched("D"));
  EXPECT_FALSE(c->HasTouched("E"));
}

TEST_F(SpriteCollisionTest, PassableSpritesAreRecordedWithoutStopping) {
  Sprite* a = Mover("A", 0, 0, 1, 0, 5);
  Sprite* ghost = Standing("Ghost", 12, 0);
  ghost->passable = 1;
  Step(a, {ghost});
  EXPECT_EQ(a->timeOfImpact, 1.5f);
  EXPECT_EQ(a->velocityX, 5.0f);
  EXPECT_TRUE(a->HasTouched("Ghost"));
  EXPECT_TRUE(ghost->HasTouched("A"));

  // In shape mode too, and it is not pushed by a circle.
  Frame(kBodySet).AddCollisionCircle(CollisionCircle(5, 5, 5, 0, 0));
  Frame(kOtherSet).AddCollisionCircle(CollisionCircle(5, 5, 5, 0, 0));
  ghost->bounce = 1;
  a->rectangleCollision = 0;
  a->x = 3;
  Step(a, {ghost});
  EXPECT_EQ(a->timeOfImpact, 1.5f);
  EXPECT_TRUE(a->HasTouched("Ghost"));
  EXPECT_EQ(ghost->directionX, 0.0f);

  // A passable mover is stopped by a solid other but pushes nothing.
  Sprite* solid = Standing("Solid", 12, 40);
  solid->bounce = 1;
  Sprite* mover = Mover("M", 3, 40, 1, 0, 5);
  mover->rectangleCollision = 0;
  mover->passable = 1;
  Step(mover, {solid});
  EXPECT_LT(mover->timeOfImpact, 1.0f);
  EXPECT_EQ(solid->directionX, 0.0f);
}

TEST_F(SpriteCollisionTest, ABouncingSpriteIsPushedAwayAlongTheContact) {
  Frame(kBodySet).AddCollisionCircle(CollisionCircle(5, 5, 5, 0, 0));
  Frame(kOtherSet).AddCollisionCircle(CollisionCircle(5, 5, 5, 0, 0));
  Sprite* ball = Standing("Ball", 12, 0);
  ball->bounce = 1;
  Sprite* a = Mover("A", 3, 0, 1, 0, 4);  // centres 8 and 17: already touching
  a->rectangleCollision = 0;
  Step(a, {ball});
  EXPECT_EQ(a->timeOfImpact, 0.0f);
  EXPECT_EQ(ball->directionX, 1.0f);
  EXPECT_EQ(ball->directionY, 0.0f);
  EXPECT_EQ(a->body.GetNormalX(), 1.0f);
  ASSERT_EQ(a->touchedSpriteShapes.Size(), 1u);
  EXPECT_EQ(a->touchedSpriteShapes[0], Frame(kOtherSet).shapeLists[kFlipNone].GetHead());

  // Without bounce it keeps its direction.
  Sprite* still = Standing("Still", 12, 40);
  Sprite* b = Mover("B", 3, 40, 1, 0, 4);
  b->rectangleCollision = 0;
  Step(b, {still});
  EXPECT_EQ(still->directionX, 0.0f);
}

TEST_F(SpriteCollisionTest, ContactListsKeepTheirCaps) {
  // Two shape pairs touching: the other's name twice.
  Frame(kBodySet).AddCollisionCircle(CollisionCircle(5, 5, 5, 0, 0));
  Frame(kOtherSet).AddCollisionCircle(CollisionCircle(5, 2, 3, 0, 0));
  Frame(kOtherSet).AddCollisionCircle(CollisionCircle(5, 8, 3, 0, 0));
  Sprite* a = Mover("A", 3, 0, 1, 0, 4);
  a->rectangleCollision = 0;
  Sprite* b = Standing("B", 12, 0);
  Step(a, {b});
  EXPECT_EQ(a->touchedNames.Size(), 2u);
  EXPECT_EQ(b->touchedNames.Size(), 2u);
  EXPECT_EQ(a->touchedSpriteShapes.Size(), 2u);
  EXPECT_EQ(a->touchedBodyShapes.Size(), 1u);

  // Six others at once: five names and five sprites kept.
  Sprite* hub = Mover("Hub", 50, 50, 0, 0, 0);
  std::vector<Sprite*> around;
  for (int i = 0; i < 6; ++i) around.push_back(Standing(("N" + std::to_string(i)).c_str(), 52, 52));
  hub->ResetContacts();
  for (Sprite* o : around) hub->CheckSpriteCollision(o);
  EXPECT_EQ(hub->touchedNames.Size(), 5u);
  EXPECT_EQ(hub->touchedSprites.Size(), 5u);
  EXPECT_TRUE(around[5]->HasTouched("Hub"));
}

TEST_F(SpriteCollisionTest, TimeOfImpactOfOneStillRewritesTheVelocity) {
  Sprite* s = Mover("S", 0, 0, 0.6f, 0.8f, 5);
  s->velocityX = 123.0f;
  s->timeOfImpact = 1.0f;
  s->ApplyTimeOfImpact();
  EXPECT_EQ(s->velocityX, 0.6f * 5.0f);
  EXPECT_EQ(s->velocityY, 0.8f * 5.0f);
  s->velocityX = 123.0f;
  s->timeOfImpact = 1.5f;
  s->ApplyTimeOfImpact();
  EXPECT_EQ(s->velocityX, 123.0f);
}

}  // namespace
}  // namespace quor
