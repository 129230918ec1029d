#include "engine/app/frame_passes.h"

#include "engine/app/engine_globals.h"
#include "engine/app/object_stream.h"
#include "engine/display/transitions.h"
#include "engine/display/variable.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/midi_file.h"
#include "engine/sound_input/keyboard.h"
#include "engine/sound_input/mouse.h"

namespace quor {

void RunSceneLogic(GameNode* scene) {
  scene->RunBehaviour();
  scene->UpdateVariables();
}

void RunMapPasses(GameNode*) {}

void DrawSceneOverlays(GameNode* scene) {
  scene->DrawVariables();
  scene->DrawTextsCursor();
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

void ResortLayers(GameNode*) {}

}  // namespace quor

namespace quor {
void ReplayWantedMidiFiles() {
  GameNode* scene = CurrentGameNode;
  if (!scene) return;
  for (Node* n = scene->midiFiles.GetHead(); !n->IsEnd(); n = n->GetNext()) {
    MidiFile* music = static_cast<MidiFile*>(n);
    if (music->wanted && !music->IsPlaying()) music->Play();
  }
}
void RunVariableStateMachine(Variable*) {}
void ClearInputState() {
  if (CurrentKeyboard) CurrentKeyboard->ClearKeys();
  if (CurrentMouse) CurrentMouse->ClearButtons();
}
void AttachSceneVariablesToMaps(GameNode*) { AttachVariablesToMaps(); }
}  // namespace quor

namespace quor {

void SaveMouseState(ObjectStream& stream) {
  Mouse idle;
  const Mouse& mouse = CurrentMouse ? *CurrentMouse : idle;
  stream.WriteLong(mouse.GetSensitivity());
  stream.WriteLong(mouse.GetX());
  stream.WriteLong(mouse.GetY());
  stream.WriteLong(mouse.GetDX());
  stream.WriteLong(mouse.GetDY());
  stream.WriteRect(mouse.GetClientRect());
  stream.WriteByte(mouse.GetXMoved());
  stream.WriteByte(mouse.GetYMoved());
}

void LoadMouseState(ObjectStream& stream) {
  Mouse idle;
  Mouse& mouse = CurrentMouse ? *CurrentMouse : idle;
  float sensitivity = mouse.GetSensitivity();
  int32_t x = mouse.GetX(), y = mouse.GetY(), dx = mouse.GetDX(), dy = mouse.GetDY();
  Rect client = mouse.GetClientRect();
  uint8_t xMoved = mouse.GetXMoved(), yMoved = mouse.GetYMoved();
  stream.ReadLong(&sensitivity);
  stream.ReadLong(&x);
  stream.ReadLong(&y);
  stream.ReadLong(&dx);
  stream.ReadLong(&dy);
  stream.ReadRect(&client);
  stream.ReadByte(&xMoved);
  stream.ReadByte(&yMoved);
  mouse.SetSensitivity(sensitivity);
  mouse.SetX(x);
  mouse.SetY(y);
  mouse.SetDX(dx);
  mouse.SetDY(dy);
  mouse.SetClientRect(client);
  mouse.SetXMoved(xMoved);
  mouse.SetYMoved(yMoved);
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
