// Walking past what hurts: the steps of a route that look a little ahead at every sprite
// that costs the hero hearts (its shots, beams, balls, blades and bosses, moving as they
// move now) and hold back, step aside or stand while one would touch the hero.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

#include "engine/scene/animation.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "tests/support/walker.h"

namespace testing_support {

// Every name the hero takes damage from.
inline bool Hurts(const char* name) {
  static const char* const kHarm[] = {
      "FireBall",     "FireBall2",    "FireBall3",     "FireBall4",
      "Spinner1",     "Helmit",       "Spear",         "Spear1",
      "Spear2",       "Spear3",       "Mellon Man 1",  "Mellon Man 2",
      "Mellon Man 3", "Mellon Man 4", "Laser Beam Up", "Laser Beam Across",
      "Ball",         "Tball",        "Laser1",        "Laser2",
      "Barf",         "Tlaser",       "Tblob",         "Demon",
      "Tenma"};
  for (const char* harm : kHarm)
    if (std::strcmp(name, harm) == 0) return true;
  return false;
}

// A box in world pixels moving at a steady velocity.
struct MovingBox {
  float left, top, right, bottom, vx, vy;
  // Where the box is after t frames.
  MovingBox At(float t) const {
    return {left + vx * t, top + vy * t, right + vx * t, bottom + vy * t, vx, vy};
  }
  bool Overlaps(const MovingBox& o, float margin) const {
    return left < o.right + margin && o.left < right + margin && top < o.bottom + margin &&
           o.top < bottom + margin;
  }
};

// The sprite's body: the bounds of its frame's outline where it has one (a boss's picture
// is far larger than its body), else its collision rectangle.
inline MovingBox BoxOf(const quor::Sprite& s, float vx, float vy) {
  const quor::Rect r = s.GetCollisionRect();
  MovingBox box{
      s.GetX() + r.left, s.GetY() + r.top, s.GetX() + r.right, s.GetY() + r.bottom, vx, vy};
  const quor::SpriteFrame* frame = s.GetCurrentFrame();
  if (!frame || frame->shapeLists[0].Count() == 0) return box;
  bool first = true;
  for (const quor::Node* n = frame->shapeLists[0].GetHead(); !n->IsEnd(); n = n->GetNext()) {
    const auto* shape = dynamic_cast<const quor::CollisionSegment*>(n);
    if (!shape) continue;
    const float xs[] = {shape->GetX1(), shape->GetX2()}, ys[] = {shape->GetY1(), shape->GetY2()};
    for (int i = 0; i < 2; ++i) {
      const float x = s.GetX() + xs[i], y = s.GetY() + ys[i];
      if (first) box.left = box.right = x, box.top = box.bottom = y;
      first = false;
      box.left = std::min(box.left, x);
      box.right = std::max(box.right, x);
      box.top = std::min(box.top, y);
      box.bottom = std::max(box.bottom, y);
    }
  }
  return box;
}

// What hurts, as it moves now.
inline std::vector<MovingBox> Hazards() {
  std::vector<MovingBox> found;
  if (!quor::CurrentGameNode) return found;
  for (quor::NodeList& layer : quor::CurrentGameNode->layers)
    for (quor::Node* n = layer.GetHead(); !n->IsEnd(); n = n->GetNext()) {
      auto* s = static_cast<quor::Sprite*>(n);
      if (s->IsInactive() || s->GetX() < 0.0f || !Hurts(s->GetName())) continue;
      found.push_back(BoxOf(*s, s->GetVelocityX(), s->GetVelocityY()));
    }
  return found;
}

// A way to go: the key held (0: none) and how far it moves the hero a frame.
struct Move {
  uint8_t key;
  float dx, dy;
};

// The first frame within `horizon` in which the hero, walking so for `walk` frames and then
// standing, meets a hazard; horizon + 1 when it meets none.
inline int FirstMeeting(const quor::Sprite& hero, const std::vector<MovingBox>& hazards,
                        const Move& m, int walk, int horizon, float margin) {
  const MovingBox me = BoxOf(hero, m.dx, m.dy);
  for (int t = 0; t <= horizon; ++t) {
    const MovingBox at = me.At(float(t < walk ? t : walk));
    for (const MovingBox& h : hazards)
      if (at.Overlaps(h.At(float(t)), margin)) return t;
  }
  return horizon + 1;
}

// The hero's speed this frame (the boots make it faster).
inline float HeroSpeed(const quor::Sprite& hero) { return std::fabs(hero.GetSpeedX()); }
// Near enough to a target that one more step would only pass it.
inline bool Near(float position, float target, const quor::Sprite& hero) {
  return std::fabs(position - target) <= std::max(1.9f, HeroSpeed(hero) / 2.0f);
}

// Holds the key of the first move, in the order given (the way on first), that keeps the
// hero clear for the horizon when walked for as long as it can be (then standing); when
// none does, the move that meets a hazard latest.
inline void HoldSafest(Walker& w, const quor::Sprite& hero, const std::vector<Move>& moves,
                       int horizon = 24, float margin = 1.0f) {
  const std::vector<MovingBox> hazards = Hazards();
  int best = -1;
  const Move* chosen = &moves.front();
  for (int walk : {horizon, 12, 6, 3, 1}) {
    for (const Move& m : moves) {
      const int meet = FirstMeeting(hero, hazards, m, walk, horizon, margin);
      if (meet > horizon) {
        if (m.key) w.Hold(m.key);
        return;
      }
      if (meet > best) {
        best = meet;
        chosen = &m;
      }
    }
  }
  if (chosen->key) w.Hold(chosen->key);
}

// Toward (x, y), along y first or along x first, then standing, then any way at all.
inline std::vector<Move> MovesToward(const quor::Sprite& hero, float x, float y, bool yFirst) {
  const float v = HeroSpeed(hero);
  const Move left{platform::KeyLeft, -v, 0}, right{platform::KeyRight, v, 0};
  const Move up{platform::KeyUp, 0, -v}, down{platform::KeyDown, 0, v};
  std::vector<Move> moves;
  const bool alongX = !Near(hero.GetX(), x, hero), alongY = !Near(hero.GetY(), y, hero);
  if (alongY && yFirst) moves.push_back(y > hero.GetY() ? down : up);
  if (alongX) moves.push_back(x > hero.GetX() ? right : left);
  if (alongY && !yFirst) moves.push_back(y > hero.GetY() ? down : up);
  moves.insert(moves.end(), {{0, 0, 0}, left, right, up, down});
  return moves;
}

// Along one axis to the target as GoX and GoY do, standing, stepping back or aside while
// what hurts passes.
inline Walker::Step SafeGoX(float x) {
  return [x](Walker& w, quor::Sprite& hero) {
    if (Near(hero.GetX(), x, hero)) return true;
    const float v = HeroSpeed(hero), s = hero.GetX() < x ? 1.0f : -1.0f;
    const uint8_t on = s > 0 ? platform::KeyRight : platform::KeyLeft;
    const uint8_t back = s > 0 ? platform::KeyLeft : platform::KeyRight;
    HoldSafest(w, hero,
               {{on, s * v, 0},
                {0, 0, 0},
                {back, -s * v, 0},
                {platform::KeyUp, 0, -v},
                {platform::KeyDown, 0, v}});
    return false;
  };
}
inline Walker::Step SafeGoY(float y) {
  return [y](Walker& w, quor::Sprite& hero) {
    if (Near(hero.GetY(), y, hero)) return true;
    const float v = HeroSpeed(hero), s = hero.GetY() < y ? 1.0f : -1.0f;
    const uint8_t on = s > 0 ? platform::KeyDown : platform::KeyUp;
    const uint8_t back = s > 0 ? platform::KeyUp : platform::KeyDown;
    HoldSafest(w, hero,
               {{on, 0, s * v},
                {0, 0, 0},
                {back, 0, -s * v},
                {platform::KeyLeft, -v, 0},
                {platform::KeyRight, v, 0}});
    return false;
  };
}

// Every sprite of that name is out of the hero's way along x: moving away from it and past
// it, or farther than `distance`. For blades that bounce from wall to wall, whose turns a
// look ahead cannot see.
inline bool GoneFrom(const char* name, const quor::Sprite& hero, float distance) {
  for (quor::Sprite* s : All(name)) {
    if (s->IsInactive()) continue;
    const float gap = s->GetX() - hero.GetX();
    const bool away = (gap > 0) == (s->GetVelocityX() > 0);
    if (std::fabs(gap) < distance && !(away && std::fabs(gap) > 30.0f)) return false;
  }
  return true;
}
inline Walker::Step WaitUntilGone(const char* name, float distance) {
  return [name, distance](Walker&, quor::Sprite& hero) { return GoneFrom(name, hero, distance); };
}

// Keeps under the boss's body at height y, `offset` from its x (stepping aside from what
// hurts), and fires up at it whenever the body is over the hero and the hero's shot is
// parked, until the boss has gone. The body can be hit from `from` to `to` along the boss's
// width; the shot leaves from the hero's left edge + 1.
inline Walker::Step FightFromBelow(const char* boss, float offset, float y, float from, float to) {
  return [=, fired = false](Walker& w, quor::Sprite& hero) mutable {
    quor::Sprite* target = Find(boss);
    if (!target) return true;
    quor::Sprite* blast = Find("FireBlast");
    const float v = HeroSpeed(hero), shotX = hero.GetX() + 1.0f;
    const bool over = shotX > target->GetX() + from && shotX < target->GetX() + to;
    if (!fired && over && blast && blast->GetX() < 0.0f &&
        FirstMeeting(hero, Hazards(), {platform::KeyUp, 0, -v}, 1, 8, 1.0f) > 8) {
      // Up and D together: the hero turns up and the shot leaves upward.
      w.Hold(platform::KeyUp);
      w.Hold(platform::KeyD);
      fired = true;
      return false;
    }
    fired = false;
    HoldSafest(w, hero, MovesToward(hero, target->GetX() + offset, y, false));
    return false;
  };
}

// Fights a boss that stands in the hero's row, firing right at it from (x, fireY) while
// `open` says its moment has come and waiting at (x, hideY) while not, stepping aside from
// what hurts; until the boss has gone.
inline Walker::Step FightFromTheLeft(const char* boss, float x, float fireY, float hideY,
                                     std::function<bool(const quor::Sprite& boss)> open) {
  return [=, fired = false](Walker& w, quor::Sprite& hero) mutable {
    quor::Sprite* target = Find(boss);
    if (!target) return true;
    const bool firing = open(*target);
    quor::Sprite* blast = Find("FireBlast");
    const float v = HeroSpeed(hero);
    if (!fired && firing && Near(hero.GetY(), fireY, hero) && blast && blast->GetX() < 0.0f &&
        FirstMeeting(hero, Hazards(), {platform::KeyRight, v, 0}, 1, 8, 1.0f) > 8) {
      // Right and D together: the hero turns right and the shot leaves toward the boss.
      w.Hold(platform::KeyRight);
      w.Hold(platform::KeyD);
      fired = true;
      return false;
    }
    fired = false;
    HoldSafest(w, hero, MovesToward(hero, x, firing ? fireY : hideY, true));
    return false;
  };
}

}  // namespace testing_support
