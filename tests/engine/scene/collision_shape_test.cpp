#include "engine/scene/collision_shape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/core/node_list.h"
#include "engine/core/object_stream.h"
#include "../../support/file_bytes.h"

namespace quor {
namespace {

std::string TempPath(const char* name) { return testing::TempDir() + "shapes_" + name; }

using testing_support::FileSize;

bool IsNoContact(const CollisionShape& s) {
  return s.GetContactX() == NoContactMark && s.GetContactY() == NoContactMark;
}

TEST(CollisionSegmentTest, ConstructionFromEndPoints) {
  CollisionSegment horizontal(170, 113, 8, 113, 0, 0);
  EXPECT_EQ(horizontal.GetDirectionX(), -1.0f);
  EXPECT_EQ(horizontal.GetDirectionY(), 0.0f);
  EXPECT_EQ(horizontal.GetLengthX(), 162.0f);
  EXPECT_EQ(horizontal.GetLengthY(), 162.0f);
  EXPECT_EQ(horizontal.GetNormalX(), 0.0f);
  EXPECT_EQ(horizontal.GetNormalY(), -1.0f);
  EXPECT_EQ(horizontal.GetX2(), 8.0f);
  EXPECT_EQ(horizontal.GetY2(), 113.0f);
  EXPECT_TRUE(IsNoContact(horizontal));
  EXPECT_EQ(horizontal.GetTimeOfImpact(), 1.5f);
  EXPECT_EQ(horizontal.GetShapeType(), 0);

  CollisionSegment vertical(0, 0, 0, 20, -7, 3);
  EXPECT_EQ(vertical.GetDirectionX(), 0.0f);
  EXPECT_EQ(vertical.GetDirectionY(), 1.0f);
  EXPECT_EQ(vertical.GetLengthX(), 20.0f);
  EXPECT_EQ(vertical.GetLengthY(), 20.0f);
  EXPECT_EQ(vertical.GetNormalX(), -1.0f);
  EXPECT_EQ(vertical.GetNormalY(), 0.0f);
  EXPECT_EQ(vertical.GetValue(), -7);
  EXPECT_EQ(vertical.GetFlag(), 3);

  CollisionSegment diagonal(0, 0, 3, 4, 0, 0);
  EXPECT_EQ(diagonal.GetDirectionX(), 3.0f / 5.0f);
  EXPECT_EQ(diagonal.GetDirectionY(), 4.0f / 5.0f);
  EXPECT_FLOAT_EQ(diagonal.GetLengthX(), 5.0f);
  EXPECT_FLOAT_EQ(diagonal.GetLengthY(), 5.0f);

  CollisionSegment point(4, 5, 4, 5, 0, 0);
  EXPECT_EQ(point.GetX1(), 4.0f);
  EXPECT_EQ(point.GetDirectionX(), 0.0f);
  EXPECT_EQ(point.GetDirectionY(), 0.0f);
  EXPECT_EQ(point.GetLengthX(), 0.0f);
  EXPECT_EQ(point.GetLengthY(), 0.0f);
  EXPECT_EQ(point.GetNormalX(), 0.0f);  // may be a negative zero
  EXPECT_EQ(point.GetNormalY(), 0.0f);

  // Points whose difference underflows in the length stay a point segment, not infinities.
  CollisionSegment tiny(0, 0, 1e-30f, 0, 0, 0);
  EXPECT_EQ(tiny.GetDirectionX(), 0.0f);
  EXPECT_EQ(tiny.GetLengthX(), 0.0f);
}

TEST(CollisionSegmentTest, IsSetReversedAndCopy) {
  CollisionSegment fresh;
  EXPECT_FALSE(fresh.IsSet());
  fresh.SetValue(5);
  fresh.SetTimeOfImpact(0.25f);
  fresh.SetFlag(1);
  fresh.SetHit(1);
  EXPECT_FALSE(fresh.IsSet()) << "value, time of impact, flag and hit are not looked at";
  fresh.SetContact(200.0f, 0.5f);
  EXPECT_TRUE(fresh.IsSet());
  EXPECT_FALSE(fresh.HasContact());
  fresh.SetContact(0.0f, 1.0f);
  EXPECT_TRUE(fresh.HasContact());
  CollisionSegment normalOnly;
  normalOnly.SetNormalY(1.0f);
  EXPECT_TRUE(normalOnly.IsSet());

  // A test that finds nothing leaves an obstacle's contact unset.
  CollisionSegment wall(10, 5, 10, 20, 0, 0);
  wall.SetContact(0, 1);
  CollisionCircle body(0, 0, 1, 0, 0);
  EXPECT_FALSE(body.SweptCircleVsSegment(wall, 0, 0, 0, 0, 8, 0, 8));
  EXPECT_FALSE(wall.HasContact());

  CollisionSegment source(2, 3, 12, 3, 9, 1);
  source.SetContact(0.5f, 0.5f);
  source.SetTimeOfImpact(0.25f);
  source.SetHit(1);
  CollisionSegment reversed = source.Reversed();
  EXPECT_EQ(reversed.GetX1(), 12.0f);
  EXPECT_EQ(reversed.GetY1(), 3.0f);
  EXPECT_EQ(reversed.GetDirectionX(), -1.0f);
  EXPECT_EQ(reversed.GetNormalY(), -1.0f);
  EXPECT_EQ(reversed.GetLengthX(), 10.0f);
  EXPECT_EQ(reversed.GetValue(), 9);
  EXPECT_EQ(reversed.GetFlag(), 1);
  EXPECT_TRUE(IsNoContact(reversed));
  EXPECT_EQ(reversed.GetTimeOfImpact(), 1.5f);
  EXPECT_EQ(reversed.GetHit(), 0);
  EXPECT_EQ(reversed.GetX2(), 2.0f);

  CollisionSegment copy;
  copy = source;
  EXPECT_EQ(copy.GetHit(), 1);
  EXPECT_EQ(copy.GetContactX(), 0.5f);
  EXPECT_EQ(copy.GetTimeOfImpact(), 0.25f);
  EXPECT_EQ(copy.GetNext(), nullptr);
  std::unique_ptr<Node> clone(source.Clone());
  auto* cloned = dynamic_cast<CollisionSegment*>(clone.get());
  ASSERT_NE(cloned, nullptr);
  EXPECT_EQ(cloned->GetX1(), 2.0f);
  EXPECT_EQ(cloned->GetHit(), 1);
}

TEST(CollisionShapeTest, SaveAndLoadSizesAndFields) {
  const std::string segmentPath = TempPath("segment.bin");
  const std::string circlePath = TempPath("circle.bin");
  CollisionSegment segment(1.5f, -2, 7, 9, -123456, 0x81);
  segment.SetContact(0.25f, -0.75f);
  segment.SetTimeOfImpact(0.375f);
  segment.SetHit(1);
  CollisionCircle circle(3.5f, 4.25f, 6, 42, 2);
  circle.SetContact(-1, 0);
  circle.SetTimeOfImpact(0.5f);
  {
    ObjectStream out(segmentPath, true);
    segment.Save(out);
    ASSERT_TRUE(out.Good());
  }
  {
    ObjectStream out(circlePath, true);
    circle.Save(out);
    ASSERT_TRUE(out.Good());
  }
  EXPECT_EQ(FileSize(segmentPath), 50);
  EXPECT_EQ(FileSize(circlePath), 29);

  CollisionSegment segmentBack;
  {
    ObjectStream in(segmentPath, false);
    segmentBack.Load(in);
    EXPECT_TRUE(in.Good());
  }
  EXPECT_EQ(segmentBack.GetX1(), segment.GetX1());
  EXPECT_EQ(segmentBack.GetY1(), segment.GetY1());
  EXPECT_EQ(segmentBack.GetDirectionX(), segment.GetDirectionX());
  EXPECT_EQ(segmentBack.GetDirectionY(), segment.GetDirectionY());
  EXPECT_EQ(segmentBack.GetLengthX(), segment.GetLengthX());
  EXPECT_EQ(segmentBack.GetLengthY(), segment.GetLengthY());
  EXPECT_EQ(segmentBack.GetValue(), -123456);
  EXPECT_EQ(segmentBack.GetContactX(), 0.25f);
  EXPECT_EQ(segmentBack.GetContactY(), -0.75f);
  EXPECT_EQ(segmentBack.GetNormalX(), segment.GetNormalX());
  EXPECT_EQ(segmentBack.GetNormalY(), segment.GetNormalY());
  EXPECT_EQ(segmentBack.GetTimeOfImpact(), 0.375f);
  EXPECT_EQ(segmentBack.GetFlag(), 0x81);
  EXPECT_EQ(segmentBack.GetHit(), 1);

  CollisionCircle circleBack;
  {
    ObjectStream in(circlePath, false);
    circleBack.Load(in);
    EXPECT_TRUE(in.Good());
  }
  EXPECT_EQ(circleBack.GetX(), 3.5f);
  EXPECT_EQ(circleBack.GetY(), 4.25f);
  EXPECT_EQ(circleBack.GetRadius(), 6.0f);
  EXPECT_EQ(circleBack.GetValue(), 42);
  EXPECT_EQ(circleBack.GetContactX(), -1.0f);
  EXPECT_EQ(circleBack.GetContactY(), 0.0f);
  EXPECT_EQ(circleBack.GetTimeOfImpact(), 0.5f);
  EXPECT_EQ(circleBack.GetFlag(), 2);

  // A truncated file fails the stream and leaves the rest of the shape alone.
  {
    ObjectStream out(circlePath, true);
    out.WriteLong(1.0f);
  }
  CollisionCircle partial(9, 9, 9, 9, 9);
  {
    ObjectStream in(circlePath, false);
    partial.Load(in);
    EXPECT_FALSE(in.Good());
  }
  EXPECT_EQ(partial.GetX(), 1.0f);
  EXPECT_EQ(partial.GetRadius(), 9.0f);
  std::remove(segmentPath.c_str());
  std::remove(circlePath.c_str());
}

TEST(CollisionShapeTest, SavedByClassName) {
  const std::string path = TempPath("objects.bin");
  NodeList list;
  list.AddHead(new CollisionCircle(1, 2, 3, 4, 5));
  list.AddHead(new CollisionSegment(0, 0, 10, 0, 6, 0));
  {
    ObjectStream out(path, true);
    list.Save(out);
    ASSERT_TRUE(out.Good());
  }
  // count + per object: name (32) + id (4) + its fields
  EXPECT_EQ(FileSize(path), 4 + (36 + 50) + (36 + 29));
  NodeList back;
  {
    ObjectStream in(path, false);
    back.Load(in);
    ASSERT_TRUE(in.Good());
  }
  ASSERT_EQ(back.Count(), 2);
  auto* first = dynamic_cast<CollisionSegment*>(back.GetHead());
  auto* second = dynamic_cast<CollisionCircle*>(back.GetHead()->GetNext());
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->GetValue(), 6);
  EXPECT_EQ(first->GetLengthX(), 10.0f);
  EXPECT_EQ(second->GetRadius(), 3.0f);
  EXPECT_STREQ(first->GetClassRecord().name, "CollisionSegment");
  EXPECT_STREQ(second->GetClassRecord().name, "CollisionCircle");
  std::unique_ptr<Node> made(CreateObjectByName("CollisionCircle"));
  auto* madeCircle = dynamic_cast<CollisionCircle*>(made.get());
  ASSERT_NE(madeCircle, nullptr);
  EXPECT_EQ(madeCircle->GetShapeType(), 1);
  EXPECT_EQ(madeCircle->GetRadius(), 0.0f);
  EXPECT_TRUE(IsNoContact(*madeCircle));
  std::remove(path.c_str());
}

// The cheap question agrees with the type system for every class that can be made by name,
// so a new shape class would be noticed here.
TEST(CollisionShapeTest, ShapesAreKnownByTheirClassRecord) {
  ASSERT_GE(GetClassRegistry().size(), 17u);
  int shapes = 0;
  for (const ClassRecord& record : GetClassRegistry()) {
    std::unique_ptr<Node> made(record.factory());
    ASSERT_NE(made, nullptr) << record.name;
    auto* expected = dynamic_cast<CollisionShape*>(made.get());
    EXPECT_EQ(AsCollisionShape(made.get()), expected) << record.name;
    shapes += expected != nullptr;
  }
  EXPECT_EQ(shapes, 2);
  Node plain;
  EXPECT_EQ(AsCollisionShape(&plain), nullptr);
}

TEST(QuickTests, OutCodes) {
  EXPECT_EQ(ComputeOutCode(5, 5, 0, 10, 0, 10), 0);
  EXPECT_EQ(ComputeOutCode(10, 0, 0, 10, 0, 10), 0);
  EXPECT_EQ(ComputeOutCode(5, 11, 0, 10, 0, 10), 1);
  EXPECT_EQ(ComputeOutCode(5, -1, 0, 10, 0, 10), 2);
  EXPECT_EQ(ComputeOutCode(11, 11, 0, 10, 0, 10), 5);
  EXPECT_EQ(ComputeOutCode(-1, -1, 0, 10, 0, 10), 10);
}

TEST(QuickTests, SegmentHitsRect) {
  // End point inside, either range order.
  EXPECT_TRUE(SegmentHitsRect(5, 5, 100, 100, 0, 10, 0, 10));
  EXPECT_TRUE(SegmentHitsRect(100, 100, 5, 5, 10, 0, 10, 0));
  // Crossing the rectangle with both end points outside.
  EXPECT_TRUE(SegmentHitsRect(-5, 5, 15, 5, 0, 10, 0, 10));
  EXPECT_TRUE(SegmentHitsRect(-5, -4, 15, 16, 0, 10, 0, 10));
  // Wholly to one side.
  EXPECT_FALSE(SegmentHitsRect(-5, -5, 15, -5, 0, 10, 0, 10));
  EXPECT_FALSE(SegmentHitsRect(11, -5, 11, 15, 0, 10, 0, 10));
  // Cutting past a corner without touching it, and touching a corner exactly.
  EXPECT_FALSE(SegmentHitsRect(-5, 4, 4, -5, 0, 10, 0, 10));
  EXPECT_TRUE(SegmentHitsRect(-5, 5, 5, -5, 0, 10, 0, 10));
  // Lying on the border.
  EXPECT_TRUE(SegmentHitsRect(-5, 10, 15, 10, 0, 10, 0, 10));
  // A grid cell test as the maps use it: a wall through the cell's left column.
  EXPECT_TRUE(SegmentHitsRect(128, -50, 128, 300, 128, 256, 0, 128));
  EXPECT_FALSE(SegmentHitsRect(127.5f, -50, 127.5f, 300, 128, 256, 0, 128));
}

TEST(QuickTests, CircleNearSegment) {
  // The segment (0, 0)-(10, 0): midpoint (5, 0), half length 5.
  EXPECT_TRUE(CircleNearSegment(5, 0, 0, 0, 10, 0, 0));
  EXPECT_TRUE(CircleNearSegment(5, 5, 0, 0, 10, 0, 0));
  EXPECT_FALSE(CircleNearSegment(5, 5.5f, 0, 0, 10, 0, 0));
  EXPECT_TRUE(CircleNearSegment(5, 7, 2, 0, 10, 0, 0));
  EXPECT_FALSE(CircleNearSegment(5, 7.5f, 2, 0, 10, 0, 0));
  // The argument order is x1, x2, y1, y2: a vertical segment (3, 0)-(3, 10).
  EXPECT_TRUE(CircleNearSegment(3, 5, 0, 3, 3, 0, 10));
  EXPECT_FALSE(CircleNearSegment(9, 5, 0, 3, 3, 0, 10));
}

TEST(QuickTests, ClipSegmentToConvexPolygon) {
  // The square (0, 0)-(10, 10), corners run so that (-ey, ex) points outwards.
  NodeList square;
  const float corners[5][2] = {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}};
  for (int i = 3; i >= 0; --i) {
    auto* edge = new CollisionSegment;
    edge->SetStart(corners[i][0], corners[i][1]);
    edge->SetNormalX(-(corners[i + 1][1] - corners[i][1]));
    edge->SetNormalY(corners[i + 1][0] - corners[i][0]);
    square.AddHead(edge);
  }
  CollisionSegment through(-5, 5, 15, 5, 0, 0);
  EXPECT_TRUE(ClipSegmentToConvexPolygon(through, square));
  EXPECT_EQ(through.GetHit(), 0);
  CollisionSegment fromInside(5, 5, 20, 5, 0, 0);
  EXPECT_TRUE(ClipSegmentToConvexPolygon(fromInside, square));
  EXPECT_EQ(fromInside.GetHit(), 1);
  CollisionSegment toInside(-5, 5, 5, 5, 0, 0);
  EXPECT_TRUE(ClipSegmentToConvexPolygon(toInside, square));
  EXPECT_EQ(toInside.GetHit(), 1);
  CollisionSegment outside(20, 0, 30, 0, 0, 0);
  EXPECT_FALSE(ClipSegmentToConvexPolygon(outside, square));
  // Along a side: parallel with num 0 is rejected.
  CollisionSegment alongSide(-5, 0, 15, 0, 0, 0);
  EXPECT_FALSE(ClipSegmentToConvexPolygon(alongSide, square));
  // A point obstacle strictly inside is accepted.
  CollisionSegment point(5, 5, 5, 5, 0, 0);
  EXPECT_TRUE(ClipSegmentToConvexPolygon(point, square));
}

