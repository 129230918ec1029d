#include <cstdio>

#include "engine/core/engine_globals.h"
#include "engine/app/frame_passes.h"
#include "engine/app/game_director.h"
#include "engine/display/display.h"
#include "engine/display/variable.h"
#include "engine/scene/animation.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"

namespace quor {

void EmptyGameNode(GameNode* scene, bool keepStateMachine) {
  MainCharacter = nullptr;
  scene->ResetViewOrigin();
  scene->spriteIdCounter = 0;
  scene->mapIdCounter = 0;
  scene->variableIdCounter = 0;
  scene->soundIdCounter = 0;
  scene->streamedSoundIdCounter = 0;
  scene->midiIdCounter = 0;
  scene->SetEscapeQuits(0);
  scene->maps.DeleteAll();
  scene->variables.DeleteAll();
  scene->sounds.DeleteAll();
  scene->streamedSounds.DeleteAll();
  scene->midiFiles.DeleteAll();
  scene->onLeaveDone = 0;
  if (!keepStateMachine) scene->stateMachine = StateMachine();
  for (NodeList& layer : scene->layers) layer.DeleteAll();
  ReleaseLoadedOrphans();
  scene->CreateFPSVariable();
  ReleaseAnimationSurfaces();
  EmptyAnimationTable();
  scene->CreateTextsCursor();
}

void (*SceneSwitchObserver)(GameNode* scene) = nullptr;

void PerformSceneSwitch() {
  GameDirector* director = CurrentGameDirector;
  GameNode* next = FindGameNodeById(director->GetNextGameNodeId());
  if (!next) {
    // No scene has that id (a damaged saved game can ask for one): the current scene goes on.
    director->switchPending = 0;
    return;
  }
  if (CurrentGameNode) {
    EmptyGameNode(CurrentGameNode, false);
    next->TakeRecordingFrom(*CurrentGameNode);
  }
  CurrentGameNode = next;
  next->Activate();
  ClearInputState();
  director->switchPending = 0;
  CurrentGameNodeId = static_cast<uint8_t>(director->GetNextGameNodeId());
  AttachVariablesToMaps();
  if (SceneSwitchObserver) SceneSwitchObserver(next);
}

}  // namespace quor
