// A player at the keyboard for the tests that walk the real game: each frame the current
// step of a route says which keys are held, and nothing else reaches the game. Routes are
// waypoints (walk along one axis to a place), waits for a hazard, taps, and timed schedules
// of keys; a walker acts only in its own scene. Also: the wall a level's picture shows
// under the hero.
#pragma once

#include <cmath>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "game/rules/game_variables.h"
#include "platform/headless/headless_host.h"
#include "platform/input_keys.h"
#include "platform/surface.h"
#include "tools/standins/screen_pictures.h"

namespace testing_support {

inline std::string SceneName() {
  return quor::CurrentGameNode ? quor::CurrentGameNode->GetName() : "";
}

inline quor::Sprite* Find(const char* name) { return quor::FindSpriteByName(name); }

// Every sprite of that name in the current scene.
inline std::vector<quor::Sprite*> All(const char* name) {
  std::vector<quor::Sprite*> found;
  if (!quor::CurrentGameNode) return found;
  for (quor::NodeList& layer : quor::CurrentGameNode->layers)
    for (quor::Node* n = layer.GetHead(); !n->IsEnd(); n = n->GetNext()) {
      auto* s = static_cast<quor::Sprite*>(n);
      if (std::string(s->GetName()) == name) found.push_back(s);
    }
  return found;
}

class Walker {
 public:
  // A step holds the keys it wants for this frame and says whether it is done; the next
  // step starts in the following frame.
  using Step = std::function<bool(Walker&, quor::Sprite& hero)>;

  explicit Walker(std::string scene) : scene_(std::move(scene)) {}

  void Add(std::string label, Step step) { steps_.push_back({std::move(label), std::move(step)}); }

  // Called at the start of every frame: in the walker's scene, with a hero, the current
  // step chooses the keys; anywhere else every key the walker held is let go.
  void Frame(platform::HeadlessHost& host) {
    wanted_.clear();
    quor::Sprite* hero = SceneName() == scene_ ? Find("Player") : nullptr;
    if (hero && next_ < steps_.size() && steps_[next_].second(*this, *hero)) {
      char line[200];
      std::snprintf(line, sizeof line, "frame %d: %s, at %.0f, %.0f with %d hearts, %d keys\n",
                    host.Frame(), steps_[next_].first.c_str(), hero->GetX(), hero->GetY(),
                    game::HeartCount, game::KeyCount);
      log_ += line;
      ++next_;
    }
    for (uint8_t key : held_)
      if (!wanted_.count(key)) host.input.ReleaseKey(key);
    for (uint8_t key : wanted_)
      if (!held_.count(key)) host.input.PressKey(key);
    held_ = wanted_;
  }

  void Hold(uint8_t key) { wanted_.insert(key); }
  bool Finished() const { return next_ == steps_.size(); }
  std::string Current() const { return next_ < steps_.size() ? steps_[next_].first : "none"; }
  const std::string& Log() const { return log_; }

 private:
  std::string scene_;
  std::vector<std::pair<std::string, Step>> steps_;
  size_t next_ = 0;
  std::set<uint8_t> wanted_, held_;
  std::string log_;
};

// Walks along one axis until the hero stands within a step of the target.
inline Walker::Step GoX(float x) {
  return [x](Walker& w, quor::Sprite& hero) {
    if (std::fabs(hero.GetX() - x) < 2.0f) return true;
    w.Hold(hero.GetX() < x ? platform::KeyRight : platform::KeyLeft);
    return false;
  };
}
inline Walker::Step GoY(float y) {
  return [y](Walker& w, quor::Sprite& hero) {
    if (std::fabs(hero.GetY() - y) < 2.0f) return true;
    w.Hold(hero.GetY() < y ? platform::KeyDown : platform::KeyUp);
    return false;
  };
}
// Holds a key for one frame.
inline Walker::Step Tap(uint8_t key) {
  return [key, held = false](Walker& w, quor::Sprite&) mutable {
    if (held) return true;
    w.Hold(key);
    held = true;
    return false;
  };
}
inline Walker::Step WaitFor(std::function<bool()> ready) {
  return [ready](Walker&, quor::Sprite&) { return ready(); };
}

// Pixels of wall face (not its lighter edge, where the outline itself runs) under the
// hero's body in the level's stand-in picture: a walk never stands where the player sees wall.
inline int WallUnder(const quor::Sprite& hero, const platform::Image& picture) {
  const quor::Rect r = hero.GetCollisionRect();
  int count = 0;
  for (int y = int(hero.GetY()) + r.top; y <= int(hero.GetY()) + r.bottom; ++y)
    for (int x = int(hero.GetX()) + r.left; x <= int(hero.GetX()) + r.right; ++x)
      if (x >= 0 && y >= 0 && x < picture.width && y < picture.height &&
          picture.At(x, y) == standins::kWallFace)
        ++count;
  return count;
}

// A key held over a stretch of a timed route: down from frame `from` to frame `to`, up
// again at `to`, counted from the route's first frame.
struct TimedHold {
  uint8_t key;
  int from, to;
};

// A schedule of keys played frame by frame from the frame the step starts in; done once
// the last key is up.
inline Walker::Step Schedule(std::vector<TimedHold> holds) {
  int end = 0;
  for (const TimedHold& h : holds) end = h.to > end ? h.to : end;
  return [holds = std::move(holds), end, t = 0](Walker& w, quor::Sprite&) mutable {
    if (t >= end) return true;
    for (const TimedHold& h : holds)
      if (t >= h.from && t < h.to) w.Hold(h.key);
    ++t;
    return false;
  };
}

}  // namespace testing_support
