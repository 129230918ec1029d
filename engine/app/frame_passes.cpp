#include "engine/app/frame_passes.h"

#include <cstring>

#include "engine/core/engine_globals.h"
#include "engine/display/transitions.h"
#include "engine/display/variable.h"
#include "engine/display/map.h"
#include "engine/scene/game_node.h"
#include "engine/scene/scene_passes.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/keyboard.h"
#include "engine/sound_input/mouse.h"

namespace quor {

void RunSceneLogic(GameNode* scene) {
  scene->stateMachine.Update(scene);
  scene->RunBehaviour();
  scene->UpdateVariables();
  if (MainCharacter) MainCharacter->Move();
}

namespace {

bool IsTextsCursor(const Sprite* sprite) { return std::strcmp(sprite->GetName(), kTextsCursorName) == 0; }

// Tests the sprite against every sprite of its map in the layers it collides with.
void CollideWithSprites(GameNode* scene, Sprite* sprite) {
  if (!sprite->GetCurrentFrame()) return;  // without a frame it touches nothing
  const Rect reach = sprite->GetSpriteReach();
  for (int32_t l = 0; l < GameNode::kLayerCount; ++l) {
    if (l == sprite->GetLayer() && !sprite->CollidesWithOwnLayer()) continue;
    NodeList& layer = scene->layers[l];
    for (Node* n = layer.GetHead(); !n->IsEnd(); n = n->GetNext()) {
      Sprite* other = static_cast<Sprite*>(n);
      if (other == sprite || other->IsInactive() || other->GetMap() != sprite->GetMap()) continue;
      sprite->CheckSpriteCollision(other, reach);
    }
  }
}

// One sprite's whole frame: its logic, animation, contacts, move and drawing; a dead
// sprite is deleted instead, before or right after its behaviour.
void RunSprite(GameNode* scene, NodeList& layer, Sprite* sprite) {
  if (sprite->IsDead()) {
    layer.Remove(sprite);
    return;
  }
  for (uint32_t i = 0; i < sprite->variables.Size(); ++i) {
    Variable* box = sprite->variables.At(i);
    box->stateMachine.Update(box);
    box->RunUpdateFunction();
  }
  if (sprite->pathStateMachine.IsEnabled()) sprite->pathStateMachine.Update(sprite);
  sprite->stateMachine.Update(sprite);
  sprite->RunBehaviour();
  sprite->FollowPath();
  if (sprite->IsDead()) {
    layer.Remove(sprite);
    return;
  }
  sprite->Animate();
  sprite->UpdateVelocity();
  sprite->CheckAlarms();
  sprite->ResetContacts();
  if (sprite->CollidesWithMap()) sprite->CheckMapCollision();
  if (sprite->CollidesWithSprites()) CollideWithSprites(scene, sprite);
  sprite->ApplyTimeOfImpact();
  if (sprite != MainCharacter) sprite->Move();
  sprite->Draw();
}

}  // namespace

void RunMapPasses(GameNode* scene) {
  for (Node* m = scene->maps.GetHead(); !m->IsEnd(); m = m->GetNext()) {
    Map* map = static_cast<Map*>(m);
    map->stateMachine.Update(map);
    map->RunUpdateFunction();
    map->Render();
    for (NodeList& layer : scene->layers) {
      for (Node* n = layer.GetHead(); !n->IsEnd();) {
        Node* next = n->GetNext();
        Sprite* sprite = static_cast<Sprite*>(n);
        if (!sprite->IsInactive() && sprite->GetMap() == map && !IsTextsCursor(sprite))
          RunSprite(scene, layer, sprite);
        n = next;
      }
    }
  }
}

void DrawSceneOverlays(GameNode* scene) {
  scene->DrawVariables();
  scene->DrawTextsCursor();
  if (MainCharacter && MainCharacter->IsShowingDirection()) MainCharacter->DrawDirection(0);  // black, as its own move draws it
  if (scene->GetShowScrollBox()) scene->viewPort.DrawScrollBox();
}

void StepTransitions() {
  if (GammaRampEffect) GammaRampEffect->Step();
  if (OpenCloseEffect) OpenCloseEffect->Step();
  if (RandomDissolveEffect) RandomDissolveEffect->Step();
}

bool AnyTransitionActive() {
  return (OpenCloseEffect && OpenCloseEffect->IsActive()) ||
         (RandomDissolveEffect && RandomDissolveEffect->IsActive()) ||
         (GammaRampEffect && GammaRampEffect->IsActive());
}

void ResortLayers(GameNode* scene) {
  for (NodeList& layer : scene->layers) {
    for (Node* n = layer.GetHead(); !n->IsEnd();) {
      Node* next = n->GetNext();
      Sprite* sprite = static_cast<Sprite*>(n);
      if (sprite->requestedDepth != sprite->depth) {
        sprite->depth = sprite->requestedDepth;
        layer.Unlink(sprite);
        layer.InsertBefore(sprite, FirstAtOrDeeper(layer, sprite->depth));
      }
      n = next;
    }
  }
}

void ClearInputState() {
  if (CurrentKeyboard) CurrentKeyboard->ClearKeys();
  if (CurrentMouse) CurrentMouse->ClearButtons();
}

}  // namespace quor
