// The intro film of "Start", and the blinking prompt to press Space of "Title", "Instruct",
// "Lose" and "Win".
#include "game/animation/animation_data.h"

namespace game {

namespace {

constexpr uint32_t kBlue = 0xff0000;

constexpr FrameData kPromptBlink[] = {
    {"PressSpace1.bmp", 240, 32, kBlue, 15},
    {"PressSpace2.bmp", 240, 32, kBlue, 25},
};
constexpr ActionData kPromptActions[] = {{kPromptBlink}};

}  // namespace

constexpr EntryData kPromptSet{kPromptActions};
constexpr EntryData kIntroSet{};

}  // namespace game