// --- segment body against segment obstacle ---

TEST(SweptSegmentVsSegment, StopsAtTheSampleWhoseAreaReachesTheWall) {
  // A floor edge moving down onto a wide wall: the area at sample t spans y 8t .. 8t + 2.
  CollisionSegment body(0, 0, 10, 0, 0, 0);  // normal (0, 1): faces the downward move
  CollisionSegment wall(15, 4.5f, -5, 4.5f, 0, 0);
  wall.SetContact(1, 1);
  EXPECT_TRUE(body.SweptSegmentVsSegment(wall, 0, 0, 0, 0, 0, 8, 8));
  EXPECT_EQ(body.GetTimeOfImpact(), 0.375f);
  EXPECT_EQ(wall.GetHit(), 0) << "no end point of the wall lies in the area";
  EXPECT_TRUE(IsNoContact(wall)) << "the segment test writes no contact";

  // The same with offsets: the body stands at (100, 50), the wall's owner at (100, 50).
  CollisionSegment body2(0, 0, 10, 0, 0, 0);
  EXPECT_TRUE(body2.SweptSegmentVsSegment(wall, 100, 50, 100, 50, 0, 8, 8));
  EXPECT_EQ(body2.GetTimeOfImpact(), 0.375f);

  // Moving away from the side of its normal, the area is inside out and nothing is hit.
  CollisionSegment backwards(10, 0, 0, 0, 0, 0);  // normal (0, -1)
  backwards.SetTimeOfImpact(1.5f);
  EXPECT_FALSE(backwards.SweptSegmentVsSegment(wall, 0, 0, 0, 0, 0, 8, 8));
  EXPECT_EQ(backwards.GetTimeOfImpact(), 1.5f) << "written only on a hit";
}

