// The scenes' content builders: each walks its scene's table.
#include "engine/scene/game_node.h"
#include "game/scenes/content.h"
#include "game/scenes/content_data.h"

namespace game {

// The seven small scenes: the opening film, the title, the instructions, the game-over
// and victory screens, and the two falls. Each is one picture, one music and a sprite or
// three whose behaviour waits for Space or for the end of an animation.

namespace {

// "Start"
constexpr SoundRow kStartStreams[] = {{"Start", kAtticMusic}};
constexpr MapRow kStartMaps[] = {ScreenMap("Blk", "BlackScreen.bmp")};
constexpr SpriteRow kStartSprites[] = {
    {"AniCon", 27, 0, 0, 240, 191, 0, 0, Behaviour(33), "r"},
};
constexpr TextRow kStartTexts[] = {
    {"NotAPlot", 241, 319, 640, 480, "No, Not A Plot!"},
    {"Plot2", 210, 358, 640, 480, "Anything But A Plot!"},
};

// "Title"
constexpr SoundRow kTitleStreams[] = {{"Title", "Zembrik - Tin Soldierish.wav"}};
constexpr SoundRow kTitleSounds[] = {kVrendleQuestSound};
constexpr MapRow kTitleMaps[] = {ScreenMap("Title", "Title Screen.bmp")};
constexpr SpriteRow kTitleSprites[] = {
    {"PressSpace", 16, 0, 1, 200, 351, 0, 0, Behaviour(16), "r"},
};

// "Instruct"
constexpr SoundRow kInstructStreams[] = {{"Instruct", "1_Vostrel - Under The Copper Hill.wav"}};
constexpr MapRow kInstructMaps[] = {ScreenMap("Instruct", "Instructions.bmp")};
constexpr SpriteRow kInstructSprites[] = {
    {"PressSpace2", 16, 0, 1, 198, 423, 0, 0, Behaviour(22), "r"},
};

// "Lose": its music goes by the name "Level1", from a file of its own.
constexpr SoundRow kLoseStreams[] = {{"Level1", "Vostrel - Deeper Past The Gate.wav"}};
constexpr MapRow kLoseMaps[] = {
    ScreenMap("GameOver", "GameOver.bmp"),
    MistMap("Fog1", "Mist 1.bmp", 1, 1.0f),
    MistMap("Fog2", "Mist 2.bmp", 3, -3.0f),
};
constexpr SpriteRow kLoseSprites[] = {
    {"Flash3", 16, 0, 1, 196, 336, 0, 8, Behaviour(17), "r"},
    {"Spotlight", 1, 3, 0, 280, 66, 0, 0, kNoControl, "r"},
    {"Vrendle", 4, 9, 0, 298, 83, 0, 3, kNoControl, "r"},
};

// "Win"
constexpr SoundRow kWinStreams[] = {{"Winning", "Vostrel - Frogs Should Not Climb.wav"}};
constexpr MapRow kWinMaps[] = {ScreenMap("Win", "YOUWIN.bmp")};
constexpr SpriteRow kWinSprites[] = {
    {"Restart", 16, 0, 1, 203, 332, 0, 0, Behaviour(41), "r"},
};

// "StageIntro" and "FinalDoor": the same fall, from its first action before a level and
// only its last before the victory.
constexpr SoundRow kFallStreams[] = {{"Music", kAtticMusic}};
constexpr MapRow kFallMaps[] = {ScreenMap("BlackScreen", "BlackScreen.bmp")};
constexpr SpriteRow kStageIntroSprites[] = {
    {"Falling", 25, 0, 0, 251, 181, 0, 0, Behaviour(30), "r"},
};
constexpr SpriteRow kFinalDoorSprites[] = {
    {"Falling", 25, 2, 0, 251, 181, 0, 0, Behaviour(42), "r"},
};

}  // namespace

constexpr SceneContent kStartContent{kStartStreams, {},         kStartMaps, "Start",
                                     kStartSprites, kStartTexts};
constexpr SceneContent kTitleContent{kTitleStreams, kTitleSounds, kTitleMaps, "Title",
                                     kTitleSprites};
constexpr SceneContent kInstructContent{
    kInstructStreams, {}, kInstructMaps, "Instruct", kInstructSprites};
constexpr SceneContent kLoseContent{kLoseStreams, {}, kLoseMaps, "Level1", kLoseSprites};
constexpr SceneContent kWinContent{kWinStreams, {}, kWinMaps, "Winning", kWinSprites};
constexpr SceneContent kStageIntroContent{kFallStreams, {}, kFallMaps, "Music", kStageIntroSprites};
constexpr SceneContent kFinalDoorContent{kFallStreams, {}, kFallMaps, "Music", kFinalDoorSprites};

namespace {

const SceneContent kNoContent{};

// By scene id, 1 to 13.
const SceneContent* const kContents[] = {
    &kStartContent,       // 1
    &kTitleContent,       // 2
    &kInstructContent,    // 3
    &kLevel1Content,      // 4
    &kLoseContent,        // 5
    &kLevel2Content,      // 6
    &kWinContent,         // 7
    &kLevel4Content,      // 8
    &kMidBossContent,     // 9
    &kStageIntroContent,  // 10
    &kLevel3Content,      // 11
    &kFinalLevelContent,  // 12
    &kFinalDoorContent,   // 13
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
