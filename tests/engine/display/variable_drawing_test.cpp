#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/core/engine_globals.h"
#include "engine/core/random.h"
#include "engine/display/display.h"
#include "engine/display/variable.h"
#include "engine/display/variable_links.h"
#include "engine/sound_input/keyboard.h"
#include "engine/sound_input/mouse.h"
#include "platform/headless/headless_host.h"

namespace quor {
namespace {

struct Drawn {
  int32_t x, y;
  char c;
};

// Every character 10 pixels wide and 20 high, except '#', which cannot be measured.
class FixedDevice : public box_links::TextDevice {
 public:
  bool Measure(const char* text, size_t n, int32_t* width, int32_t* height) override {
    for (size_t i = 0; i < n; ++i)
      if (text[i] == '#') return false;
    *width = static_cast<int32_t>(n) * 10;
    *height = 20;
    return true;
  }
  void DrawCharacter(int32_t x, int32_t y, char c) override { drawn.push_back({x, y, c}); }

  // The characters of each drawn row, keyed by y.
  std::map<int32_t, std::string> Rows() const {
    std::map<int32_t, std::string> rows;
    for (const Drawn& d : drawn) rows[d.y] += d.c;
    return rows;
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (const auto& row : Rows()) lines.push_back(row.second);
    return lines;
  }
  std::vector<Drawn> drawn;
};

class VariableDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedRandom_ = RandomState();
    savedQuit_ = QuitRequested;
    platform::InstallHost(&host);
    // The arrows are drawn in the back buffer: without one each is refused in a box, which
    // would take the input of the scrolling tests.
    ASSERT_TRUE(InitGraphics());
    box_links::SetTextDeviceOverride(&device);
  }
  void TearDown() override {
    box_links::SetTextDeviceOverride(nullptr);
    ReleaseGraphics();
    platform::InstallHost(nullptr);
    SeedRandom(savedRandom_);
    QuitRequested = savedQuit_;
  }
  // A box at (100, 50) of the size given, in the mode given, with the text.
  void Make(Variable& box, int mode, int width, int height, const char* text) {
    box.SetDrawMode(mode);
    box.SetRect(100, 50, 100 + width, 50 + height);
    box.SetText(text);
  }
  std::vector<std::string> DrawLines(Variable& box) {
    device.drawn.clear();
    box.Draw();
    return device.Lines();
  }

  platform::HeadlessHost host;
  FixedDevice device;
  uint32_t savedRandom_ = 1;
  uint8_t savedQuit_ = 0;
};

using Lines = std::vector<std::string>;

TEST_F(VariableDrawingTest, TwoLinesInEveryModeAndTheMarkIsNeverDrawn) {
  for (int mode = 0; mode <= 4; ++mode) {
    Variable box;
    Make(box, mode, 300, 200, "AB\\nCD");
    EXPECT_EQ(DrawLines(box), (Lines{"AB", "CD"})) << "mode " << mode;
  }
  Variable lone;
  Make(lone, 0, 300, 200, "A\\B");
  EXPECT_EQ(DrawLines(lone), (Lines{"A\\B"}));
}

TEST_F(VariableDrawingTest, CharactersArePlacedByMarginsAndSpacing) {
  Variable box;
  box.SetMarginX(3);
  box.SetMarginY(4);
  box.SetLetterSpacing(2);
  box.SetLineSpacing(5);
  Make(box, 0, 300, 200, "AB\\nC");
  device.drawn.clear();
  box.Draw();
  ASSERT_EQ(device.drawn.size(), 3u);
  // x is the right end of a character; it is drawn from x minus its width.
  EXPECT_EQ(device.drawn[0].x, 100 + 3);
  EXPECT_EQ(device.drawn[0].y, 50 + 4);
  EXPECT_EQ(device.drawn[1].x, 100 + 3 + 10 + 2);
  EXPECT_EQ(device.drawn[2].x, 100 + 3);
  EXPECT_EQ(device.drawn[2].y, 50 + 4 + 25);
  EXPECT_EQ(box.linesPerBox, (200 - 0 - 4) / 25);
}

