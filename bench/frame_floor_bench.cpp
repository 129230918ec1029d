// The engine's frame against the floor of this machine, both measured in the same run and
// in turns, so a busy machine slows both alike:
//   - a 32 x 32 keyed sprite drawn by Sprite::Draw (plain, mirrored either way or both, not
//     keyed, and a mix with half of them mirrored) against SDL's keyed blit of the same
//     surface at the same places;
//   - the frame with no sprites (the master map's view copied to the back buffer, then
//     presented) against SDL's opaque blit of the same view plus one memcpy of the frame;
//   - a whole scene's frame run by the real main loop, against 1/32 of the 16 ms budget.
// Each case prints "quor_us" and "floor_us" per sprite or frame, "ratio" = quor / floor and
// the "bound" the ratio must stay within; the label says whether it does.
//
// Beside them, for each of the thirteen scenes: SceneFrame/<scene>, its frame as a share of
// the 16 ms budget ("budget"), and SceneEntry/<scene>, the time to enter it ("enter_ms")
// against one frame's budget and against its floor ("floor_ms"): SDL's own loading of the
// same bitmap files and their conversion to the display's format, timed in turns with the
// entries. Scenes run by name from the current folder (its BITMAPS and Sounds), presenting
// as the player's host does; a missing picture or sound is named beside the figure.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_display.h"
#include "bench/scene_entry_label.h"
#include "engine/app/frame_passes.h"
#include "engine/app/game_director.h"
#include "engine/app/game_hooks.h"
#include "engine/app/run_application.h"
#include "engine/core/engine_globals.h"
#include "engine/display/bitmap.h"
#include "engine/display/display.h"
#include "engine/display/map.h"
#include "engine/display/variable.h"
#include "engine/scene/animation.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/keyboard.h"
#include "game/rules/game_functions.h"
#include "game/rules/game_variables.h"
#include "platform/files.h"
#include "platform/monotonic_clock.h"

namespace {

using Clock = std::chrono::steady_clock;
using platform::PixelRect;

constexpr int kBenchSet = 46;  // an entry no scene builds
constexpr int kSpriteSide = 32;
constexpr int kSprites = 200;

double Micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

// The figures of one case, per sprite or per frame.
void ReportAgainstFloor(benchmark::State& state, double quorMicros, double floorMicros,
                        double count, double bound) {
  double quor = quorMicros / count, floor = floorMicros / count, ratio = quor / floor;
  state.counters["quor_us"] = quor;
  state.counters["floor_us"] = floor;
  state.counters["ratio"] = ratio;
  state.counters["bound"] = bound;
  state.SetLabel(ratio <= bound ? "within bound" : "OVER BOUND");
}

// A raw SDL surface of the display's format, the floor's side of each comparison.
SDL_Surface* RawSurface(int w, int h) {
  return SDL_CreateRGBSurfaceWithFormat(0, w, h, 16, SDL_PIXELFORMAT_RGB565);
}

// The same picture on an SDL surface, row by row.
SDL_Surface* RawCopy(platform::Surface& surface) {
  SDL_Surface* raw = RawSurface(surface.Width(), surface.Height());
  platform::LockedPixels pixels;
  surface.Lock(pixels);
  for (int y = 0; y < pixels.height; ++y)
    std::memcpy(static_cast<uint8_t*>(raw->pixels) + y * raw->pitch,
                pixels.pixels + y * pixels.pitch, size_t(pixels.width) * 2);
  surface.Unlock();
  return raw;
}

// A 640 x 480 x 16 full-screen display with a 1280 x 960 master-map picture, a scene for
// the view, and one animation entry whose frame 0 is a keyed sprite that may be mirrored
// and frame 1 the same picture without its key; beside them, the SDL floor's surfaces.
struct Stage : bench::FullScreenDisplay {
  Stage() : FullScreenDisplay(16) {
    quor::CurrentGameNode = &scene;
    map = quor::CreateOffscreenSurface(1280, 960);
    for (int y = 0; y < 960; y += 16)
      for (int x = 0; x < 1280; x += 16) {
        PixelRect r{x, y, x + 16, y + 16};
        map->Fill(&r, map->MatchColor(platform::ColorRef(uint8_t(x / 5), uint8_t(y / 4),
                                                         uint8_t((x + y) / 9))));
      }
    quor::AnimationSet& entry = quor::AnimationTable[kBenchSet];
    entry.SetActionCount(1);
    entry.actions[0].SetFrameCount(2);
    for (int i = 0; i < 2; ++i) {
      quor::SpriteFrame& f = entry.actions[0].frames[i];
      f.width = f.height = kSpriteSide;
      f.flipXAllowed = f.flipYAllowed = 1;
      f.colorKeyOn = i == 0;
      sprites[i] = quor::CreateOffscreenSurface(kSpriteSide, kSpriteSide);
      platform::Surface& s = *sprites[i];
      s.SetColorKey(s.MatchColor(0x00FF00));
      s.Fill(nullptr, s.MatchColor(0x00FF00));
      PixelRect body{4, 2, 28, 30}, mark{20, 6, 26, 12};
      s.Fill(&body, s.MatchColor(0x2060C0));
      s.Fill(&mark, s.MatchColor(0xFFFFFF));
      f.surface = sprites[i].get();
    }
    rawScreen = RawSurface(640, 480);
    rawMap = RawCopy(*map);
    rawSprite = RawCopy(*sprites[0]);
    SDL_SetColorKey(rawSprite, SDL_TRUE, sprites[0]->MatchColor(0x00FF00));
    shownCopy.resize(size_t(rawScreen->pitch) * rawScreen->h);
  }
  ~Stage() {
    quor::AnimationTable[kBenchSet].Empty();
    quor::CurrentGameNode = nullptr;
    SDL_FreeSurface(rawScreen);
    SDL_FreeSurface(rawMap);
    SDL_FreeSurface(rawSprite);
  }

