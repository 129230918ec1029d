// The one routine that fills a scene from its content table. Every scene is one screen
// that the view never leaves, so the scene and view settings are the same everywhere;
// only the table's values differ.
#include "engine/core/rect.h"
#include "engine/display/map.h"
#include "engine/display/variable.h"
#include "engine/display/view_port.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/streamed_sound.h"
#include "game/scenes/content_data.h"

namespace game {

namespace {

constexpr float kScreenWidth = 640.0f;
constexpr float kScreenHeight = 480.0f;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0x0000FF;

void SetUpScene(quor::GameNode* scene) {
  scene->SetWidth(640);
  scene->SetHeight(480);
  scene->SetFPS(60);
  scene->SetEscapeQuits(1);
  scene->SetShowScrollBox(0);

  quor::ViewPort& view = scene->viewPort;
  view.SetViewWidth(kScreenWidth);
  view.SetViewHeight(kScreenHeight);
  view.SetScrollBox(0.0f, 0.0f, kScreenWidth, kScreenHeight);
  view.SetLeft(0.0f);
  view.SetTop(0.0f);
  view.SetLeftPushLimit(0.0f);
  view.SetTopPushLimit(0.0f);
  view.SetRightPushLimit(0.0f);
  view.SetBottomPushLimit(0.0f);
  // The size is given again once the position and limits are in place.
  view.SetViewWidth(kScreenWidth);
  view.SetViewHeight(kScreenHeight);
}

void AddMap(quor::GameNode* scene, const MapRow& row) {
  quor::Map map(row.name, row.bitmap, row.kind, row.depth, 0, 0);
  map.SetAutoScrollX(row.autoScrollX);
  map.SetAutoScrollY(0.0f);
  if (row.scrollFactors) {
    map.SetScrollFactorX(0.0f);
    map.SetScrollFactorY(0.0f);
  }
  map.SetUseColorKey(row.whiteKey);
  if (row.whiteKey) map.SetColorKey(kWhite);
  map.SetVisible(1);
  map.SetCompositionConstant(quor::CompositionConstant);
  map.SetShowCollisionShapes(0);
  for (const Polyline& line : row.walls) {
    for (uint16_t i = 0; i < line.SegmentCount(); ++i) {
      const Point& a = line.points[i];
      const Point& b = line.points[i + 1];
      map.AddCollisionSegment(quor::CollisionSegment(a.x, a.y, b.x, b.y, 0, 0));
    }
  }
  scene->AddMap(map);
}

void StartMusic(const char* name) {
  quor::StreamedSoundHandle music;
  quor::GetStreamedSoundHandle(music, name);
  music.Get()->Play();
}

void AddSprite(quor::GameNode* scene, const SpriteRow& row, const char* mapName, float x, float y) {
  quor::Sprite sprite;
  sprite.SetName(row.name);
  sprite.SetVisible(1);
  sprite.SetInactive((row.flags & kInactive) ? 1 : 0);
  sprite.SetBounce((row.flags & kBounce) ? 1 : 0);
  // No sprite is followed by the view, the hero included.
  sprite.SetMainCharacter(0);
  sprite.SetMap(mapName);
  sprite.SetDepth(row.depth);
  sprite.SetX(x);
  sprite.SetY(y);
  sprite.SetCollideWithMap(row.collision.map ? 1 : 0);
  sprite.SetLayer(row.layer);
  sprite.SetFriction(0.0f);
  sprite.SetCollideWithSprites(row.collision.sprites ? 1 : 0);
  if (row.collision.sprites) {
    sprite.SetCollideWithOwnLayer(row.collision.ownLayer ? 1 : 0);
    sprite.SetPassable(row.collision.passable ? 1 : 0);
  }
  sprite.SetAccelerationMode(0, 0);
  if (row.control.kind == Control::kBehaviour) sprite.SetBehaviour(row.control.index);
  if (row.control.kind == Control::kMachine) sprite.SetStateMachine(row.control.index);
  sprite.SetAnimation(row.set);
  sprite.SetAction(row.action);
  sprite.SetFrame(row.frame);
  sprite.SetDirection(row.direction.x, row.direction.y, 0);
  sprite.SetShowDirection(0);
  sprite.SetAlignAnchors(0);
  sprite.SetRectangleCollision(row.collision.Rectangle() ? 1 : 0);
  sprite.SetSpeedX(row.speed.x);
  sprite.SetSpeedY(row.speed.y);
  sprite.SetVariableCount(0);
  sprite.SetShowCollisionRect(0);
  sprite.SetShowCollisionShapes(0);
  if (row.path.count > 0) {
    sprite.SetPathLength(row.path.count);
    for (uint16_t i = 0; i < row.path.count; ++i)
      sprite.SetPathStep(i + 1u, row.path[i].dx, row.path[i].dy);
    sprite.StartPath(1);
  }
  scene->AddSprite(sprite);
}

void AddText(quor::GameNode* scene, const TextRow& row) {
  quor::Variable box;
  box.SetName(row.name);
  box.SetVisible(1);
  box.SetFontFace("Lucida Bright");
  box.SetFontWidth(0);
  box.SetFontSize(15);
  box.SetFontWeight(600);
  box.SetTextColor(kRed);
  box.SetItalic(0);
  box.SetStrikeOut(0);
  box.SetUnderline(0);
  box.SetRect(quor::Rect{row.left, row.top, row.right, row.bottom});
  box.SetShowFrame(0);
  box.SetWorldCoordinates(0);
  box.SetDrawMode(0);
  box.SetMarginY(0);
  box.SetMarginX(0);
  box.SetLineSpacing(0);
  box.SetLetterSpacing(0);
  box.SetKeepLeadingSpaces(1);
  box.SetTextEffect(0);
  box.SetTextEffectTiming(0, 0);
  box.SetText(row.text);
  scene->AddVariable(box);
}

}  // namespace

void BuildSceneContent(quor::GameNode* scene, const SceneContent& content) {
  SetUpScene(scene);
  for (const SoundRow& sound : content.streamedSounds)
    scene->AddStreamedSound(sound.name, sound.file, 1);
  for (const SoundRow& sound : content.sounds) scene->AddSound(sound.name, sound.file, 0, 100);
  if (content.maps.count == 0) return;

  AddMap(scene, content.maps[0]);
  if (content.music) StartMusic(content.music);
  for (uint16_t i = 1; i < content.maps.count; ++i) AddMap(scene, content.maps[i]);

  const char* mapName = content.maps[0].name;
  for (const SpriteRow& row : content.sprites) {
    for (uint16_t r = 0; r < row.block.rows; ++r)
      for (uint16_t c = 0; c < row.block.columns; ++c)
        AddSprite(scene, row, mapName, row.x + c * row.block.xStep, row.y + r * row.block.yStep);
  }
  for (const TextRow& text : content.texts) AddText(scene, text);
}

}  // namespace game