TEST_F(VariableDrawingTest, WordAndCharacterWrapping) {
  // The line limit is width - 2: 62 pixels hold six characters.
  Variable words;
  Make(words, 0, 64, 200, "ab cdef ghijklmnop");
  EXPECT_EQ(DrawLines(words), (Lines{"ab ", "cdef ", "ghijkl", "mnop"}));

  Variable chars;
  Make(chars, 1, 64, 200, "ab cdef ghijklmnop");
  EXPECT_EQ(DrawLines(chars), (Lines{"ab cde", "f ghij", "klmnop"}));
}

TEST_F(VariableDrawingTest, LeadingSpaces) {
  for (int mode : {0, 1, 3}) {
    Variable box;
    Make(box, mode, 300, 200, "  A\\n  B");
    EXPECT_EQ(DrawLines(box), (Lines{"A", "B"})) << mode;
    box.SetKeepLeadingSpaces(1);
    EXPECT_EQ(DrawLines(box), (Lines{"  A", "  B"})) << mode;
  }
  for (int mode : {2, 4}) {
    Variable box;
    Make(box, mode, 300, 200, "  A\\n  B");
    EXPECT_EQ(DrawLines(box), (Lines{"  A", "  B"})) << mode;
  }
}

TEST_F(VariableDrawingTest, EmptyTextDrawsNothingAndMeasuresZero) {
  for (int mode = 0; mode <= 4; ++mode) {
    Variable box;
    Make(box, mode, 300, 200, "");
    EXPECT_TRUE(DrawLines(box).empty());
    if (mode >= 2) {
      EXPECT_EQ(box.lineCount, 0);
      EXPECT_EQ(box.widestLine, 0);
      EXPECT_EQ(box.textHeight, 0);
    }
    EXPECT_EQ(box.columnOffset, 0);
    EXPECT_EQ(box.lineOffset, 0);
  }
}

TEST_F(VariableDrawingTest, HorizontalScrollingStopsWhereTheLineFits) {
  Variable box;
  Make(box, 2, 64, 100, "abcdefghij\\nxy");
  EXPECT_EQ(DrawLines(box), (Lines{"abcdef", "xy"}));
  EXPECT_EQ(box.widestLine, 100);
  EXPECT_EQ(box.rightLimit, 1);
  // The right arrow lies in the square at the bottom-right corner.
  EXPECT_EQ(box.rightArrowArea, (Rect{163 - 4, 149 - 12, 163, 149 - 4}));

  int steps = 0;
  while (steps < 20) {
    int before = box.columnOffset;
    box.ScrollRight();
    DrawLines(box);
    if (box.columnOffset == before) break;
    ++steps;
  }
  // Four characters hidden: the six left fit the 63 pixels of the box.
  EXPECT_EQ(box.columnOffset, 4);
  EXPECT_EQ(box.rightLimit, 4);
  EXPECT_EQ(DrawLines(box), (Lines{"efghij"}));
  EXPECT_EQ(box.leftArrowArea, (Rect{163 - 16, 149 - 12, 163 - 12, 149 - 4}));
  for (int i = 0; i < 10; ++i) box.ScrollLeft();
  EXPECT_EQ(box.columnOffset, 0);
}

TEST_F(VariableDrawingTest, VerticalScrollingAndTextHeight) {
  // 100 high: (100 - 16) / 20 = 4 lines fit.
  Variable box;
  Make(box, 3, 300, 100, "1\\n2\\n3\\n4\\n5\\n6");
  EXPECT_EQ(DrawLines(box), (Lines{"1", "2", "3", "4"}));
  EXPECT_EQ(box.lineCount, 6);
  EXPECT_EQ(box.textHeight, 16 + 0 + 20 + 5 * 20);
  EXPECT_EQ(box.downLimit, 1);
  box.ScrollDown();
  EXPECT_EQ(DrawLines(box), (Lines{"2", "3", "4", "5"}));
  box.ScrollDown();
  EXPECT_EQ(DrawLines(box), (Lines{"3", "4", "5", "6"}));
  // Lines 3 to 6 take 16 + 20 + 60 = 96 pixels: no more room is needed.
  EXPECT_EQ(box.downLimit, 2);
  box.ScrollDown();
  EXPECT_EQ(box.lineOffset, 2);
  box.ScrollUp();
  box.ScrollUp();
  box.ScrollUp();
  EXPECT_EQ(box.lineOffset, 0);

  Variable both;
  Make(both, 4, 300, 100, "1\\n2\\n3\\n4\\n5\\n6");
  EXPECT_EQ(DrawLines(both), (Lines{"1", "2", "3", "4"}));
  EXPECT_EQ(both.textHeight, 16 + 20 + 5 * 20);
  both.ScrollDown();
  EXPECT_EQ(DrawLines(both), (Lines{"2", "3", "4", "5"}));
}