  // The view of frame n, moving over the map.
  static PixelRect View(int n) {
    return {n % 640, (n / 2) % 480, n % 640 + 640, (n / 2) % 480 + 480};
  }
  // Where sprite i stands in frame n: over the whole screen, some cut by its edges.
  static void Place(int i, int n, int& x, int& y) {
    x = (i * 37 + n) % 660 - 10;
    y = (i * 53) % 500 - 10;
  }

  // The engine's frame without sprites: the master map's view, then the presentation.
  void EngineMapAndPresent(int n) {
    PixelRect view = View(n);
    quor::BackBuffer->Blit(nullptr, *map, &view);
    quor::PresentFrame();
  }
  // The floor of it: SDL's opaque blit of the same view, and one copy of the frame.
  void FloorMapAndPresent(int n) {
    PixelRect v = View(n);
    SDL_Rect view{v.left, v.top, 640, 480};
    SDL_BlitSurface(rawMap, &view, rawScreen, nullptr);
    std::memcpy(shownCopy.data(), rawScreen->pixels, shownCopy.size());
    benchmark::DoNotOptimize(shownCopy.data());
  }

  quor::GameNode scene;
  std::unique_ptr<platform::Surface> map, sprites[2];
  SDL_Surface *rawScreen = nullptr, *rawMap = nullptr, *rawSprite = nullptr;
  std::vector<uint8_t> shownCopy;
};

enum SpriteKind { Keyed, MirroredLeftRight, MirroredUpDown, MirroredBoth, NotKeyed, HalfMirrored };

void SpriteDraw(benchmark::State& state) {
  auto kind = SpriteKind(state.range(0));
  Stage stage;
  std::vector<quor::Sprite> sprites(kSprites);
  for (int i = 0; i < kSprites; ++i) {
    quor::Sprite& s = sprites[i];
    s.animationSet = kBenchSet;
    s.frame = kind == NotKeyed ? 1 : 0;
    bool mirrored = kind == HalfMirrored ? i % 2 == 1 : true;
    s.flipX =
        mirrored && (kind == MirroredLeftRight || kind == MirroredBoth || kind == HalfMirrored);
    s.flipY = mirrored && (kind == MirroredUpDown || kind == MirroredBoth);
  }
  Clock::duration quor{}, floor{};
  int n = 0;
  for (auto _ : state) {
    for (int i = 0; i < kSprites; ++i) Stage::Place(i, n, sprites[i].screenX, sprites[i].screenY);
    auto t0 = Clock::now();
    for (quor::Sprite& s : sprites) s.Draw();
    auto t1 = Clock::now();
    for (int i = 0; i < kSprites; ++i) {
      SDL_Rect at{0, 0, kSpriteSide, kSpriteSide};
      Stage::Place(i, n, at.x, at.y);
      SDL_BlitSurface(stage.rawSprite, nullptr, stage.rawScreen, &at);
    }
    auto t2 = Clock::now();
    quor += t1 - t0;
    floor += t2 - t1;
    ++n;
  }
  ReportAgainstFloor(state, Micros(quor), Micros(floor), double(state.iterations()) * kSprites,
                     1.5);
}

void FrameWithoutSprites(benchmark::State& state) {
  Stage stage;
  Clock::duration quor{}, floor{};
  int n = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    stage.EngineMapAndPresent(n);
    auto t1 = Clock::now();
    stage.FloorMapAndPresent(n);
    auto t2 = Clock::now();
    quor += t1 - t0;
    floor += t2 - t1;
    ++n;
  }
  ReportAgainstFloor(state, Micros(quor), Micros(floor), double(state.iterations()), 1.5);
}