TEST(SweptSegmentVsSegment, CornerContactSetsTheHitByte) {
  CollisionSegment body(0, 0, 10, 0, 0, 0);
  CollisionSegment post(5, 20, 5, 6, 0, 0);  // its end (5, 6) pokes into the swept area
  EXPECT_TRUE(body.SweptSegmentVsSegment(post, 0, 0, 0, 0, 0, 8, 8));
  EXPECT_EQ(body.GetTimeOfImpact(), 0.5f);
  EXPECT_EQ(post.GetHit(), 1);
}

TEST(SweptSegmentVsSegment, MoveEndingExactlyOnTheWall) {
  // The far edge of sample 0.75 lies exactly on the wall (collinear: rejected); the
  // sample 0.875 covers it.
  CollisionSegment body(0, 0, 10, 0, 0, 0);
  CollisionSegment wall(15, 8, -5, 8, 0, 0);
  EXPECT_TRUE(body.SweptSegmentVsSegment(wall, 0, 0, 0, 0, 0, 8, 8));
  EXPECT_EQ(body.GetTimeOfImpact(), 0.875f);
}

TEST(SweptSegmentVsSegment, StepCounts) {
  CollisionSegment wall(15, 15, -5, 15, 0, 0);
  // Steps below 1 give a single sample at t = 0 whose area reaches twice the motion.
  for (float steps : {0.0f, 0.5f, 1.0f}) {
    CollisionSegment body(0, 0, 10, 0, 0, 0);
    EXPECT_TRUE(body.SweptSegmentVsSegment(wall, 0, 0, 0, 0, 0, 10, steps)) << steps;
    EXPECT_EQ(body.GetTimeOfImpact(), 0.0f);
  }
  CollisionSegment farWall(15, 25, -5, 25, 0, 0);
  CollisionSegment body(0, 0, 10, 0, 0, 0);
  EXPECT_FALSE(body.SweptSegmentVsSegment(farWall, 0, 0, 0, 0, 0, 10, 0.5f));
  // Four steps sample 0, 0.25, 0.5 and 0.75: the area reaches at most 1.25 of the motion.
  CollisionSegment wallAt12(15, 12, -5, 12, 0, 0);
  EXPECT_TRUE(body.SweptSegmentVsSegment(wallAt12, 0, 0, 0, 0, 0, 10, 4));
  EXPECT_EQ(body.GetTimeOfImpact(), 0.75f);
  CollisionSegment wallAt13(15, 13, -5, 13, 0, 0);
  EXPECT_FALSE(body.SweptSegmentVsSegment(wallAt13, 0, 0, 0, 0, 0, 10, 4));
  // A zero motion sweeps a flat area: no hit.
  EXPECT_FALSE(body.SweptSegmentVsSegment(wall, 0, 0, 0, 0, 0, 0, 4));
}