TEST_F(VariableDrawingTest, ArrowSizeFollowsTheDrawMode) {
  Variable box;
  box.SetDrawMode(0);
  Make(box, 3, 300, 40, "1\\n2\\n3");
  // No room kept for arrows: two lines of 20 fit in 40.
  EXPECT_EQ(DrawLines(box), (Lines{"1", "2"}));
  Variable kept;
  Make(kept, 3, 300, 40, "1\\n2\\n3");
  EXPECT_EQ(DrawLines(kept), (Lines{"1"}));
}

TEST_F(VariableDrawingTest, TooLowForOneLineDrawsNoTextButArrows) {
  Variable box;
  Make(box, 2, 50, 30, "a very long line indeed");
  EXPECT_TRUE(DrawLines(box).empty());
  EXPECT_EQ(box.linesPerBox, 0);
  EXPECT_EQ(box.widestLine, 0);  // no line is measured when none fits
  box.widestLine = 0;

  Variable seven;
  Make(seven, 7, 50, 300, "text");
  EXPECT_TRUE(DrawLines(seven).empty());
  EXPECT_EQ(seven.rightLimit, 0);  // the arrows' part still ran
}

TEST_F(VariableDrawingTest, ZeroSizeAndNarrowBoxesFinish) {
  for (int mode = 0; mode <= 4; ++mode) {
    Variable empty;  // the default rectangle, all zero
    empty.SetDrawMode(mode);
    empty.SetText("Some words to lay out\\nand more");
    EXPECT_TRUE(DrawLines(empty).empty()) << mode;
  }
  // One pixel wide and tall enough for many lines: every character stands alone.
  Variable narrow;
  Make(narrow, 3, 1, 400, "abc de");
  narrow.SetKeepLeadingSpaces(1);
  EXPECT_EQ(DrawLines(narrow), (Lines{"a", "b", "c", " ", "d", "e"}));
  EXPECT_EQ(narrow.lineCount, 6);
  Variable narrowWords;
  Make(narrowWords, 0, 1, 400, "abc de");
  EXPECT_EQ(DrawLines(narrowWords), (Lines{"a", "b", "c", "d", "e"}));
}

TEST_F(VariableDrawingTest, UnmeasurableCharacters) {
  // Word wrap: the line ends and the character is passed over on the next.
  Variable words;
  Make(words, 0, 300, 200, "ab#cd");
  EXPECT_EQ(DrawLines(words), (Lines{"ab", "cd"}));
  EXPECT_TRUE(host.messageBoxes.empty());
  EXPECT_EQ(QuitRequested, 0);

  // Character wrap reports it and asks to quit.
  Variable chars;
  Make(chars, 1, 300, 200, "ab#cd");
  EXPECT_EQ(DrawLines(chars), (Lines{"ab", "cd"}));
  ASSERT_FALSE(host.messageBoxes.empty());
  EXPECT_EQ(host.messageBoxes[0].text, "An error occurs while getting a character width.");
  EXPECT_EQ(host.messageBoxes[0].caption, "Error displaying character");
  EXPECT_EQ(host.messageBoxes[0].icon, platform::MessageBoxIcon::Stop);
  EXPECT_EQ(QuitRequested, 1);

  // Without wrapping the rest of the line is left out.
  Variable line;
  Make(line, 2, 300, 200, "ab#cd\\nef");
  EXPECT_EQ(DrawLines(line), (Lines{"ab", "ef"}));
}

