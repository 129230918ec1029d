#include "engine/scene/collision_shape.h"

#include <cmath>
#include <utility>

#include "engine/core/object_stream.h"

namespace quor {

CollisionSegment::CollisionSegment() : CollisionShape(0, 0) {}

CollisionSegment::CollisionSegment(float x1, float y1, float x2, float y2, int32_t value,
                                   uint8_t flag)
    : CollisionShape(value, flag), x1_(x1), y1_(y1) {
  if (x1 != x2 || y1 != y2) {
    const float dx = x2 - x1;
    const float dy = y2 - y1;
    const float length = std::sqrt(dx * dx + dy * dy);
    // Points so close that the length underflows (or so far that it overflows) have no
    // usable direction; they are kept as a point segment rather than as infinities.
    if (length > 0.0f && std::isfinite(length)) {
      directionX_ = dx / length;
      directionY_ = dy / length;
      if (directionX_ != 0.0f) lengthX_ = dx / directionX_;
      if (directionY_ != 0.0f) lengthY_ = dy / directionY_;
      if (directionX_ == 0.0f) lengthX_ = lengthY_;
      if (directionY_ == 0.0f) lengthY_ = lengthX_;
    }
  }
  normalX_ = -directionY_;
  normalY_ = directionX_;
}

bool CollisionSegment::IsSet() const {
  return x1_ != 0.0f || y1_ != 0.0f || directionX_ != 0.0f || directionY_ != 0.0f ||
         lengthX_ != 0.0f || lengthY_ != 0.0f || normalX_ != 0.0f || normalY_ != 0.0f ||
         contactX_ != NoContactMark || contactY_ != NoContactMark;
}

CollisionSegment CollisionSegment::Reversed() const {
  CollisionSegment reversed;
  reversed.x1_ = GetX2();
  reversed.y1_ = GetY2();
  reversed.directionX_ = -directionX_;
  reversed.directionY_ = -directionY_;
  reversed.lengthX_ = lengthX_;
  reversed.lengthY_ = lengthY_;
  reversed.normalX_ = -normalX_;
  reversed.normalY_ = -normalY_;
  reversed.value_ = value_;
  reversed.flag_ = flag_;
  return reversed;
}

void CollisionSegment::Save(ObjectStream& stream) {
  stream.WriteLong(x1_);
  stream.WriteLong(y1_);
  stream.WriteLong(directionX_);
  stream.WriteLong(directionY_);
  stream.WriteLong(lengthX_);
  stream.WriteLong(lengthY_);
  stream.WriteLong(value_);
  stream.WriteLong(contactX_);
  stream.WriteLong(contactY_);
  stream.WriteLong(normalX_);
  stream.WriteLong(normalY_);
  stream.WriteLong(timeOfImpact_);
  stream.WriteByte(flag_);
  stream.WriteByte(hit_);
}

// Shapes are tested in real numbers and drawn in whole pixels: a file may hold only finite
// places within the largest world, unit directions and normals, and a time of a frame or so.
void CollisionSegment::Load(ObjectStream& stream) {
  stream.ReadReal(&x1_, kLargestSavedCoordinate);
  stream.ReadReal(&y1_, kLargestSavedCoordinate);
  stream.ReadReal(&directionX_, kLargestSavedUnit);
  stream.ReadReal(&directionY_, kLargestSavedUnit);
  stream.ReadReal(&lengthX_, kLargestSavedCoordinate);
  stream.ReadReal(&lengthY_, kLargestSavedCoordinate);
  stream.ReadLong(&value_);
  stream.ReadReal(&contactX_, kLargestSavedCoordinate);
  stream.ReadReal(&contactY_, kLargestSavedCoordinate);
  stream.ReadReal(&normalX_, kLargestSavedUnit);
  stream.ReadReal(&normalY_, kLargestSavedUnit);
  stream.ReadReal(&timeOfImpact_, kLargestSavedRate);
  stream.ReadByte(&flag_);
  stream.ReadByte(&hit_);
}

CollisionCircle::CollisionCircle(float x, float y, float radius, int32_t value, uint8_t flag)
    : CollisionShape(value, flag), x_(x), y_(y), radius_(radius) {}

void CollisionCircle::Save(ObjectStream& stream) {
  stream.WriteLong(x_);
  stream.WriteLong(y_);
  stream.WriteLong(radius_);
  stream.WriteLong(value_);
  stream.WriteLong(contactX_);
  stream.WriteLong(contactY_);
  stream.WriteLong(timeOfImpact_);
  stream.WriteByte(flag_);
}

void CollisionCircle::Load(ObjectStream& stream) {
  stream.ReadReal(&x_, kLargestSavedCoordinate);
  stream.ReadReal(&y_, kLargestSavedCoordinate);
  stream.ReadReal(&radius_, kLargestSavedCoordinate);
  stream.ReadLong(&value_);
  stream.ReadReal(&contactX_, kLargestSavedCoordinate);
  stream.ReadReal(&contactY_, kLargestSavedCoordinate);
  stream.ReadReal(&timeOfImpact_, kLargestSavedRate);
  stream.ReadByte(&flag_);
}

int32_t ComputeOutCode(float x, float y, float xmin, float xmax, float ymin, float ymax) {
  int32_t code = 0;
  if (y > ymax)
    code |= 1;
  else if (y < ymin)
    code |= 2;
  if (x > xmax)
    code |= 4;
  else if (x < xmin)
    code |= 8;
  return code;
}

bool SegmentHitsRect(float x1, float y1, float x2, float y2, float xa, float xb, float ya,
                     float yb) {
  if (xa > xb) std::swap(xa, xb);
  if (ya > yb) std::swap(ya, yb);
  int32_t code1 = ComputeOutCode(x1, y1, xa, xb, ya, yb);
  int32_t code2 = ComputeOutCode(x2, y2, xa, xb, ya, yb);
  // An end point inside is a point inside.
  if (code1 == 0 || code2 == 0) return true;
  // Each pass puts one end point on a border, so four passes settle any segment; a line
  // through a corner can make rounding trade one border for the other forever, and such
  // a segment touches the corner.
  for (int pass = 0; pass < 16; ++pass) {
    if ((code1 & code2) != 0) return false;
    const int32_t code = code1 != 0 ? code1 : code2;
    float x = 0.0f;
    float y = 0.0f;
    if (code & 1) {
      y = yb;
      x = x1 + (x2 - x1) * (yb - y1) / (y2 - y1);
    } else if (code & 2) {
      y = ya;
      x = x1 + (x2 - x1) * (ya - y1) / (y2 - y1);
    } else if (code & 4) {
      x = xb;
      y = y1 + (y2 - y1) * (xb - x1) / (x2 - x1);
    } else {
      x = xa;
      y = y1 + (y2 - y1) * (xa - x1) / (x2 - x1);
    }
    if (code == code1) {
      x1 = x;
      y1 = y;
      code1 = ComputeOutCode(x1, y1, xa, xb, ya, yb);
    } else {
      x2 = x;
      y2 = y;
      code2 = ComputeOutCode(x2, y2, xa, xb, ya, yb);
    }
    if (code1 == 0 || code2 == 0) return true;
  }
  return true;
}

bool CircleNearSegment(float cx, float cy, float r, float x1, float x2, float y1, float y2) {
  const float midX = (x1 + x2) / 2.0f;
  const float midY = (y1 + y2) / 2.0f;
  const float toCentreX = cx - midX;
  const float toCentreY = cy - midY;
  const float distance = std::sqrt(toCentreX * toCentreX + toCentreY * toCentreY);
  const float dx = x2 - x1;
  const float dy = y2 - y1;
  const float halfLength = std::sqrt(dx * dx + dy * dy) / 2.0f;
  return distance <= r + halfLength;
}

}  // namespace quor
