// Ten minutes of game time in each of the scenes that make copies of sprites as they run
// ("Level2" and "Level4" with their laser traps, "MidBoss" and "FinalLevel" with their
// bosses' shots), under the sanitizers: the hero stays at its start with the items carried,
// firing, taunting, laying its trap and shouting now and then, while every shooter of the
// scene goes on. Memory and the sprite count stay bounded, nothing faults, and at the end
// the hero still walks and fires. Each run prints its peak figures.
//
// Outside ./check: `./soak` runs them (they are disabled tests of quor_tests).
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "game/rules/game_variables.h"
#include "platform/headless/headless_host.h"
#include "platform/input_keys.h"
#include "tests/support/game_run.h"
#include "tests/support/walker.h"

#if defined(__SANITIZE_ADDRESS__)
// The address sanitizer's count of the bytes the program holds (its allocator interface).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace game {
namespace {

using platform::HeadlessHost;
using testing_support::Find;
using testing_support::SceneName;

constexpr int kMinute = 60 * 60;
constexpr int kSoakFrames = 10 * kMinute;
constexpr int kLayerLimit = 513;  // the engine's limit of sprites in one layer

// Bytes the program holds on its heap now: the sanitizer's own count where it runs.
double LiveHeapMegabytes() {
#if defined(__SANITIZE_ADDRESS__)
  return double(__sanitizer_get_current_allocated_bytes()) / (1 << 20);
#else
  return double(mallinfo2().uordblks) / (1 << 20);
#endif
}

// The most memory the process has had resident, as the kernel counts it.
double PeakResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word)
    if (word == "VmHWM:") {
      double kb = 0;
      status >> kb;
      return kb / 1024;
    }
  return 0;
}

// What one minute of the soak saw at its end.
struct Minute {
  int sprites;       // all the scene's sprites
  int fullestLayer;  // the sprites of its fullest layer
  double heap;       // live heap, MB
  double frameMs;    // the mean frame's work this minute
};

// The hero's own doings, every ten seconds: a shot, the taunt, the trap, the shout.
void Act(HeadlessHost& host, int inScene) {
  const int t = inScene % 600;
  auto set = [&host](uint8_t key, bool down) {
    if (down)
      host.input.PressKey(key);
    else
      host.input.ReleaseKey(key);
  };
  set(platform::KeyD, t == 100);
  set(platform::KeyT, t >= 200 && t < 230);
  set(platform::KeyF, t >= 300 && t < 320);
  set(platform::KeyS, t == 400);
}

// After the soak: each arrow held in turn for a moment, the hero must get somewhere, and a
// shot must leave it. Returns the farthest the hero got from where it stood.
class PlayableCheck {
 public:
  // Drives the keys for frame `t` of the check (from 0); true once the check is over.
  bool Frame(HeadlessHost& host, int t) {
    static const uint8_t kArrows[] = {platform::KeyDown, platform::KeyUp, platform::KeyRight,
                                      platform::KeyLeft};
    quor::Sprite* hero = Find("Player");
    if (!hero) return true;
    if (t == 0) {
      x0_ = hero->GetX();
      y0_ = hero->GetY();
    }
    farthest = std::max(farthest, double(std::hypot(hero->GetX() - x0_, hero->GetY() - y0_)));
    for (int i = 0; i < 4; ++i) {
      if (t == i * 20) host.input.PressKey(kArrows[i]);
      if (t == i * 20 + 15) host.input.ReleaseKey(kArrows[i]);
    }
    if (t == 90) host.input.PressKey(platform::KeyD);
    if (t == 91) host.input.ReleaseKey(platform::KeyD);
    if (t == 93) shotLeft = Find("FireBlast") && Find("FireBlast")->GetX() >= 0.0f;
    return t >= 95;
  }
  double farthest = 0;
  bool shotLeft = false;

 private:
  float x0_ = 0, y0_ = 0;
};

