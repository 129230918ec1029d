#include "engine/scene/scene_passes.h"

#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/core/rect.h"
#include "engine/display/transitions.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/midi_file.h"
#include "engine/sound_input/mouse.h"
#include "platform/host.h"
#include "platform/input_source.h"

namespace quor {

Node* FirstAtOrDeeper(NodeList& layer, int32_t depth) {
  Node* n = layer.GetHead();
  while (!n->IsEnd() && static_cast<Sprite*>(n)->GetDepth() < depth) n = n->GetNext();
  return n;
}

void ReplayWantedMidiFiles() {
  GameNode* scene = CurrentGameNode;
  if (!scene) return;
  for (Node* n = scene->midiFiles.GetHead(); !n->IsEnd(); n = n->GetNext()) {
    MidiFile* music = static_cast<MidiFile*>(n);
    if (music->wanted && !music->IsPlaying()) music->Play();
  }
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