TEST(SweptSegmentVsSegment, MovingAlongItselfSweepsOnePixelOnTheNormalSide) {
  // Moving right along itself, the far edge drifts one pixel per unit of T towards +y.
  CollisionSegment below(15, 0.5f, 16, 0.5f, 0, 0);
  CollisionSegment body(0, 0, 10, 0, 0, 0);
  EXPECT_TRUE(body.SweptSegmentVsSegment(below, 0, 0, 0, 0, 10, 0, 10));
  EXPECT_EQ(below.GetHit(), 1);
  CollisionSegment above(15, -0.5f, 16, -0.5f, 0, 0);
  CollisionSegment body2(0, 0, 10, 0, 0, 0);
  EXPECT_FALSE(body2.SweptSegmentVsSegment(above, 0, 0, 0, 0, 10, 0, 10));
  // Moving left along a segment that runs right: the normal side is still +y.
  CollisionSegment reversedBody(10, 0, 0, 0, 0, 0);  // direction (-1, 0), normal (0, -1)
  CollisionSegment aboveLeft(-6, -0.5f, -5, -0.5f, 0, 0);
  EXPECT_TRUE(reversedBody.SweptSegmentVsSegment(aboveLeft, 0, 0, 0, 0, -10, 0, 10));
  // A point body sweeps nothing.
  CollisionSegment point(0, 0, 0, 0, 0, 0);
  CollisionSegment wall(-5, 5, 5, 5, 0, 0);
  EXPECT_FALSE(point.SweptSegmentVsSegment(wall, 0, 0, 0, 0, 0, 10, 10));
}