void Soak(const char* scene, int32_t stage) {
  testing_support::GameRun run;
  run.EnterAt(1, scene, stage);
  int inScene = 0, losses = 0, peakSprites = 0, peakLayer = 0, checkFrame = -1;
  double peakHeap = 0, heapAtEntry = 0;
  std::vector<Minute> minutes;
  PlayableCheck check;
  std::string endedIn;
  auto minuteStart = std::chrono::steady_clock::now();
  run.host.EveryFrame([&](HeadlessHost& h) {
    if (SceneName() == "Lose") {
      ++losses;
      h.PostQuit(0);
      return;
    }
    if (SceneName() != scene) return;
    if (inScene == 0) {
      heapAtEntry = LiveHeapMegabytes();
      for (const char* item : {"FireIcon", "Dagger", "WaterIcon", "Hat"})
        if (quor::Sprite* s = Find(item)) s->SetY(459);
    }
    int sprites = 0;
    for (quor::NodeList& layer : quor::CurrentGameNode->layers) {
      sprites += layer.Count();
      peakLayer = std::max(peakLayer, int(layer.Count()));
    }
    peakSprites = std::max(peakSprites, sprites);
    const double heap = LiveHeapMegabytes();
    peakHeap = std::max(peakHeap, heap);
    if (inScene < kSoakFrames) {
      Act(h, inScene);
      if (++inScene % kMinute == 0) {
        int fullest = 0;
        for (quor::NodeList& layer : quor::CurrentGameNode->layers)
          fullest = std::max(fullest, int(layer.Count()));
        auto now = std::chrono::steady_clock::now();
        double ms = std::chrono::duration<double, std::milli>(now - minuteStart).count() / kMinute;
        minuteStart = now;
        minutes.push_back({sprites, fullest, heap, ms});
      }
      return;
    }
    if (check.Frame(h, ++checkFrame)) {
      endedIn = SceneName();
      h.PostQuit(0);
    }
  });
  run.Run(kSoakFrames + 2 * kMinute);

  std::printf(
      "soak %s: %d frames in the scene, %d losses; sprites: peak %d, fullest layer %d "
      "of %d; live heap: %.1f MB on entry, peak %.1f MB; resident peak %.1f MB\n",
      scene, inScene, losses, peakSprites, peakLayer, kLayerLimit, heapAtEntry, peakHeap,
      PeakResidentMegabytes());
  for (size_t i = 0; i < minutes.size(); ++i)
    std::printf("  minute %2zu: %4d sprites (fullest layer %3d), heap %6.1f MB, frame %.2f ms\n",
                i + 1, minutes[i].sprites, minutes[i].fullestLayer, minutes[i].heap,
                minutes[i].frameMs);
  EXPECT_TRUE(run.host.messageBoxes.empty()) << run.host.messageBoxes[0].text;
  EXPECT_EQ(losses, 0);
  ASSERT_EQ(inScene, kSoakFrames);
  EXPECT_EQ(endedIn, scene);
  EXPECT_LE(peakLayer, kLayerLimit);
  // The heap grows only with the sprites the scene keeps (shots put away stay in their
  // layers until the scene is left, up to a layer's limit): past the first minute, by no
  // more than 10 KB for each sprite added, and by nothing once the count stands still.
  ASSERT_EQ(minutes.size(), 10u);
  for (size_t i = 1; i < minutes.size(); ++i) {
    const double added = std::max(0, minutes[i].sprites - minutes[0].sprites);
    EXPECT_LE(minutes[i].heap - minutes[0].heap, 0.25 + added * 10.0 / 1024) << "minute " << i + 1;
  }
  EXPECT_GT(check.farthest, 10.0) << "the hero no longer walks";
  EXPECT_TRUE(check.shotLeft) << "the hero no longer fires";
}

TEST(DISABLED_Soak, TenMinutesInLevel2) { Soak("Level2", 2); }
TEST(DISABLED_Soak, TenMinutesInLevel4) { Soak("Level4", 5); }
TEST(DISABLED_Soak, TenMinutesInMidBoss) { Soak("MidBoss", 3); }
TEST(DISABLED_Soak, TenMinutesInFinalLevel) { Soak("FinalLevel", 6); }

}  // namespace
}  // namespace game
