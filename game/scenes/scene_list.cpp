#include "game/scenes/scene_list.h"

#include <new>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "game/animation/animation_builders.h"
#include "game/scenes/content.h"
#include "platform/input_keys.h"

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

// The keys the game reads, which a recording keeps so that its replay plays the game
// again: the arrows, the hero's actions, Space, and the level select's keys. The engine's
// own keys stay out: a replay must not save, load, record or quit.
constexpr uint8_t kPlayerKeys[] = {
    platform::KeyDown,  platform::KeyUp,          platform::KeyRight,     platform::KeyLeft,
    platform::KeyT,     platform::KeyS,           platform::KeyD,         platform::KeyF,
    platform::KeySpace, platform::KeyLeftControl, platform::KeyLeftShift, platform::Key1,
    platform::Key2,     platform::Key3,           platform::Key4,         platform::Key5,
    platform::Key6,
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
    for (uint8_t key : kPlayerKeys) scene->RegisterKey(key);
    // A second scene with an id already present is not taken.
    const int32_t id = row.id;
    quor::CurrentGameDirector->AddGameNode(scene);
    if (quor::FindGameNodeById(id) != scene) delete scene;
  }
  return true;
}

}  // namespace game
