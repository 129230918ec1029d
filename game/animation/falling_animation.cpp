// The fall shown before each level and before the winning screen: a castle sequence, a
// cave sequence and a second castle sequence. Whole pictures, so nothing collides.
#include "game/animation/animation_data.h"

namespace game {

namespace {

constexpr uint32_t kGrey = 0xc8d0d4;

constexpr FrameData kCastle[] = {
    {"Castle One - A01.bmp", 154, 97, kGrey, 20, {}, kOpaque},
    {"Castle One - A02.bmp", 154, 97, kGrey, 7, {}, kOpaque},
    {"Castle One - A03.bmp", 154, 97, kGrey, 7, {}, kOpaque},
    {"Castle One - A04.bmp", 154, 97, kGrey, 7, {}, kOpaque},
    {"Castle One - A05.bmp", 154, 97, kGrey, 7, {}, kOpaque},
    {"Castle One - A06.bmp", 154, 97, kGrey, 7, {}, kOpaque},
    {"Castle One - A07.bmp", 154, 97, kGrey, 20, {}, kOpaque},
    {"Castle One - A08.bmp", 154, 97, kGrey, 3, {}, kOpaque},
    {"Castle One - A09.bmp", 154, 97, kGrey, 3, {}, kOpaque},
    {"Castle One - A10.bmp", 154, 97, kGrey, 3, {}, kOpaque},
    {"Castle One - A11.bmp", 154, 97, kGrey, 3, {}, kOpaque},
    {"Castle One - A12.bmp", 154, 97, kGrey, 3, {}, kOpaque},
    {"Castle One - A13.bmp", 154, 97, kGrey, 3, {}, kOpaque},
    {"Castle One - A14.bmp", 154, 97, kGrey, 30, {}, kOpaque},
};
// The cave leaves its grey out, all but its last picture.
constexpr FrameData kCave[] = {
    {"CaveS - 01.bmp", 154, 97, kGrey, 3},
    {"CaveS - 02.bmp", 154, 97, kGrey, 3},
    {"CaveS - 03.bmp", 154, 97, kGrey, 3},
    {"CaveS - 04.bmp", 154, 97, kGrey, 3},
    {"CaveS - 05.bmp", 154, 97, kGrey, 3},
    {"CaveS - 06.bmp", 154, 97, kGrey, 3},
    {"CaveS - 07.bmp", 154, 97, kGrey, 3},
    {"CaveS - 08.bmp", 154, 97, kGrey, 3},
    {"CaveS - 09.bmp", 154, 97, kGrey, 3},
    {"CaveS - 10.bmp", 154, 97, kGrey, 3},
    {"CaveS - 11.bmp", 154, 97, kGrey, 3},
    {"CaveS - 12.bmp", 154, 97, kGrey, 3},
    {"CaveS - 13.bmp", 154, 97, kGrey, 3},
    {"CaveS - 14.bmp", 154, 97, kGrey, 3},
    {"CaveS - 15.bmp", 154, 97, kGrey, 3},
    {"CaveS - 16.bmp", 154, 97, kGrey, 3},
    {"CaveS - 17.bmp", 154, 97, kGrey, 3},
    {"CaveS - 18.bmp", 154, 97, kGrey, 3},
    {"CaveS - 19.bmp", 154, 97, kGrey, 3},
    {"CaveS - 20.bmp", 154, 97, kGrey, 3},
    {"CaveS - 21.bmp", 154, 97, kGrey, 3},
    {"CaveS - 22.bmp", 154, 97, kGrey, 3},
    {"CaveS - 23.bmp", 154, 97, kGrey, 3},
    {"CaveS - 24.bmp", 154, 97, kGrey, 3},
    {"CaveS - 25.bmp", 154, 97, kGrey, 3},
    {"CaveS - 26.bmp", 154, 97, kGrey, 3},
    {"CaveS - 27.bmp", 154, 97, kGrey, 3},
    {"CaveS - 28.bmp", 154, 97, kGrey, 3},
    {"CaveS - 29.bmp", 154, 97, kGrey, 3},
    {"CaveS - 30.bmp", 154, 97, kGrey, 3, {}, kOpaque},
};
// The second castle sequence begins at its seventh picture.
constexpr FrameData kCastleAgain[] = {
    {"Castle One - B07.bmp", 154, 97, kGrey, 40, {}, kOpaque},
    {"Castle One - B08.bmp", 154, 97, kGrey, 10, {}, kOpaque},
    {"Castle One - B09.bmp", 154, 97, kGrey, 10, {}, kOpaque},
    {"Castle One - B10.bmp", 154, 97, kGrey, 30, {}, kOpaque},
};
constexpr ActionData kFallingActions[] = {{kCastle}, {kCave}, {kCastleAgain}};

}  // namespace

constexpr EntryData kFallingSet{kFallingActions};

}  // namespace game
