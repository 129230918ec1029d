// The intro film of "Start", and the blinking prompt to press Space of "Title", "Instruct",
// "Lose" and "Win".
#include "game/animation/animation_data.h"

namespace game {

namespace {

// One frame a line, as the pictures play.
// clang-format off
constexpr uint32_t kGrey = 0xc8d0d4;
constexpr uint32_t kBlue = 0xff0000;

// --- the intro film: parts one to three, then a loop that waits for Space ---
// Six pictures are drawn whole, their grey included. The gaps in the numbering and the
// order of the pictures are the film's own.

constexpr Departures kKeepsLargeCentre = CollisionRect(0, 0, 180, 116).Centre(90, 58);

// The first part.
constexpr FrameData kIntroPartOne[] = {
    {"Intro1 - 01.bmp", 181, 118, kGrey, 30},
    {"Intro1 - 02.bmp", 181, 118, kGrey, 6},
    {"Intro1 - 03.bmp", 181, 118, kGrey, 6},
    {"Intro1 - 04.bmp", 181, 118, kGrey, 6},
    {"Intro1 - 05.bmp", 181, 118, kGrey, 6},
    {"Intro1 - 06.bmp", 181, 118, kGrey, 6},
    {"Intro1 - 07.bmp", 181, 118, kGrey, 6},
    {"Intro1 - 08.bmp", 181, 118, kGrey, 6},
    {"Intro1 - 09.bmp", 181, 118, kGrey, 6},
    {"Intro1 - 10.bmp", 181, 118, kGrey, 6},
    {"Intro1 - 11.bmp", 181, 118, kGrey, 6},
    {"Intro1 - 12.bmp", 181, 118, kGrey, 6},
    {"Intro1 - 13.bmp", 181, 118, kGrey, 6},
    {"Intro1 - 14.bmp", 181, 118, kGrey, 6},
    {"Intro1 - 15.bmp", 181, 118, kGrey, 6},
    {"Intro1 - 16.bmp", 181, 118, kGrey, 15},
    {"Intro1 - 17.bmp", 181, 118, kGrey, 15},
    {"Intro1 - 18.bmp", 181, 118, kGrey, 6},
    {"Intro1 - 19.bmp", 181, 118, kGrey, 6},
    {"Intro1 - 20.bmp", 181, 118, kGrey, 6},
    {"Intro1 - 21.bmp", 181, 118, kGrey, 30, {}, kOpaque},
};
// The second part, in three actions.
constexpr FrameData kIntroPartTwoOpening[] = {
    {"Intro2 - 01.bmp", 181, 117, kGrey, 30},
    {"Intro2 - 02.bmp", 181, 117, kGrey, 80},
    {"Intro2 - 03.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 04.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 05.bmp", 181, 117, kGrey, 20},
    {"Intro2 - 06.bmp", 181, 117, kGrey, 4},
    {"Intro2 - 07.bmp", 181, 117, kGrey, 4},
    {"Intro2 - 08.bmp", 181, 117, kGrey, 4},
    {"Intro2 - 09.bmp", 181, 117, kGrey, 4},
    {"Intro2 - 10.bmp", 181, 117, kGrey, 4},
    {"Intro2 - 11.bmp", 181, 117, kGrey, 4},
    {"Intro2 - 12.bmp", 181, 117, kGrey, 4},
    {"Intro2 - 13.bmp", 181, 117, kGrey, 4},
    {"Intro2 - 14.bmp", 181, 117, kGrey, 4},
    {"Intro2 - 15.bmp", 181, 117, kGrey, 4},
    {"Intro2 - 18.bmp", 181, 117, kGrey, 4},
    {"Intro2 - 19.bmp", 181, 117, kGrey, 4},
    {"Intro2 - 20.bmp", 181, 117, kGrey, 4},
    {"Intro2 - 21.bmp", 181, 117, kGrey, 4},
    {"Intro2 - 22.bmp", 181, 117, kGrey, 4},
    {"Intro2 - 23.bmp", 181, 117, kGrey, 4},
    {"Intro2 - 24.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 25.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 26.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 27.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 28.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 29.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 30.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 31.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 32.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 33.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 34.bmp", 181, 117, kGrey, 200},
    {"Intro2 - 35.bmp", 181, 117, kGrey, 6, {}, kOpaque},
};
constexpr FrameData kIntroPartTwoMiddle[] = {
    {"Intro2 - 36.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 37.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 38.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 39.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 40.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 41.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 42.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 43.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 44.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 45.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 46.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 47.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 48.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 49.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 51.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 52.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 53.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 54.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 55.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 56.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 57.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 58.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 59.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 60.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 61.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 62.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 63.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 64.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 65.bmp", 181, 117, kGrey, 15, {}, kOpaque},
};
// The last eleven pictures are smaller and keep the larger pictures' centre and body.
constexpr FrameData kIntroPartTwoClosing[] = {
    {"Intro2 - 65.1.bmp", 181, 117, kGrey, 6, {}, kOpaque},
    {"Intro2 - 65.2.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 65.3.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 65.4.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 65.5.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 65.6.bmp", 181, 117, kGrey, 100},
    {"Intro2 - 65.7.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 66.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 67.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 68.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 69.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 70.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 71.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 72.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 73.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 74.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 75.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 76.bmp", 181, 117, kGrey, 30},
    {"Intro2 - 77.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 78.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 79.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 80.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 81.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 82.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 83.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 86.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 87.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 88.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 89.bmp", 181, 117, kGrey, 6},
    {"Intro2 - 90.bmp", 181, 117, kGrey, 30},
    {"Intro2 - 91.bmp", 154, 97, kGrey, 6, {}, kKeepsLargeCentre},
    {"Intro2 - 92.bmp", 154, 97, kGrey, 6, {}, kKeepsLargeCentre},
    {"Intro2 - 93.bmp", 154, 97, kGrey, 6, {}, kKeepsLargeCentre},
    {"Intro2 - 94.bmp", 154, 97, kGrey, 6, {}, kKeepsLargeCentre},
    {"Intro2 - 95.bmp", 154, 97, kGrey, 6, {}, kKeepsLargeCentre},
    {"Intro2 - 96.bmp", 154, 97, kGrey, 6, {}, kKeepsLargeCentre},
    {"Intro2 - 97.bmp", 154, 97, kGrey, 6, {}, kKeepsLargeCentre},
    {"Intro2 - 98.bmp", 154, 97, kGrey, 6, {}, kKeepsLargeCentre},
    {"Intro2 - 99.bmp", 154, 97, kGrey, 6, {}, kKeepsLargeCentre},
    {"Intro2 - 100.bmp", 154, 97, kGrey, 6, {}, kKeepsLargeCentre},
    {"Intro2 - 101.bmp", 154, 97, kGrey, 30, {}, kKeepsLargeCentre},
};
// The third part: picture 07 comes last.
constexpr FrameData kIntroPartThree[] = {
    {"Intro3 - 01.bmp", 181, 118, kGrey, 6},
    {"Intro3 - 02.bmp", 181, 118, kGrey, 6},
    {"Intro3 - 03.bmp", 181, 118, kGrey, 6},
    {"Intro3 - 04.bmp", 181, 118, kGrey, 6},
    {"Intro3 - 05.bmp", 181, 118, kGrey, 30, {}, kOpaque},
    {"Intro3 - 08.bmp", 181, 118, kGrey, 6},
    {"Intro3 - 09.bmp", 181, 118, kGrey, 6},
    {"Intro3 - 10.bmp", 181, 118, kGrey, 6},
    {"Intro3 - 11.bmp", 181, 118, kGrey, 6},
    {"Intro3 - 12.bmp", 181, 118, kGrey, 6},
    {"Intro3 - 07.bmp", 181, 118, kGrey, 60},
};
// Runs until the player presses Space.
constexpr FrameData kIntroSpaceLoop[] = {
    {"SpaceLoop2.bmp", 154, 97, kGrey, 9},
    {"SpaceLoop1.bmp", 154, 97, kGrey, 9, {}, kOpaque},
};
constexpr ActionData kIntroActions[] = {
    {kIntroPartOne},        {kIntroPartTwoOpening}, {kIntroPartTwoMiddle},
    {kIntroPartTwoClosing}, {kIntroPartThree},      {kIntroSpaceLoop},
};

// --- the prompt: blinks for as long as its scene waits ---

constexpr FrameData kPromptBlink[] = {
    {"PressSpace1.bmp", 240, 32, kBlue, 15},
    {"PressSpace2.bmp", 240, 32, kBlue, 25},
};
constexpr ActionData kPromptActions[] = {{kPromptBlink}};

// clang-format on

}  // namespace

constexpr EntryData kPromptSet{kPromptActions};
constexpr EntryData kIntroSet{kIntroActions};

}  // namespace game
