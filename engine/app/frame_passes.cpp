#include "engine/app/frame_passes.h"

#include <cstring>

#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/display/transitions.h"
#include "engine/display/variable.h"
#include "engine/display/map.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/midi_file.h"
#include "engine/sound_input/keyboard.h"
#include "engine/sound_input/mouse.h"
#include "platform/host.h"
#include "platform/input_source.h"

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

Node* FirstAtOrDeeper(NodeList& layer, int32_t depth) {
  Node* n = layer.GetHead();
  while (!n->IsEnd() && static_cast<Sprite*>(n)->GetDepth() < depth) n = n->GetNext();
  return n;
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


void ReplayWantedMidiFiles() {
  GameNode* scene = CurrentGameNode;
  if (!scene) return;
  for (Node* n = scene->midiFiles.GetHead(); !n->IsEnd(); n = n->GetNext()) {
    MidiFile* music = static_cast<MidiFile*>(n);
    if (music->wanted && !music->IsPlaying()) music->Play();
  }
}
void ClearInputState() {
  if (CurrentKeyboard) CurrentKeyboard->ClearKeys();
  if (CurrentMouse) CurrentMouse->ClearButtons();
}


// The mouse's part of a saved scene. Without a mouse (a scene saved or loaded outside the
// run) an idle mouse's values are written and the values read are passed over: no device
// is opened for it.
void SaveMouseState(ObjectStream& stream) {
  const Mouse* mouse = CurrentMouse;
  // An idle mouse's client area is the window's, as a mouse made now would read it.
  Rect idleClient;
  if (!mouse && platform::HasHost()) {
    platform::InputSource& input = platform::CurrentHost().Input();
    SetRect(&idleClient, 0, 0, input.ClientWidth(), input.ClientHeight());
  }
  stream.WriteLong(mouse ? mouse->GetSensitivity() : 1.0f);
  stream.WriteLong(mouse ? mouse->GetX() : 0);
  stream.WriteLong(mouse ? mouse->GetY() : 0);
  stream.WriteLong(mouse ? mouse->GetDX() : 0);
  stream.WriteLong(mouse ? mouse->GetDY() : 0);
  stream.WriteRect(mouse ? mouse->GetClientRect() : idleClient);
  stream.WriteByte(mouse ? mouse->GetXMoved() : 0);
  stream.WriteByte(mouse ? mouse->GetYMoved() : 0);
}

void LoadMouseState(ObjectStream& stream) {
  float sensitivity = 1.0f;
  int32_t x = 0, y = 0, dx = 0, dy = 0;
  Rect client;
  uint8_t xMoved = 0, yMoved = 0;
  Mouse* mouse = CurrentMouse;
  if (mouse) {
    sensitivity = mouse->GetSensitivity();
    x = mouse->GetX();
    y = mouse->GetY();
    dx = mouse->GetDX();
    dy = mouse->GetDY();
    client = mouse->GetClientRect();
    xMoved = mouse->GetXMoved();
    yMoved = mouse->GetYMoved();
  }
  stream.ReadLong(&sensitivity);
  stream.ReadLong(&x);
  stream.ReadLong(&y);
  stream.ReadLong(&dx);
  stream.ReadLong(&dy);
  stream.ReadRect(&client);
  stream.ReadByte(&xMoved);
  stream.ReadByte(&yMoved);
  if (!mouse) return;
  mouse->SetSensitivity(sensitivity);
  mouse->SetX(x);
  mouse->SetY(y);
  mouse->SetDX(dx);
  mouse->SetDY(dy);
  mouse->SetClientRect(client);
  mouse->SetXMoved(xMoved);
  mouse->SetYMoved(yMoved);
}

void SaveTransitions(ObjectStream& stream) {
  if (GammaRampEffect) GammaRampEffect->Save(stream);
  if (OpenCloseEffect) OpenCloseEffect->Save(stream);
  if (RandomDissolveEffect) RandomDissolveEffect->Save(stream);
}

void LoadTransitions(ObjectStream& stream) {
  if (GammaRampEffect) GammaRampEffect->Load(stream);
  if (OpenCloseEffect) OpenCloseEffect->Load(stream);
  if (RandomDissolveEffect) RandomDissolveEffect->Load(stream);
}

}  // namespace quor