// --- segment body against circle obstacle ---

TEST(SweptSegmentVsCircle, ContactIsTheTangentFacingTheBody) {
  CollisionSegment body(0, 0, 10, 0, 0, 0);
  CollisionCircle ball(5, 8, 2, 0, 0);
  EXPECT_TRUE(body.SweptSegmentVsCircle(ball, 0, 0, 0, 0, 0, 10, 8));
  // First sample within reach: 10t >= 6, t = 0.625; the time of impact is the one before.
  EXPECT_EQ(body.GetTimeOfImpact(), 0.5f);
  EXPECT_EQ(ball.GetContactX(), -1.0f);
  EXPECT_EQ(ball.GetContactY(), 0.0f);

  // Touching an end point: the circle lies beyond B within one radius.
  CollisionSegment body2(0, 0, 10, 0, 0, 0);
  CollisionCircle beside(11, 4, 1.5f, 0, 0);
  EXPECT_TRUE(body2.SweptSegmentVsCircle(beside, 0, 0, 0, 0, 0, 8, 8));
  EXPECT_EQ(body2.GetTimeOfImpact(), 0.25f);  // t = 0.375: (10, 3) to (11, 4) is 1.414
  EXPECT_FALSE(IsNoContact(beside));

  // Moving away from the circle: the touch counts but no contact is written.
  CollisionSegment body3(0, 0, 10, 0, 0, 0);
  CollisionCircle behind(5, -1, 2, 0, 0);
  EXPECT_TRUE(body3.SweptSegmentVsCircle(behind, 0, 0, 0, 0, 0, 8, 8));
  EXPECT_EQ(body3.GetTimeOfImpact(), 0.0f);
  EXPECT_TRUE(IsNoContact(behind));

  // Missing wholly, and a point body that can never touch.
  CollisionSegment body4(0, 0, 10, 0, 0, 0);
  CollisionCircle far(30, 5, 2, 0, 0);
  far.SetContact(1, 0);
  EXPECT_FALSE(body4.SweptSegmentVsCircle(far, 0, 0, 0, 0, 0, 8, 8));
  EXPECT_TRUE(IsNoContact(far)) << "reset on entry even without a hit";
  CollisionSegment point(5, 0, 5, 0, 0, 0);
  EXPECT_FALSE(point.SweptSegmentVsCircle(ball, 0, 0, 0, 0, 0, 10, 8));
}

