// Collision geometry: directed line segments with a normal, and circles. Shapes are the
// obstacles of a map, the outlines of animation frames and the zones of alarms. The swept
// tests move a body shape along a motion in small steps and report whether, and at what
// fraction of the motion, it first touches an obstacle.
//
// Coordinates are 32-bit float world pixels, x to the right and y downwards. A body shape
// is stored relative to its sprite (callers pass the sprite position as the body offset);
// map obstacles are in world coordinates (callers pass a zero offset).
#pragma once

#include <cstdint>

#include "engine/core/class_record.h"
#include "engine/core/node.h"

namespace quor {

class NodeList;
class CollisionCircle;

// A contact slot holding this value (in either component) holds no contact.
constexpr float NoContactMark = 200.0f;
// A time of impact above 1 leaves the move as it is; this is the value the tests reset to.
constexpr float NoImpactTime = 1.5f;

// The abstract shape: what segments and circles share, and the kind.
class CollisionShape : public Node {
 public:
  static constexpr int32_t SegmentShape = 0;
  static constexpr int32_t CircleShape = 1;

  // 0 for a segment, 1 for a circle.
  virtual int32_t GetShapeType() const = 0;

  // A user value, kept as raw 32 bits.
  int32_t GetValue() const { return value_; }
  void SetValue(int32_t value) { value_ = value; }

  // The result slot the swept tests write on an obstacle: a unit vector, or (200, 200).
  float GetContactX() const { return contactX_; }
  float GetContactY() const { return contactY_; }
  void SetContact(float x, float y) {
    contactX_ = x;
    contactY_ = y;
  }
  // True when neither component is the no-contact mark (the sprite collision's reading).
  bool HasContact() const { return contactX_ != NoContactMark && contactY_ != NoContactMark; }

  // The fraction of the motion before the first touch, written on a body; 1.5 = none.
  float GetTimeOfImpact() const { return timeOfImpact_; }
  void SetTimeOfImpact(float value) { timeOfImpact_ = value; }

  // Option bits; on a map obstacle bit 0 means "record the touch, do not shorten the move".
  uint8_t GetFlag() const { return flag_; }
  void SetFlag(uint8_t value) { flag_ = value; }

 protected:
  CollisionShape(int32_t value, uint8_t flag) : value_(value), flag_(flag) {}

  int32_t value_ = 0;
  float contactX_ = NoContactMark;
  float contactY_ = NoContactMark;
  float timeOfImpact_ = NoImpactTime;
  uint8_t flag_ = 0;
};

// A directed segment: start point, unit direction, length (kept twice, see below) and the
// normal, which is the direction turned by +90 degrees.
class CollisionSegment : public CollisionShape {
 public:
  // Everything zero, contact (200, 200), time of impact 1.5.
  CollisionSegment();
  // From two end points; equal points give a point segment (direction, lengths, normal 0).
  CollisionSegment(float x1, float y1, float x2, float y2, int32_t value, uint8_t flag);

  Node* Clone() const override { return new CollisionSegment(*this); }
  // Saved as twelve 4-byte values and two bytes: 50 bytes.
  void Load(ObjectStream& stream) override;
  void Save(ObjectStream& stream) override;
  const ClassRecord& GetClassRecord() const override { return CollisionSegmentClassRecord; }
  int32_t GetShapeType() const override { return SegmentShape; }

  float GetX1() const { return x1_; }
  float GetY1() const { return y1_; }
  float GetDirectionX() const { return directionX_; }
  float GetDirectionY() const { return directionY_; }
  // Each length is the coordinate difference divided by its own direction component;
  // where that component is 0 it is copied from the other. Both equal the length.
  float GetLengthX() const { return lengthX_; }
  float GetLengthY() const { return lengthY_; }
  float GetNormalX() const { return normalX_; }
  float GetNormalY() const { return normalY_; }
  // The end point, which is not stored: start + direction * length, per axis.
  float GetX2() const { return x1_ + directionX_ * lengthX_; }
  float GetY2() const { return y1_ + directionY_ * lengthY_; }

  // These store one field and recompute nothing.
  void SetStart(float x, float y) {
    x1_ = x;
    y1_ = y;
  }
  void SetDirectionX(float value) { directionX_ = value; }
  void SetDirectionY(float value) { directionY_ = value; }
  void SetNormalX(float value) { normalX_ = value; }
  void SetNormalY(float value) { normalY_ = value; }

  // Set by the segment-against-segment test on an obstacle whose end point lay within the
  // swept area (a corner contact).
  uint8_t GetHit() const { return hit_; }
  void SetHit(uint8_t value) { hit_ = value; }

  // True when the segment holds any geometry or a contact (value, time of impact, flag
  // and hit are not looked at): a fresh default segment is not set.
  bool IsSet() const;
  // The same segment run the other way: starts at this one's end, direction and normal
  // negated, lengths, value and flag kept, results fresh.
  CollisionSegment Reversed() const;

