// The main character's direction line, drawn by the frame after the sprites, is black,
// as every sprite's own is.
#include <gtest/gtest.h>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/display/display.h"
#include "engine/display/map.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "platform/surface.h"
#include "tests/support/headless_run.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

// Runs before the maps and sprites draw: a white page under everything.
void PaintWhite(Node*) { BackBuffer->Fill(nullptr, BackBuffer->MatchColor(0xFFFFFF)); }

void BuildHero(GameNode* scene) {
  Map room;
  room.SetName("Room");
  scene->AddMap(room);
  scene->behaviour = PaintWhite;
  Sprite hero;
  hero.SetName("Hero");
  hero.SetMap("Room");
  hero.SetX(100.0f);
  hero.SetY(200.0f);
  hero.SetDirection(1.0f, 0.0f, 0);
  hero.SetMainCharacter(1);
  hero.SetShowDirection(1);
  scene->AddSprite(hero);
}

TEST(DirectionLine, TheMainCharactersLineIsBlack) {
  testing_support::TempDir dir;
  testing_support::HeadlessRun run;
  run.host.AtFrame(0, [](platform::HeadlessHost&) {
    CurrentGameNode->buildContent = BuildHero;
    CurrentGameDirector->RequestGameNode(1);
  });
  run.Run(4);
  const platform::Image& frame = run.host.video.lastFrame;
  ASSERT_EQ(frame.width, 640);
  // From the hero's place, 100 pixels along its direction.
  for (int x : {100, 150, 199}) EXPECT_EQ(frame.At(x, 200), 0u) << x;
  EXPECT_EQ(frame.At(150, 199), 0xFFFFFFu);
  EXPECT_EQ(frame.At(210, 200), 0xFFFFFFu);
}

}  // namespace
}  // namespace quor
