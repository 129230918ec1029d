// The swept tests sample the motion instead of solving it: the caller's step count (a
// sprite's speed) sets how many samples are taken, about one per pixel moved. Every value
// is a 32-bit float computed in the order written; only the loop tests and the polygon
// clip work in double.
#include <cmath>
#include <vector>

#include "engine/core/node_list.h"
#include "engine/scene/collision_shape.h"

namespace quor {
namespace {

// The sample spacing: 1 / steps, or a single sample for step counts below 1 (and for
// the meaningless negative or non-number counts).
float StepSize(float steps) {
  if (steps == 0.0f) return 1.0f;
  const float step = 1.0f / steps;
  if (!(step > 0.0f) || step > 1.0f) return 1.0f;
  return step;
}

struct Unit {
  float x = 0.0f;
  float y = 0.0f;
};

// The vector's direction, (0, 0) for a vector without one.
Unit UnitVector(float x, float y) {
  Unit u;
  const float length = std::sqrt(x * x + y * y);
  if (length > 0.0f) {
    u.x = x / length;
    u.y = y / length;
  }
  return u;
}

// A segment from a to b, with its edge vector e = b - a.
struct Span {
  float ax, ay, bx, by, ex, ey, lengthSquared;
};

Span MakeSpan(float ax, float ay, float bx, float by) {
  const float ex = bx - ax;
  const float ey = by - ay;
  return {ax, ay, bx, by, ex, ey, ex * ex + ey * ey};
}

// Where a circle around (cx, cy) can touch a segment: an end point within the radius's
// reach beyond the segment, or the foot of the perpendicular.
struct Reach {
  bool reachable = true;
  bool atEnd = true;
  float toCentreX = 0.0f;  // from the touched point to the centre
  float toCentreY = 0.0f;
  float distance = 0.0f;
};

// joinsAreEnds: whether a foot falling exactly on an end point counts as an end (the
// segment sweeping against a circle) or as the segment's inside (a circle sweeping).
Reach ReachSegment(const Span& s, float cx, float cy, float radius, bool joinsAreEnds) {
  float p = -1.0f;
  float e = 0.0f;
  if (s.lengthSquared != 0.0f) {
    p = ((cx - s.ax) * s.ex + (cy - s.ay) * s.ey) / s.lengthSquared;
    e = radius / std::sqrt(s.lengthSquared);
  }
  const bool startEnd = joinsAreEnds ? (-e <= p && p <= 0.0f) : (-e <= p && p < 0.0f);
  const bool farEnd = joinsAreEnds ? (1.0f <= p && p <= 1.0f + e) : (1.0f < p && p <= 1.0f + e);
  const bool inside = joinsAreEnds ? (0.0f < p && p < 1.0f) : (0.0f <= p && p <= 1.0f);
  Reach reach;
  float qx = 0.0f;
  float qy = 0.0f;
  if (startEnd) {
    qx = s.ax;
    qy = s.ay;
  } else if (farEnd) {
    qx = s.bx;
    qy = s.by;
  } else if (inside) {
    qx = s.ax + p * s.ex;
    qy = s.ay + p * s.ey;
    reach.atEnd = false;
  } else {
    reach.reachable = false;
    return reach;
  }
  reach.toCentreX = cx - qx;
  reach.toCentreY = cy - qy;
  reach.distance =
      std::sqrt(reach.toCentreX * reach.toCentreX + reach.toCentreY * reach.toCentreY);
  return reach;
}

// Moves t to the next sample. The sum is compared with 1 before it is rounded to a float,
// so t reaches 1 only when the additions land on it exactly. A step too small to move t
// ends the sampling instead of repeating the same sample forever.
bool NextSample(float& t, float step, bool includeOne) {
  const double sum = static_cast<double>(t) + static_cast<double>(step);
  if (includeOne ? sum > 1.0 : sum >= 1.0) return false;
  const float next = static_cast<float>(sum);
  if (next == t) return false;
  t = next;
  return true;
}

// A quadrilateral edge for the clip: its start point and the normal (-ey, ex) of its
// edge vector e, which points outwards when the corners run the right way round.
CollisionSegment Edge(float startX, float startY, float endX, float endY) {
  CollisionSegment edge;
  edge.SetStart(startX, startY);
  const float ex = endX - startX;
  const float ey = endY - startY;
  edge.SetNormalX(-ey);
  edge.SetNormalY(ex);
  return edge;
}

// Cyrus-Beck clipping of w against edges, in double.
bool ClipToEdges(CollisionSegment& w, const CollisionSegment* const* edges, int count) {
  double entering = 0.0;
  double leaving = 1.0;
  const double dx = static_cast<double>(w.GetDirectionX()) * static_cast<double>(w.GetLengthX());
  const double dy = static_cast<double>(w.GetDirectionY()) * static_cast<double>(w.GetLengthY());
  for (int i = 0; i < count; ++i) {
    const CollisionSegment& edge = *edges[i];
    const double nx = edge.GetNormalX();
    const double ny = edge.GetNormalY();
    const double num = nx * (static_cast<double>(edge.GetX1()) - w.GetX1()) +
                       ny * (static_cast<double>(edge.GetY1()) - w.GetY1());
    const double den = nx * dx + ny * dy;
    if (den < 0.0) {
      const double r = num / den;
      if (r > leaving) return false;
      if (r > entering) entering = r;
    } else if (den > 0.0) {
      const double r = num / den;
      if (r < entering) return false;
      if (r < leaving) leaving = r;
    } else if (!(num > 0.0)) {
      return false;
    }
  }
  if (entering == 0.0 || leaving == 1.0) w.SetHit(1);
  return true;
}

}  // namespace

bool ClipSegmentToConvexPolygon(CollisionSegment& w, const NodeList& edges) {
  std::vector<const CollisionSegment*> collected;
  for (Node* n = edges.GetHead(); !n->IsEnd(); n = n->GetNext())
    if (const auto* edge = dynamic_cast<const CollisionSegment*>(n)) collected.push_back(edge);
  return ClipToEdges(w, collected.data(), static_cast<int>(collected.size()));
}

bool CollisionSegment::SweptSegmentVsSegment(CollisionSegment& obstacle, float bodyX,
                                             float bodyY, float obstacleX, float obstacleY,
                                             float motionX, float motionY, float steps) {
  obstacle.SetContact(NoContactMark, NoContactMark);
  CollisionSegment placed(obstacle);
  placed.x1_ = obstacle.x1_ + obstacleX;
  placed.y1_ = obstacle.y1_ + obstacleY;

  const float step = StepSize(steps);
  const Unit u = UnitVector(motionX, motionY);
  // Moving exactly along the segment sweeps no area; the far edge is then pushed one
  // pixel per unit of motion towards the normal's side.
  const float along = u.x * directionX_ + u.y * directionY_;
  float farX = motionX;
  float farY = motionY;
  if (along == 1.0f) {
    farY = u.x >= 0.0f ? motionY + 1.0f : motionY - 1.0f;
    farX = u.y >= 0.0f ? motionX - 1.0f : motionX + 1.0f;
  } else if (along == -1.0f) {
    farY = u.x >= 0.0f ? motionY - 1.0f : motionY + 1.0f;
    farX = u.y >= 0.0f ? motionX + 1.0f : motionX - 1.0f;
  }
  const float spanX = directionX_ * lengthX_;
  const float spanY = directionY_ * lengthY_;

  float t = 0.0f;
  do {
    const float ax = x1_ + bodyX + t * motionX;
    const float ay = y1_ + bodyY + t * motionY;
    const float bx = ax + spanX;
    const float by = ay + spanY;
    const float farT = t + 2.0f * step;
    const float fax = x1_ + bodyX + farT * farX;
    const float fay = y1_ + bodyY + farT * farY;
    const float fbx = fax + spanX;
    const float fby = fay + spanY;
    const CollisionSegment edges[4] = {Edge(ax, ay, fax, fay), Edge(fax, fay, fbx, fby),
                                       Edge(fbx, fby, bx, by), Edge(bx, by, ax, ay)};
    const CollisionSegment* const edgeList[4] = {&edges[0], &edges[1], &edges[2], &edges[3]};
    if (ClipToEdges(placed, edgeList, 4)) {
      if (placed.hit_) obstacle.hit_ = 1;
      timeOfImpact_ = t;
      return true;
    }
  } while (NextSample(t, step, false));
  return false;
}

bool CollisionSegment::SweptSegmentVsCircle(CollisionCircle& obstacle, float bodyX,
                                            float bodyY, float obstacleX, float obstacleY,
                                            float motionX, float motionY, float steps) {
  obstacle.SetContact(NoContactMark, NoContactMark);
  const float cx = obstacle.x_ + obstacleX;
  const float cy = obstacle.y_ + obstacleY;
  const float radius = obstacle.radius_;
  const float step = StepSize(steps);
  const Unit u = UnitVector(motionX, motionY);
  const float spanX = directionX_ * lengthX_;
  const float spanY = directionY_ * lengthY_;

  float t = step;
  do {
    const float ax = x1_ + bodyX + t * motionX;
    const float ay = y1_ + bodyY + t * motionY;
    const Reach reach = ReachSegment(MakeSpan(ax, ay, ax + spanX, ay + spanY), cx, cy, radius,
                                     true);
    if (reach.reachable && reach.distance <= radius) {
      const Unit n = UnitVector(reach.toCentreX, reach.toCentreY);
      if (u.x * n.x + u.y * n.y > 0.0f) obstacle.SetContact(-n.y, n.x);
      timeOfImpact_ = t - step;
      return true;
    }
  } while (NextSample(t, step, true));
  return false;
}

bool CollisionCircle::SweptCircleVsSegment(CollisionSegment& obstacle, float bodyX,
                                           float bodyY, float obstacleX, float obstacleY,
                                           float motionX, float motionY, float steps) {
  obstacle.SetContact(NoContactMark, NoContactMark);
  const float ax = obstacle.x1_ + obstacleX;
  const float ay = obstacle.y1_ + obstacleY;
  const Span span = MakeSpan(ax, ay, ax + obstacle.directionX_ * obstacle.lengthX_,
                             ay + obstacle.directionY_ * obstacle.lengthY_);
  const float step = StepSize(steps);
  const Unit u = UnitVector(motionX, motionY);
  const float facing = obstacle.normalX_ * u.x + obstacle.normalY_ * u.y;

  float t = step;
  do {
    const float cx = x_ + bodyX + t * motionX;
    const float cy = y_ + bodyY + t * motionY;
    const Reach reach = ReachSegment(span, cx, cy, radius_, false);
    if (reach.reachable && reach.distance <= radius_) {
      if (reach.atEnd) {
        const Unit n = UnitVector(reach.toCentreX, reach.toCentreY);
        if (u.x * n.x + u.y * n.y < 0.0f) {
          obstacle.SetContact(n.y, -n.x);
          timeOfImpact_ = t - step;
        } else {
          timeOfImpact_ = facing == -1.0f ? NoImpactTime : t - step;
        }
      } else {
        // Sliding along the segment does not shorten the move.
        timeOfImpact_ = facing == 0.0f ? NoImpactTime : t - step;
      }
      return true;
    }
  } while (NextSample(t, step, true));
  return false;
}

bool CollisionCircle::SweptCircleVsCircle(CollisionCircle& obstacle, float bodyX, float bodyY,
                                          float obstacleX, float obstacleY, float motionX,
                                          float motionY, float steps) {
  obstacle.SetContact(NoContactMark, NoContactMark);
  const float cx = obstacle.x_ + obstacleX;
  const float cy = obstacle.y_ + obstacleY;
  const float step = StepSize(steps);
  const Unit u = UnitVector(motionX, motionY);

  float t = step;
  do {
    const float px = x_ + bodyX + t * motionX;
    const float py = y_ + bodyY + t * motionY;
    const float dx = px - cx;
    const float dy = py - cy;
    const float distance = std::sqrt(dx * dx + dy * dy);
    if (obstacle.radius_ + radius_ >= distance) {
      // Coinciding centres, or a rim point that falls on the obstacle's centre, give no
      // direction to push along: the touch counts, but no contact is recorded.
      if (distance > 0.0f) {
        const float k = radius_ / distance;
        const float wx = dx * (1.0f - k);
        const float wy = dy * (1.0f - k);
        const Unit n = UnitVector(wx, wy);
        if (u.x * n.x + u.y * n.y < 0.0f) obstacle.SetContact(n.x, n.y);
      }
      timeOfImpact_ = t - step;
      return true;
    }
  } while (NextSample(t, step, true));
  return false;
}

}  // namespace quor
