// How the map collision grows with the number of outlines: filing N walls into the grid of
// a 2048 x 2048 map, and one frame of 100 sprites tested against it, in rectangle mode and
// with a circle and a segment outline swept over an 8-pixel move. The per-frame cases
// report their share of the 16 ms frame budget ("budget" = 1 is the whole budget).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "engine/display/map.h"
#include "engine/scene/animation.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/sprite.h"

namespace {

constexpr int kBenchSet = 45;  // an entry no scene builds
constexpr float kSide = 2048.0f;

// N short walls on a fixed scatter, facing every way.
std::unique_ptr<quor::Map> WalledMap(int walls) {
  auto map = std::make_unique<quor::Map>();
  map->width = map->height = static_cast<uint32_t>(kSide);
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 214013u + 2531011u;
    return static_cast<float>((seed >> 16) & 0x7FFF) / 32768.0f;
  };
  for (int i = 0; i < walls; ++i) {
    const float x = next() * kSide, y = next() * kSide;
    map->AddCollisionSegment(quor::CollisionSegment(x, y, x + next() * 60 - 30, y + next() * 60 - 30, 0, 0));
  }
  return map;
}

void BuildGrid(benchmark::State& state) {
  auto map = WalledMap(int(state.range(0)));
  for (auto _ : state) {
    map->BuildCollisionGrid();
    benchmark::DoNotOptimize(map->GetGridCell(0, 0));
  }
}

void SpritePass(benchmark::State& state, bool shapes) {
  auto map = WalledMap(int(state.range(0)));
  map->BuildCollisionGrid();
  quor::AnimationSet& entry = quor::AnimationTable[kBenchSet];
  entry.SetActionCount(1);
  entry.actions[0].SetFrameCount(1);
  quor::SpriteFrame& frame = entry.actions[0].frames[0];
  quor::SetRect(&frame.collisionRects[quor::kFlipNone], 0, 0, 31, 31);
  frame.AddCollisionCircle(quor::CollisionCircle(16, 16, 14, 0, 0));
  frame.AddCollisionSegment(quor::CollisionSegment(31, 31, 31, 0, 0, 0));

  std::vector<std::unique_ptr<quor::Sprite>> sprites;
  for (int i = 0; i < 100; ++i) {
    auto s = std::make_unique<quor::Sprite>();
    s->map = map.get();
    s->animationSet = kBenchSet;
    s->rectangleCollision = shapes ? 0 : 1;
    s->x = static_cast<float>((i * 389) % 2000);
    s->y = static_cast<float>((i * 631) % 2000);
    s->directionX = 0.6f;
    s->directionY = 0.8f;
    s->speedX = s->speedY = 8.0f;
    sprites.push_back(std::move(s));
  }
  for (auto _ : state) {
    for (auto& s : sprites) {
      s->ResetContacts();
      s->velocityX = s->directionX * s->speedX;
      s->velocityY = s->directionY * s->speedY;
      s->CheckMapCollision();
      s->ApplyTimeOfImpact();
      benchmark::DoNotOptimize(s->timeOfImpact);
    }
  }
  sprites.clear();
  entry.Empty();
  state.counters["budget"] = benchmark::Counter(double(state.iterations()) * 0.016,
                                                benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void RectanglePass(benchmark::State& state) { SpritePass(state, false); }
void ShapePass(benchmark::State& state) { SpritePass(state, true); }

}  // namespace

BENCHMARK(BuildGrid)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(RectanglePass)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(ShapePass)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
