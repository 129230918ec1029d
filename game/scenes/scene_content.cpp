// The scenes' content builders: each walks its scene's table.
#include "engine/scene/game_node.h"
#include "game/scenes/content.h"
#include "game/scenes/content_data.h"

namespace game {

constexpr SceneContent kStartContent{};
constexpr SceneContent kTitleContent{};
constexpr SceneContent kInstructContent{};
constexpr SceneContent kLoseContent{};
constexpr SceneContent kWinContent{};
constexpr SceneContent kStageIntroContent{};
constexpr SceneContent kFinalDoorContent{};

namespace {

const SceneContent kNoContent{};

// By scene id, 1 to 13.
const SceneContent* const kContents[] = {
    &kStartContent,   &kTitleContent, &kInstructContent,   &kLevel1Content, &kLoseContent,
    &kLevel2Content,  &kWinContent,   &kLevel4Content,     &kMidBossContent,
    &kStageIntroContent, &kLevel3Content, &kFinalLevelContent, &kFinalDoorContent,
};

}  // namespace

const SceneContent& SceneContentData(int32_t sceneId) {
  if (sceneId < 1 || sceneId > static_cast<int32_t>(sizeof kContents / sizeof kContents[0]))
    return kNoContent;
  return *kContents[sceneId - 1];
}

void BuildStartContent(quor::GameNode* scene) { BuildSceneContent(scene, kStartContent); }
void BuildTitleContent(quor::GameNode* scene) { BuildSceneContent(scene, kTitleContent); }
void BuildInstructContent(quor::GameNode* scene) { BuildSceneContent(scene, kInstructContent); }
void BuildLevel1Content(quor::GameNode* scene) { BuildSceneContent(scene, kLevel1Content); }
void BuildLoseContent(quor::GameNode* scene) { BuildSceneContent(scene, kLoseContent); }
void BuildLevel2Content(quor::GameNode* scene) { BuildSceneContent(scene, kLevel2Content); }
void BuildWinContent(quor::GameNode* scene) { BuildSceneContent(scene, kWinContent); }
void BuildLevel4Content(quor::GameNode* scene) { BuildSceneContent(scene, kLevel4Content); }
void BuildMidBossContent(quor::GameNode* scene) { BuildSceneContent(scene, kMidBossContent); }
void BuildStageIntroContent(quor::GameNode* scene) { BuildSceneContent(scene, kStageIntroContent); }
void BuildLevel3Content(quor::GameNode* scene) { BuildSceneContent(scene, kLevel3Content); }
void BuildFinalLevelContent(quor::GameNode* scene) { BuildSceneContent(scene, kFinalLevelContent); }
void BuildFinalDoorContent(quor::GameNode* scene) { BuildSceneContent(scene, kFinalDoorContent); }

}  // namespace game
