#include "engine/app/frame_passes.h"

#include "engine/display/variable.h"
#include "engine/scene/game_node.h"

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

void StepTransitions() {}

bool AnyTransitionActive() { return false; }

void ResortLayers(GameNode*) {}

}  // namespace quor

namespace quor {
void ReplayWantedMidiFiles() {}
void RunVariableStateMachine(Variable*) {}
void ClearInputState() {}
void AttachSceneVariablesToMaps(GameNode*) { AttachVariablesToMaps(); }
}  // namespace quor