// --- circle body against segment obstacle ---

TEST(SweptCircleVsSegment, InsideTouchesAndSliding) {
  CollisionCircle body(0, 0, 2, 0, 0);
  CollisionSegment floor(-10, 8, 10, 8, 0, 0);  // normal (0, 1)
  EXPECT_TRUE(body.SweptCircleVsSegment(floor, 0, 0, 0, 0, 0, 10, 8));
  EXPECT_EQ(body.GetTimeOfImpact(), 0.5f);
  EXPECT_TRUE(IsNoContact(floor));

  // Sliding along the segment (normal . u exactly 0) gives no time of impact.
  CollisionCircle slider(0, 6.5f, 2, 0, 0);
  EXPECT_TRUE(slider.SweptCircleVsSegment(floor, 0, 0, 0, 0, 8, 0, 8));
  EXPECT_EQ(slider.GetTimeOfImpact(), 1.5f);

  // Grazing exactly: distance equal to the radius is a touch.
  CollisionCircle grazer(0, 7, 1, 0, 0);
  EXPECT_TRUE(grazer.SweptCircleVsSegment(floor, 0, 0, 0, 0, 8, 0, 8));
  CollisionCircle clear(0, 6.9f, 1, 0, 0);
  EXPECT_FALSE(clear.SweptCircleVsSegment(floor, 0, 0, 0, 0, 8, 0, 8));
}