TEST_F(VariableDrawingTest, EffectsStepOnlyWhileDrawn) {
  Variable box;
  box.SetTextEffectTiming(1, 0);
  box.SetTextEffect(1);
  Make(box, 0, 300, 200, "Hi");
  EXPECT_EQ(DrawLines(box), (Lines{"H"}));
  box.SetVisible(0);
  EXPECT_TRUE(DrawLines(box).empty());
  box.SetVisible(1);
  EXPECT_EQ(DrawLines(box), (Lines{"Hi"}));

  // A tied box is drawn by its map only.
  Variable tied;
  tied.SetTiedMap(reinterpret_cast<Map*>(&box));
  tied.SetText("x");
  tied.SetRect(0, 0, 0, 0);
  EXPECT_TRUE(DrawLines(tied).empty());
  tied.SetTiedMap(nullptr);
}

TEST_F(VariableDrawingTest, ClipModeSkipsBoxesOutsideTheView) {
  Variable box;
  box.SetDrawUnclipped(0);
  Make(box, 0, 100, 100, "Hi");
  EXPECT_EQ(DrawLines(box), (Lines{"Hi"}));
  EXPECT_EQ(box.boxRect, (Rect{100, 50, 200, 150}));
  box.SetRect(700, 50, 800, 150);
  EXPECT_TRUE(DrawLines(box).empty());
  EXPECT_EQ(box.boxRect, (Rect{700, 50, 800, 150}));
}

TEST_F(VariableDrawingTest, KeysScrollOneStepPerFrameOrPerPress) {
  Keyboard keyboard;
  Keyboard* savedKeyboard = CurrentKeyboard;
  CurrentKeyboard = &keyboard;

  Variable box;
  Make(box, 2, 64, 100, "abcdefghij");
  DrawLines(box);  // limits for the first input
  host.input.PressKey(0x4D);  // keypad 6, held
  for (int frame = 0; frame < 3; ++frame) {
    keyboard.Update();
    DrawLines(box);
  }
  EXPECT_EQ(box.columnOffset, 3);
  host.input.ReleaseKey(0x4D);
  keyboard.Update();
  DrawLines(box);
  EXPECT_EQ(box.columnOffset, 3);

  // Vertical keys: keypad 2 down, keypad 5 up, one step per press when asked.
  Variable lines;
  Make(lines, 3, 300, 100, "1\\n2\\n3\\n4\\n5\\n6");
  lines.SetStepPerPress(0, 1);
  DrawLines(lines);
  host.input.PressKey(0x50);
  for (int frame = 0; frame < 3; ++frame) {
    keyboard.Update();
    DrawLines(lines);
  }
  EXPECT_EQ(lines.lineOffset, 1);
  host.input.ReleaseKey(0x50);
  host.input.PressKey(0x4C);
  keyboard.Update();
  DrawLines(lines);
  EXPECT_EQ(lines.lineOffset, 0);
  host.input.ReleaseKey(0x4C);
  keyboard.Update();

  CurrentKeyboard = savedKeyboard;
}

TEST_F(VariableDrawingTest, MouseOnAnArrowScrolls) {
  Mouse mouse;
  Mouse* savedMouse = CurrentMouse;
  CurrentMouse = &mouse;

  Variable box;
  Make(box, 2, 64, 100, "abcdefghij");
  DrawLines(box);
  ASSERT_EQ(box.rightArrowArea, (Rect{159, 137, 163, 145}));
  mouse.SetX(160);
  mouse.SetY(140);
  host.input.PressButton(0);
  mouse.Update();
  DrawLines(box);
  EXPECT_EQ(box.columnOffset, 1);
  mouse.Update();  // still held
  DrawLines(box);
  EXPECT_EQ(box.columnOffset, 2);
  // Off the arrow nothing scrolls; the right edge of an area is outside it.
  mouse.SetX(163);
  mouse.Update();
  DrawLines(box);
  EXPECT_EQ(box.columnOffset, 2);
  host.input.ReleaseButton(0);
  mouse.Update();

  CurrentMouse = savedMouse;
}

}  // namespace
}  // namespace quor
