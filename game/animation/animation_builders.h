// The scenes' animation-set builders: each fills, from the constant tables, exactly the
// animation-table entries its scene's sprites select, in its order. The engine empties the
// table before a scene starts or is restored, so a builder always writes empty entries.
#pragma once

#include <cstddef>

namespace quor {
class GameNode;
}

namespace game {

struct EntryData;

// Fills table entry `index` from `data`: action count and actions, each action's frames
// with their fields, each frame's shapes in the order given (so its list holds them in the
// reverse). When an array cannot be had the entry or action is left with a count of 0.
void FillAnimationEntry(int index, const EntryData& data);

// A builder's entries, in the order it fills them.
struct EntryList {
  const int* entries;
  size_t count;
};
EntryList StartAnimationEntries();
EntryList TitleAnimationEntries();
EntryList InstructAnimationEntries();
EntryList Level1AnimationEntries();
EntryList LoseAnimationEntries();
EntryList Level2AnimationEntries();
EntryList WinAnimationEntries();
EntryList Level4AnimationEntries();
EntryList MidBossAnimationEntries();
EntryList StageIntroAnimationEntries();
EntryList Level3AnimationEntries();
EntryList FinalLevelAnimationEntries();
EntryList FinalDoorAnimationEntries();

// The scenes' animation-set hooks; the scene argument is not used.
void BuildStartAnimationSets(quor::GameNode* scene);
void BuildTitleAnimationSets(quor::GameNode* scene);
void BuildInstructAnimationSets(quor::GameNode* scene);
void BuildLevel1AnimationSets(quor::GameNode* scene);
void BuildLoseAnimationSets(quor::GameNode* scene);
void BuildLevel2AnimationSets(quor::GameNode* scene);
void BuildWinAnimationSets(quor::GameNode* scene);
void BuildLevel4AnimationSets(quor::GameNode* scene);
void BuildMidBossAnimationSets(quor::GameNode* scene);
void BuildStageIntroAnimationSets(quor::GameNode* scene);
void BuildLevel3AnimationSets(quor::GameNode* scene);
void BuildFinalLevelAnimationSets(quor::GameNode* scene);
void BuildFinalDoorAnimationSets(quor::GameNode* scene);

}  // namespace game