// A scene holds its text cursor from the start; content is a map or any other sprite.
bool HasContent(quor::GameNode& scene) {
  if (scene.maps.Count() > 0) return true;
  for (const quor::NodeList& layer : scene.layers)
    for (quor::Node* n = layer.GetHead(); n && !n->IsEnd(); n = n->GetNext())
      if (std::strcmp(static_cast<quor::Sprite*>(n)->name, "QuorTextsCursor") != 0) return true;
  return false;
}

// The game run by the real main loop on a host whose clock is virtual, so the time between
// two frames' starts is the frame's own work, and whose present converts each frame into
// the window's texture as the player's host does. At frame 2 the game asks for the scene;
// `onFrame` sees the start of every frame the scene runs. Message boxes shown are kept.
template <typename OnFrame>
std::vector<platform::RecordedMessageBox> RunScene(const char* name, int frames, OnFrame onFrame) {
  constexpr int kSwitchFrame = 2;
  bench::PlayerPresentHost host;
  platform::InstallHost(&host);
  quor::KeyboardInstanceCount = 0;
  quor::InstallGameHooks(game::TheGameHooks());
  game::ResetGameVariables();
  host.AtFrame(kSwitchFrame, [name](platform::HeadlessHost&) {
    if (quor::CurrentGameDirector) quor::CurrentGameDirector->GoToGameNode(name);
  });
  host.EveryFrame([&](platform::HeadlessHost& h) {
    quor::GameNode* scene = quor::CurrentGameNode;
    if (scene && std::strcmp(scene->name, name) == 0) onFrame(*scene, h);
  });
  host.QuitAtFrame(kSwitchFrame + frames);
  quor::RunApplication();
  platform::InstallHost(nullptr);
  quor::InstallGameHooks(quor::GameHooks());
  quor::Paused = quor::QuitRequested = 0;
  game::ResetGameVariables();
  return host.messageBoxes;
}

