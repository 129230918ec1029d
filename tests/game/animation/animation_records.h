// What the animation tests read back out of the animation table.
#pragma once

#include <sstream>
#include <string>

#include "engine/scene/animation.h"
#include "engine/scene/collision_shape.h"

namespace game {
namespace testing_support {

// Every field a builder writes, and every shape, in list order.
inline std::string DescribeEntry(int entry) {
  std::ostringstream out;
  const quor::AnimationSet& set = quor::AnimationTable[entry];
  out << set.actionCount << ':';
  for (int a = 0; a < set.actionCount; ++a) {
    const quor::SpriteAction& action = set.actions[a];
    out << '[' << action.frameCount << ' ' << action.loopStart << ' ' << int(action.soundOn);
    for (int f = 0; f < action.frameCount; ++f) {
      const quor::SpriteFrame& fr = action.frames[f];
      out << " {" << fr.bitmapName << ' ' << fr.width << 'x' << fr.height << ' ' << fr.colorKey
          << ' ' << fr.duration << ' ' << fr.referencePoints[0][0].x << ','
          << fr.referencePoints[0][0].y << ' ' << fr.anchorX << ',' << fr.anchorY << ' '
          << int(fr.colorKeyOn);
      for (const quor::Rect& r : fr.collisionRects)
        out << " r" << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom;
      for (const quor::NodeList& list : fr.shapeLists) {
        out << " |";
        for (quor::Node* n = list.GetHead(); !n->IsEnd(); n = n->GetNext()) {
          auto* shape = static_cast<quor::CollisionShape*>(n);
          if (shape->GetShapeType() == 0) {
            auto* s = static_cast<quor::CollisionSegment*>(shape);
            out << " s" << s->GetX1() << ',' << s->GetY1() << ',' << s->GetX2() << ',' << s->GetY2();
          } else {
            auto* c = static_cast<quor::CollisionCircle*>(shape);
            out << " c" << c->GetX() << ',' << c->GetY() << ',' << c->GetRadius();
          }
        }
      }
      out << '}';
    }
    out << ']';
  }
  return out.str();
}

}  // namespace testing_support
}  // namespace game