TEST(SweptCircleVsSegment, MoveEndingExactlyOnTheSegment) {
  CollisionCircle body(0, 0, 1, 0, 0);
  CollisionSegment wall(-10, 9, 10, 9, 0, 0);
  // The sums of eighths land exactly on 1, where the rim just reaches the wall.
  EXPECT_TRUE(body.SweptCircleVsSegment(wall, 0, 0, 0, 0, 0, 8, 8));
  EXPECT_EQ(body.GetTimeOfImpact(), 0.875f);
  // With five steps the last sample is 0.8, so the same move misses.
  CollisionCircle body5(0, 0, 1, 0, 0);
  EXPECT_FALSE(body5.SweptCircleVsSegment(wall, 0, 0, 0, 0, 0, 8, 5));
}

TEST(SweptCircleVsSegment, EndPointContacts) {
  // A vertical post whose top end is at (5, 0.6); the circle runs along y = 0.
  CollisionSegment post(5, 0.6f, 5, 20, 0, 0);  // normal (-1, 0)
  CollisionCircle body(0, 0, 1, 0, 0);
  EXPECT_TRUE(body.SweptCircleVsSegment(post, 0, 0, 0, 0, 8, 0, 16));
  // First touch at centre (4.5, 0), t = 0.5625.
  EXPECT_EQ(body.GetTimeOfImpact(), 0.5f);
  const float dx = 4.5f - 5.0f;
  const float dy = 0.0f - 0.6f;
  const float d = std::sqrt(dx * dx + dy * dy);
  EXPECT_EQ(post.GetContactX(), dy / d);
  EXPECT_EQ(post.GetContactY(), -(dx / d));

  // Meeting the end point head on from the segment's back (normal . u = -1 and the
  // circle not moving towards the end point) gives no time of impact.
  CollisionSegment rail(5, 0.5f, 5, 10, 0, 0);
  CollisionCircle runner(0, 0, 1, 0, 0);
  EXPECT_TRUE(runner.SweptCircleVsSegment(rail, 0, 0, 0, 0, 8, 0, 8));
  EXPECT_EQ(runner.GetTimeOfImpact(), 1.5f);
  EXPECT_TRUE(IsNoContact(rail));

  // The circle lies beyond the end point along the segment's line by more than a radius.
  CollisionSegment shortPost(5, 1.5f, 5, 20, 0, 0);
  CollisionCircle passer(0, 0, 1, 0, 0);
  EXPECT_FALSE(passer.SweptCircleVsSegment(shortPost, 0, 0, 0, 0, 8, 0, 16));

  // A point obstacle is never touched.
  CollisionSegment point(4, 0, 4, 0, 0, 0);
  CollisionCircle over(0, 0, 3, 0, 0);
  EXPECT_FALSE(over.SweptCircleVsSegment(point, 0, 0, 0, 0, 8, 0, 8));
}

// --- circle body against circle obstacle ---

TEST(SweptCircleVsCircle, ContactIsTheNormalTowardsTheBody) {
  CollisionCircle body(0, 0, 1, 0, 0);
  CollisionCircle obstacle(5, 0, 1, 0, 0);
  EXPECT_TRUE(body.SweptCircleVsCircle(obstacle, 0, 0, 0, 0, 8, 0, 8));
  EXPECT_EQ(body.GetTimeOfImpact(), 0.25f);
  EXPECT_EQ(obstacle.GetContactX(), -1.0f);
  EXPECT_EQ(obstacle.GetContactY(), 0.0f);

  // The obstacle standing at its owner's position.
  CollisionCircle body2(0, 0, 1, 0, 0);
  CollisionCircle local(0, 0, 1, 0, 0);
  EXPECT_TRUE(body2.SweptCircleVsCircle(local, 100, 100, 105, 100, 8, 0, 8));
  EXPECT_EQ(body2.GetTimeOfImpact(), 0.25f);

  // Already touching at the first sample.
  CollisionCircle body3(0, 0, 2, 0, 0);
  CollisionCircle near(3.5f, 0, 2, 0, 0);
  EXPECT_TRUE(body3.SweptCircleVsCircle(near, 0, 0, 0, 0, 8, 0, 8));
  EXPECT_EQ(body3.GetTimeOfImpact(), 0.0f);

  // Grazing while moving away: a touch, but nothing recorded on the obstacle.
  CollisionCircle body4(0, 0, 1, 0, 0);
  CollisionCircle left(-1.5f, 0, 1, 0, 0);
  EXPECT_TRUE(body4.SweptCircleVsCircle(left, 0, 0, 0, 0, 8, 0, 16));
  EXPECT_EQ(body4.GetTimeOfImpact(), 0.0f);
  EXPECT_TRUE(IsNoContact(left));
}