// A missing picture or sound shows a box: the scene then runs without it, which makes its
// figure no measure of the real scene, so the box is named beside it.
std::string FirstBox(const std::vector<platform::RecordedMessageBox>& boxes) {
  return boxes.empty() ? "" : "; it showed \"" + boxes[0].text + "\"";
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

// A frame of the scene with all its content: update, collision, drawing and the present.
// The first frames of the scene (its switch and loading) are left out. "budget" is the
// mean frame's share of the 16 ms budget; "ratio" compares it with 1/32 of that budget.
void SceneFrame(benchmark::State& state, const char* name) {
  constexpr int kSettleFrames = 10, kFrames = 240;
  std::vector<Clock::time_point> starts;
  bool hasContent = false;
  std::vector<platform::RecordedMessageBox> boxes;
  for (auto _ : state) {
    starts.clear();
    boxes = RunScene(name, kSettleFrames + kFrames,
                     [&](quor::GameNode& scene, platform::HeadlessHost&) {
                       hasContent = hasContent || HasContent(scene);
                       starts.push_back(Clock::now());
                     });
  }
  const std::string shown = FirstBox(boxes);
  if (starts.empty()) return state.SkipWithError(("no scene of that name" + shown).c_str());
  if (starts.size() < size_t(kSettleFrames) + 2)
    return state.SkipWithError(("the scene ended early" + shown).c_str());
  std::vector<double> frameMicros;
  for (size_t i = kSettleFrames + 1; i < starts.size(); ++i)
    frameMicros.push_back(Micros(starts[i] - starts[i - 1]));
  double micros = Micros(starts.back() - starts[kSettleFrames]);
  double frames = double(frameMicros.size());
  // The bound is a time: the floor here is 1/32 of the 16 ms budget.
  ReportAgainstFloor(state, micros, 500.0 * frames, frames, 1.0);
  state.counters["median_us"] = Median(frameMicros);
  state.counters["budget"] = micros / frames / 16000.0;
  state.SetLabel(std::string(state.counters["ratio"] <= 1.0 ? "within" : "OVER") + " bound" +
                 (hasContent ? "" : ", scene has no content") + shown);
}

// The bitmap files an entry of the scene loaded, as paths: one for every frame surface and
// every map of the scene (the built-in bitmaps have no file).
std::vector<std::string> LoadedBitmapFiles(quor::GameNode& scene) {
  std::vector<std::string> paths;
  auto add = [&paths](const char* name) {
    if (!quor::FindBitmapResource(name))
      paths.push_back(platform::MapPath(std::string(quor::BitmapDirectory) + name));
  };
  for (quor::AnimationSet& set : quor::AnimationTable)
    for (int a = 0; a < set.actionCount; ++a)
      for (int f = 0; f < set.actions[a].frameCount; ++f)
        if (set.actions[a].frames[f].surface) add(set.actions[a].frames[f].bitmapName);
  for (quor::Node* n = scene.maps.GetHead(); n && !n->IsEnd(); n = n->GetNext())
    if (static_cast<quor::Map*>(n)->surface) add(static_cast<quor::Map*>(n)->file);
  return paths;
}

// The floor of an entry: SDL's own reading of the same files and conversion of each to the
// display's 16-bit format.
void LoadWithSdl(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
    if (!loaded) continue;
    SDL_Surface* shown = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB565, 0);
    benchmark::DoNotOptimize(shown);
    SDL_FreeSurface(shown);
    SDL_FreeSurface(loaded);
  }
}

