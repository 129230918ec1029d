#include "engine/core/engine_globals.h"
#include "engine/app/game_director.h"
#include "engine/app/run_application.h"
#include "engine/app/frame_passes.h"
#include "engine/display/display.h"
#include "engine/display/transitions.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/keyboard.h"
#include "engine/sound_input/mouse.h"
#include "engine/sound_input/sound_device.h"

namespace quor {


int RunMainLoop(bool* ranAFrame) {
  platform::Host& host = platform::CurrentHost();
  int exitValue = 0;
  if (ranAFrame) *ranAFrame = false;
  for (;;) {
    while (CurrentGameDirector && CurrentGameDirector->IsSwitchPending()) {
      if (AnyTransitionActive()) break;
      PerformSceneSwitch();
    }
    if (CurrentGameNode) CurrentGameNode->BeginFrame();

    platform::WindowMessage message;
    if (host.TakeMessage(message)) {
      exitValue = message.code;
      if (message.kind == platform::WindowEvent::Quit) break;
      MainWindowProc(message);
    }
    if (QuitRequested) break;

    RunEngineFrame();
    if (ranAFrame) *ranAFrame = true;
    GetSoundDevice()->UpdateStreamedSounds();
    if (CurrentGameNode) {
      CurrentGameNode->EndFrame();
      CurrentGameNode->WaitFrame();
    }
  }
  return exitValue;
}

void RunEngineFrame() {
  GameDirector* director = CurrentGameDirector;
  if (director && director->saveRequested) director->DoPendingSave();
  if (director && director->loadRequested) director->DoPendingLoad();

  if (CurrentMouse) CurrentMouse->Update();
  if (CurrentKeyboard) CurrentKeyboard->Update();
  HandleSystemKeys();

  GameNode* scene = CurrentGameNode;
  if (scene && !Paused) RunSceneLogic(scene);
  if (scene && !Paused) RunMapPasses(scene);
  if (scene) DrawSceneOverlays(scene);
  if (!Paused) StepTransitions();

  bool switchPending = director && director->IsSwitchPending();
  if (!switchPending || AnyTransitionActive()) PresentFrame();
  if (Paused) return;
  if (scene) ResortLayers(scene);
}

}  // namespace quor