TEST(SweptCircleVsCircle, StepSampling) {
  // Radius-0 circles meet only at t = 1 exactly.
  auto run = [](float steps, float* toi) {
    CollisionCircle body(0, 0, 0, 0, 0);
    CollisionCircle target(10, 0, 0, 0, 0);
    bool hit = body.SweptCircleVsCircle(target, 0, 0, 0, 0, 10, 0, steps);
    *toi = body.GetTimeOfImpact();
    return hit;
  };
  float toi = 0;
  EXPECT_TRUE(run(4, &toi));
  EXPECT_EQ(toi, 0.75f);
  EXPECT_TRUE(run(8, &toi));
  EXPECT_EQ(toi, 0.875f);
  EXPECT_FALSE(run(5, &toi)) << "0.2, 0.4, 0.6 and 0.8 only";
  EXPECT_FALSE(run(3, &toi)) << "1/3 and 2/3 only";
  for (float steps : {0.0f, 0.5f, 1.0f, -3.0f}) {
    EXPECT_TRUE(run(steps, &toi)) << steps;
    EXPECT_EQ(toi, 0.0f);
  }
  // A step too small to move t ends the sampling instead of hanging.
  EXPECT_FALSE(run(1e30f, &toi));
}

TEST(SweptCircleVsCircle, DegenerateCasesRecordNoContact) {
  // Centres that coincide (radius-0 circles meeting head on).
  CollisionCircle body(0, 0, 0, 0, 0);
  CollisionCircle target(5, 0, 0, 0, 0);
  EXPECT_TRUE(body.SweptCircleVsCircle(target, 0, 0, 0, 0, 8, 0, 8));
  EXPECT_EQ(body.GetTimeOfImpact(), 0.5f);
  EXPECT_TRUE(IsNoContact(target));
  // The body's rim point on the obstacle's centre.
  CollisionCircle big(-1, 0, 2, 0, 0);
  CollisionCircle small(2, 0, 0.5f, 0, 0);
  EXPECT_TRUE(big.SweptCircleVsCircle(small, 0, 0, 0, 0, 8, 0, 8));
  EXPECT_EQ(big.GetTimeOfImpact(), 0.0f);
  EXPECT_TRUE(IsNoContact(small));
  // No motion: an overlap at the first sample, no contact.
  CollisionCircle still(0, 0, 1, 0, 0);
  CollisionCircle touching(1, 0, 1, 0, 0);
  EXPECT_TRUE(still.SweptCircleVsCircle(touching, 0, 0, 0, 0, 0, 0, 4));
  EXPECT_EQ(still.GetTimeOfImpact(), 0.0f);
  EXPECT_TRUE(IsNoContact(touching));
  EXPECT_FALSE(std::isnan(touching.GetContactX()));
}

TEST(SweptTests, CirclesAgainstSegmentsBothWays) {
  // A ball falling onto a floor and a floor rising onto the ball meet at the same time.
  CollisionCircle ball(0, 0, 2, 0, 0);
  CollisionSegment floor(-10, 10, 10, 10, 0, 0);
  EXPECT_TRUE(ball.SweptCircleVsSegment(floor, 0, 0, 0, 0, 0, 16, 16));
  CollisionSegment rising(10, 10, -10, 10, 0, 0);  // normal (0, -1): faces upward
  CollisionCircle still(0, 0, 2, 0, 0);
  EXPECT_TRUE(rising.SweptSegmentVsCircle(still, 0, 0, 0, 0, 0, -16, 16));
  EXPECT_EQ(ball.GetTimeOfImpact(), rising.GetTimeOfImpact());
  EXPECT_EQ(ball.GetTimeOfImpact(), 0.4375f);
}

}  // namespace
}  // namespace quor
