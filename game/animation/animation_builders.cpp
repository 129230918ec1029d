// Every scene's builder is its ordered list of entries.
#include "game/animation/animation_builders.h"

#include "engine/scene/game_node.h"
#include "game/animation/animation_data.h"

namespace game {

namespace {

constexpr int kStart[] = {27};
constexpr int kPromptOnly[] = {16};
constexpr int kLevel1[] = {1, 0, 2, 3, 4, 5, 6, 10, 8, 9, 7, 11, 13, 14, 12, 15, 17, 18, 19, 20};
constexpr int kLose[] = {16, 1, 4};
constexpr int kLevel2[] = {4, 10, 6, 8, 9, 7, 11, 13, 14, 12, 15, 20, 19, 1, 3, 5, 21, 24, 23, 18};
constexpr int kLevel4[] = {4, 10, 6, 8, 9, 7, 11, 13, 14, 12, 15, 20, 19, 1, 3, 5, 21, 24, 23, 2, 0, 17};
constexpr int kMidBoss[] = {4, 6, 8, 9, 7, 11, 13, 14, 12, 15, 20, 19, 5, 21, 10, 26, 28, 29};
constexpr int kFalling[] = {25};
constexpr int kLevel3[] = {0, 2, 3, 4, 5, 6, 10, 8, 9, 7, 11, 13, 14, 12, 15, 17, 19, 20, 1, 18};
constexpr int kFinalLevel[] = {4, 6, 8, 9, 7, 11, 13, 14, 12, 15, 20, 19, 21, 10, 32, 30, 31, 1, 29, 28};

template <size_t N>
constexpr EntryList ListOf(const int (&entries)[N]) {
  return EntryList{entries, N};
}

void Fill(EntryList list) {
  for (size_t i = 0; i < list.count; ++i)
    FillAnimationEntry(list.entries[i], AnimationEntryData(list.entries[i]));
}

}  // namespace

EntryList StartAnimationEntries() { return ListOf(kStart); }
EntryList TitleAnimationEntries() { return ListOf(kPromptOnly); }
EntryList InstructAnimationEntries() { return ListOf(kPromptOnly); }
EntryList Level1AnimationEntries() { return ListOf(kLevel1); }
EntryList LoseAnimationEntries() { return ListOf(kLose); }
EntryList Level2AnimationEntries() { return ListOf(kLevel2); }
EntryList WinAnimationEntries() { return ListOf(kPromptOnly); }
EntryList Level4AnimationEntries() { return ListOf(kLevel4); }
EntryList MidBossAnimationEntries() { return ListOf(kMidBoss); }
EntryList StageIntroAnimationEntries() { return ListOf(kFalling); }
EntryList Level3AnimationEntries() { return ListOf(kLevel3); }
EntryList FinalLevelAnimationEntries() { return ListOf(kFinalLevel); }
EntryList FinalDoorAnimationEntries() { return ListOf(kFalling); }

void BuildStartAnimationSets(quor::GameNode*) { Fill(StartAnimationEntries()); }
void BuildTitleAnimationSets(quor::GameNode*) { Fill(TitleAnimationEntries()); }
void BuildInstructAnimationSets(quor::GameNode*) { Fill(InstructAnimationEntries()); }
void BuildLevel1AnimationSets(quor::GameNode*) { Fill(Level1AnimationEntries()); }
void BuildLoseAnimationSets(quor::GameNode*) { Fill(LoseAnimationEntries()); }
void BuildLevel2AnimationSets(quor::GameNode*) { Fill(Level2AnimationEntries()); }
void BuildWinAnimationSets(quor::GameNode*) { Fill(WinAnimationEntries()); }
void BuildLevel4AnimationSets(quor::GameNode*) { Fill(Level4AnimationEntries()); }
void BuildMidBossAnimationSets(quor::GameNode*) { Fill(MidBossAnimationEntries()); }
void BuildStageIntroAnimationSets(quor::GameNode*) { Fill(StageIntroAnimationEntries()); }
void BuildLevel3AnimationSets(quor::GameNode*) { Fill(Level3AnimationEntries()); }
void BuildFinalLevelAnimationSets(quor::GameNode*) { Fill(FinalLevelAnimationEntries()); }
void BuildFinalDoorAnimationSets(quor::GameNode*) { Fill(FinalDoorAnimationEntries()); }

}  // namespace game