// Entering the scene: its animation sets and content built, its bitmaps loaded and its
// map's collision grid made, timed alone after the scene was emptied as leaving it does,
// each entry followed by its floor. The scene is entered again kEntries times in one frame;
// "enter_ms" and "floor_ms" are the medians, "ratio" the one over the other, "budget" the
// median entry's share of one frame's 16 ms budget.
void SceneEntry(benchmark::State& state, const char* name) {
  constexpr int kEntries = 15;
  std::vector<double> entryMicros, floorMicros;
  size_t files = 0;
  std::vector<platform::RecordedMessageBox> boxes;
  for (auto _ : state) {
    entryMicros.clear();
    floorMicros.clear();
    boxes = RunScene(name, 6, [&](quor::GameNode& scene, platform::HeadlessHost&) {
      if (!entryMicros.empty()) return;
      for (int i = 0; i < kEntries; ++i) {
        quor::EmptyGameNode(&scene, false);
        auto t0 = Clock::now();
        scene.Activate();
        auto t1 = Clock::now();
        const std::vector<std::string> paths = LoadedBitmapFiles(scene);
        auto t2 = Clock::now();
        LoadWithSdl(paths);
        auto t3 = Clock::now();
        entryMicros.push_back(Micros(t1 - t0));
        floorMicros.push_back(Micros(t3 - t2));
        files = paths.size();
        quor::ClearInputState();
        quor::AttachVariablesToMaps();
      }
    });
  }
  const std::string shown = FirstBox(boxes);
  if (entryMicros.empty()) return state.SkipWithError(("no scene of that name" + shown).c_str());
  const double median = Median(entryMicros), floor = Median(floorMicros);
  state.counters["enter_ms"] = median / 1000.0;
  state.counters["slowest_ms"] = *std::max_element(entryMicros.begin(), entryMicros.end()) / 1000.0;
  state.counters["floor_ms"] = floor / 1000.0;
  state.counters["ratio"] = median / floor;
  state.counters["files"] = double(files);
  state.counters["budget"] = median / 16000.0;
  state.SetLabel(bench::EntryLabel(median / 1000.0, floor / 1000.0) + shown);
}

// The player's frame wait: sleeping to one 16 ms deadline after another on the real clock.
// Each wake is compared with the deadline's due time: "mean_late_us" and "worst_late_us",
// the worst bound by half a millisecond.
void FrameWait(benchmark::State& state) {
  constexpr int kFrames = 60;
  constexpr uint32_t kBudget = 16;
  double worst = 0, total = 0;
  for (auto _ : state) {
    // The clock counts from its construction, on the system clock the steady clock reads.
    Clock::time_point origin = Clock::now();
    platform::MonotonicClock clock;
    uint32_t deadline = clock.Milliseconds() + 2;
    for (int i = 0; i < kFrames; ++i, deadline += kBudget) {
      clock.SleepUntil(deadline);
      double late = Micros(Clock::now() - origin) - 1000.0 * deadline;
      worst = std::max(worst, late);
      total += late;
    }
  }
  double mean = total / (double(state.iterations()) * kFrames);
  state.counters["mean_late_us"] = mean;
  state.counters["worst_late_us"] = worst;
  state.counters["bound"] = 500;
  state.SetLabel(worst <= 500 ? "within bound (worst wake)" : "OVER BOUND (worst wake)");
}

}  // namespace

BENCHMARK(FrameWait)->Iterations(1)->Unit(benchmark::kMillisecond);
// kind: 0 keyed, 1 mirrored left-right, 2 up-down, 3 both, 4 not keyed, 5 half mirrored.
BENCHMARK(SpriteDraw)
    ->ArgName("kind")
    ->DenseRange(Keyed, HalfMirrored)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(FrameWithoutSprites)->Unit(benchmark::kMicrosecond);
// Every scene of the game, in the order a player meets them.
#define QUOR_SCENE_BENCHMARKS(name)                                                         \
  BENCHMARK_CAPTURE(SceneFrame, name, #name)->Iterations(1)->Unit(benchmark::kMillisecond); \
  BENCHMARK_CAPTURE(SceneEntry, name, #name)->Iterations(1)->Unit(benchmark::kMillisecond)
QUOR_SCENE_BENCHMARKS(Start);
QUOR_SCENE_BENCHMARKS(Title);
QUOR_SCENE_BENCHMARKS(Instruct);
QUOR_SCENE_BENCHMARKS(StageIntro);
QUOR_SCENE_BENCHMARKS(Level1);
QUOR_SCENE_BENCHMARKS(Level2);
QUOR_SCENE_BENCHMARKS(MidBoss);
QUOR_SCENE_BENCHMARKS(Level3);
QUOR_SCENE_BENCHMARKS(Level4);
QUOR_SCENE_BENCHMARKS(FinalLevel);
QUOR_SCENE_BENCHMARKS(FinalDoor);
QUOR_SCENE_BENCHMARKS(Win);
QUOR_SCENE_BENCHMARKS(Lose);
