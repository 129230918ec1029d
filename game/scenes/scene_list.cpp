#include "game/scenes/scene_list.h"

#include <new>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "game/animation/animation_builders.h"
#include "game/scenes/content.h"

namespace game {

namespace {

struct SceneRow {
  int32_t id;
  const char* name;
  quor::GameNodeHook buildContent;
  quor::GameNodeHook buildAnimationSets;
  quor::GameNodeHook onLeave;
};

// The ids are not in play order: "Lose" is 5, "Win" 7, "StageIntro" 10.
constexpr SceneRow kScenes[] = {
    {1, "Start", BuildStartContent, BuildStartAnimationSets, LeaveStart},
    {2, "Title", BuildTitleContent, BuildTitleAnimationSets, LeaveTitle},
    {3, "Instruct", BuildInstructContent, BuildInstructAnimationSets, LeaveInstruct},
    {4, "Level1", BuildLevel1Content, BuildLevel1AnimationSets, LeaveLevel1},
    {5, "Lose", BuildLoseContent, BuildLoseAnimationSets, LeaveLose},
    {6, "Level2", BuildLevel2Content, BuildLevel2AnimationSets, LeaveLevel2},
    {7, "Win", BuildWinContent, BuildWinAnimationSets, LeaveWin},
    {8, "Level4", BuildLevel4Content, BuildLevel4AnimationSets, LeaveLevel4},
    {9, "MidBoss", BuildMidBossContent, BuildMidBossAnimationSets, LeaveMidBoss},
    {10, "StageIntro", BuildStageIntroContent, BuildStageIntroAnimationSets, LeaveStageIntro},
    {11, "Level3", BuildLevel3Content, BuildLevel3AnimationSets, LeaveLevel3},
    {12, "FinalLevel", BuildFinalLevelContent, BuildFinalLevelAnimationSets, LeaveFinalLevel},
    {13, "FinalDoor", BuildFinalDoorContent, BuildFinalDoorAnimationSets, LeaveFinalDoor},
};

}  // namespace

bool CreateSceneList() {
  for (const SceneRow& row : kScenes) {
    auto* scene = new (std::nothrow) quor::GameNode;
    if (!scene) return false;
    scene->SetId(row.id);
    scene->SetName(row.name);
    scene->buildAnimationSets = row.buildAnimationSets;
    scene->buildContent = row.buildContent;
    scene->onLeave = row.onLeave;
    // A second scene with an id already present is not taken.
    const int32_t id = row.id;
    quor::CurrentGameDirector->AddGameNode(scene);
    if (quor::FindGameNodeById(id) != scene) delete scene;
  }
  return true;
}

}  // namespace game