  // The swept tests, called on the body. The body stands at (bodyX, bodyY) plus its own
  // coordinates, the obstacle at (obstacleX, obstacleY) plus its own, and the body moves
  // by (motionX, motionY) sampled about `steps` times. Each first resets the obstacle's
  // contact; on a touch it writes the body's time of impact and returns true.
  //
  // Against a segment: the time of impact is the sample at which the swept area first
  // holds part of the obstacle; the obstacle's hit byte marks a corner contact.
  bool SweptSegmentVsSegment(CollisionSegment& obstacle, float bodyX, float bodyY,
                             float obstacleX, float obstacleY, float motionX, float motionY,
                             float steps);
  // Against a circle: when the body moves towards it, the circle's contact becomes the
  // tangent at the touching point (its normal points from the circle to the body).
  bool SweptSegmentVsCircle(CollisionCircle& obstacle, float bodyX, float bodyY,
                            float obstacleX, float obstacleY, float motionX, float motionY,
                            float steps);

 private:
  friend class CollisionCircle;

  float x1_ = 0.0f;
  float y1_ = 0.0f;
  float directionX_ = 0.0f;
  float directionY_ = 0.0f;
  float lengthX_ = 0.0f;
  float lengthY_ = 0.0f;
  float normalX_ = 0.0f;
  float normalY_ = 0.0f;
  uint8_t hit_ = 0;
};

// A circle: centre and radius.
class CollisionCircle : public CollisionShape {
 public:
  // The registry's default: all zero.
  CollisionCircle() : CollisionCircle(0.0f, 0.0f, 0.0f, 0, 0) {}
  CollisionCircle(float x, float y, float radius, int32_t value, uint8_t flag);

  Node* Clone() const override { return new CollisionCircle(*this); }
  // Saved as seven 4-byte values and one byte: 29 bytes.
  void Load(ObjectStream& stream) override;
  void Save(ObjectStream& stream) override;
  const ClassRecord& GetClassRecord() const override { return CollisionCircleClassRecord; }
  int32_t GetShapeType() const override { return CircleShape; }

  float GetX() const { return x_; }
  float GetY() const { return y_; }
  float GetRadius() const { return radius_; }

  // The swept tests with a circle body (arguments as for the segment's).
  // Against a segment: touching an end point while moving towards it writes the tangent
  // there into the segment's contact; sliding along the segment's inside gives no time of
  // impact, nor does moving straight against an end point from the segment's back.
  bool SweptCircleVsSegment(CollisionSegment& obstacle, float bodyX, float bodyY,
                            float obstacleX, float obstacleY, float motionX, float motionY,
                            float steps);
  // Against a circle: when the body moves towards it, the obstacle's contact becomes the
  // unit normal from the obstacle's centre towards the body.
  bool SweptCircleVsCircle(CollisionCircle& obstacle, float bodyX, float bodyY,
                           float obstacleX, float obstacleY, float motionX, float motionY,
                           float steps);

 private:
  friend class CollisionSegment;

  float x_ = 0.0f;
  float y_ = 0.0f;
  float radius_ = 0.0f;
};

// The node as a shape, or null when it is none. Asked of every outline, obstacle and alarm
// zone each frame, so it compares the node's class record with those of the two shape
// classes (every shape is a segment or a circle) instead of asking the type system.
inline CollisionShape* AsCollisionShape(Node* node) {
  const ClassRecord* record = &node->GetClassRecord();
  return record == &CollisionSegmentClassRecord || record == &CollisionCircleClassRecord
             ? static_cast<CollisionShape*>(node)
             : nullptr;
}

// The Cohen-Sutherland region code of a point: 1 if y > ymax, else 2 if y < ymin; plus 4
// if x > xmax, else 8 if x < xmin; 0 inside or on the border.
int32_t ComputeOutCode(float x, float y, float xmin, float xmax, float ymin, float ymax);
// True if the segment (x1, y1)-(x2, y2) has a point inside or on the border of the
// rectangle spanning xa..xb and ya..yb (either order).
bool SegmentHitsRect(float x1, float y1, float x2, float y2, float xa, float xb, float ya,
                     float yb);
// True if the circle meets the circle around the segment (x1, y1)-(x2, y2); note the
// argument order: both x values, then both y values.
bool CircleNearSegment(float cx, float cy, float r, float x1, float x2, float y1, float y2);
// True when part of segment w lies inside the convex polygon whose edges are the
// CollisionSegments of `edges` (only their start points and normals count; normals point
// outwards). Sets w's hit byte when an end point of w lies inside.
bool ClipSegmentToConvexPolygon(CollisionSegment& w, const NodeList& edges);

}  // namespace quor
