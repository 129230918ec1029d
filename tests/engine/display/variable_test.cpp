#include "engine/display/variable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/core/dynamic_array.h"
#include "engine/core/object_stream.h"
#include "engine/core/random.h"
#include "platform/font.h"
#include "platform/headless/headless_host.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

class VariableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedRandom_ = RandomState();
    host.calendarSeconds = 1234567;
    platform::InstallHost(&host);
  }
  void TearDown() override {
    platform::InstallHost(nullptr);
    SeedRandom(savedRandom_);
  }
  std::string TempPath(const char* name) { return dir.File(name); }

  testing_support::TempDir dir;
  platform::HeadlessHost host;
  uint32_t savedRandom_ = 1;
};

std::string Shown(const Variable& box) { return box.displayText ? box.displayText : "<null>"; }

TEST_F(VariableTest, DefaultsAndReseeding) {
  SeedRandom(99);
  Variable box;
  EXPECT_EQ(RandomState(), 1234567u);  // the calendar of the host
  EXPECT_EQ(box.valueType, 1u);
  EXPECT_EQ(box.displayText, nullptr);
  EXPECT_STREQ(box.ToText(), "0");
  EXPECT_STREQ(box.faceName, "Arial");
  EXPECT_EQ(box.fontDescription.height, -21);
  EXPECT_EQ(box.fontDescription.width, -8);
  EXPECT_EQ(box.fontWeight, 100);
  EXPECT_EQ(box.textColor, 0x0070A7BCu);
  EXPECT_EQ(box.arrowSize, 16);
  EXPECT_EQ(box.keyUp, 0x4Cu);
  EXPECT_EQ(box.drawUnclipped, 1);
  EXPECT_EQ(box.owner, &box);
  EXPECT_EQ(box.stateMachineIndex, -1);
  EXPECT_EQ(box.updateFunctionIndex, -1);

  // Copies do not reseed; every slot an array constructs does.
  SeedRandom(5);
  Variable copy(box);
  EXPECT_EQ(RandomState(), 5u);
  EXPECT_EQ(copy.owner, &copy);
  host.calendarSeconds = 777;
  DynamicArray<Variable> boxes;
  EXPECT_EQ(RandomState(), 777u);
  EXPECT_EQ(boxes[9].owner, &boxes[9]);
}

TEST_F(VariableTest, NumbersAsText) {
  Variable box;
  box.SetReal(2.5);
  EXPECT_STREQ(box.ToText(), "3");
  box.SetReal(-2.5);
  EXPECT_STREQ(box.ToText(), "-3");
  box.SetReal(-0.3);
  EXPECT_STREQ(box.ToText(), "0");
  box.SetReal(0.49);
  EXPECT_STREQ(box.ToText(), "0");
  box.SetReal(1e300);  // more digits than the number text holds: cut, never overrun
  EXPECT_EQ(std::strlen(box.ToText()), 50u);
  box.SetWholeNumber(0);
  box.SetReal(3.14159265);
  EXPECT_STREQ(box.ToText(), "3.141593");
  box.SetInteger(static_cast<uint32_t>(-1));
  EXPECT_STREQ(box.ToText(), "4294967295");

  Variable fromInt(42);
  EXPECT_EQ(fromInt.valueType, 0u);
  EXPECT_EQ(Shown(fromInt), "42");
  EXPECT_EQ(fromInt.displayTextLength, 2u);
}

TEST_F(VariableTest, PropertySetters) {
  Variable box;
  std::string longName(80, 'n');
  box.SetName(longName.c_str());
  EXPECT_EQ(std::strlen(box.GetName()), 49u);
  box.SetName("Score");
  box.SetName(nullptr);
  EXPECT_STREQ(box.GetName(), "Score");

  box.SetFontFace("A face name far longer than thirty-one characters");
  EXPECT_EQ(std::strlen(box.faceName), 31u);
  EXPECT_STREQ(box.fontDescription.faceName, box.faceName);
  box.SetFontFace(nullptr);
  EXPECT_STREQ(box.faceName, "Arial");

  box.SetFontWeight(650);
  EXPECT_EQ(box.fontWeight, 600);
  box.SetFontWeight(1234);
  EXPECT_EQ(box.fontWeight, 900);
  box.SetFontSize(15);
  EXPECT_EQ(box.fontDescription.height, -20);
  box.SetFontWidth(0);
  EXPECT_EQ(box.fontDescription.width, 0);
  box.SetItalic(0x1FF);
  EXPECT_EQ(box.italic, 0xFFu);
  EXPECT_EQ(box.fontDescription.italic, 0xFF);

  Variable arrows;
  arrows.SetDrawMode(0);
  arrows.SetDrawMode(3);
  EXPECT_EQ(arrows.arrowSize, 0);
  Variable scrolling;
  scrolling.SetDrawMode(3);
  EXPECT_EQ(scrolling.arrowSize, 16);
}

TEST_F(VariableTest, RectangleOfTiedAndUntiedBoxes) {
  Variable box;
  box.SetRect(5, 6, 100, 50);
  EXPECT_EQ(box.textRect, (Rect{5, 6, 100, 50}));

  Variable tied;
  Map* map = reinterpret_cast<Map*>(&tied);  // only compared, never used
  tied.SetTiedMap(map);
  tied.boxRect = Rect{0, 0, 200, 100};
  tied.SetRect(50, 50, 300, 300);  // still the default rectangle: the box inset by 10
  EXPECT_EQ(tied.textRect, (Rect{10, 10, 190, 90}));
  tied.SetRect(50, 50, 300, 300);
  EXPECT_EQ(tied.textRect, (Rect{50, 50, 200, 100}));
  tied.SetRect(500, 500, 600, 600);
  EXPECT_EQ(tied.textRect, (Rect{0, 0, 0, 0}));
  tied.SetTiedMap(nullptr);
}

TEST_F(VariableTest, TextsAndCopies) {
  Variable box;
  box.SetText("");
  EXPECT_EQ(box.displayText, nullptr);
  EXPECT_EQ(box.displayTextLength, 0u);
  box.SetText(nullptr);
  EXPECT_EQ(box.displayText, nullptr);
  EXPECT_STREQ(box.ToText(), "");
  box.columnOffset = 4;
  box.SetText("Hello");
  EXPECT_EQ(box.columnOffset, 0);
  box.SetText(box.displayText);  // its own text
  EXPECT_EQ(Shown(box), "Hello");

  Variable copy(box);
  EXPECT_EQ(Shown(copy), "Hello");
  EXPECT_NE(copy.displayText, box.displayText);
  EXPECT_NE(copy.value.text, box.value.text);
  Variable other;
  other.SetText("Replaced");
  other = box;  // frees what it replaces (the sanitizer checks)
  EXPECT_STREQ(other.ToText(), "Hello");
  other = other;
  EXPECT_STREQ(other.ToText(), "Hello");
}

TEST_F(VariableTest, UpdateFunctions) {
  static int calls = 0;
  calls = 0;
  Variable box;
  box.RunUpdateFunction();
  box.SetUpdateFunction([](Variable* v) { calls += v->GetId() == 7 ? 1 : 100; });
  box.SetId(7);
  box.RunUpdateFunction();
  box.SetUpdateBehaviour([](Node*) { calls += 10; });
  box.RunUpdateFunction();
  EXPECT_EQ(calls, 11);
}

TEST_F(VariableTest, FontFollowsTheDescription) {
  Variable box;
  const platform::Font* font = box.GetFont();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->Request().height, -21);
  box.SetFontSize(10);
  font = box.GetFont();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->Request().height, -13);
}

// --- saved record ---

TEST_F(VariableTest, SaveAndLoadRoundTrip) {
  Variable box;
  box.SetName("Story");
  box.SetFontFace("Lucida Bright");
  box.SetFontSize(15);
  box.SetFontWeight(600);
  box.SetTextColor(0x0000FF);
  box.SetRect(20, 30, 640, 480);
  box.SetDrawMode(3);
  box.SetMarginX(4);
  box.SetLetterSpacing(1);
  box.SetTextEffectTiming(2, 0);
  box.SetTextEffect(1);
  box.SetText("Hello\\nWorld");
  for (int i = 0; i < 6; ++i) box.StepTextEffect();  // three characters typed
  ASSERT_EQ(Shown(box), "Hel");

  std::string path = TempPath("variable_round_trip.sav");
  {
    ObjectStream out(path, true);
    box.Save(out);
    ASSERT_TRUE(out.Good());
  }
  Variable loaded;
  {
    ObjectStream in(path, false);
    loaded.Load(in);
    EXPECT_TRUE(in.Good());
  }
  EXPECT_STREQ(loaded.GetName(), "Story");
  EXPECT_STREQ(loaded.faceName, "Lucida Bright");
  EXPECT_EQ(loaded.fontDescription.height, -20);
  EXPECT_EQ(loaded.fontDescription.weight, 600);
  EXPECT_EQ(loaded.textRect, (Rect{20, 30, 640, 480}));
  EXPECT_EQ(loaded.drawMode, 3);
  EXPECT_EQ(loaded.textEffect, 1);
  EXPECT_EQ(loaded.effectPosition, 3);
  EXPECT_STREQ(loaded.ToText(), "Hello\\nWorld");
  EXPECT_EQ(Shown(loaded), "Hel");
  ASSERT_NE(loaded.effectSource, nullptr);
  EXPECT_STREQ(loaded.effectSource, "Hello\\nWorld");
  // The typewriter goes on where it stood.
  loaded.StepTextEffect();
  loaded.StepTextEffect();
  EXPECT_EQ(Shown(loaded), "Hell");
}

TEST_F(VariableTest, FrameRateBoxIsSavedWithoutIndicesAndComesBackAsACopy) {
  Variable fps;
  fps.SetName("FPS");
  fps.SetText("FPS = 60");
  Variable named;
  named.SetName("FPX");
  named.SetText("FPS = 60");
  std::string a = TempPath("variable_fps.sav"), b = TempPath("variable_fpx.sav");
  int64_t sizeA, sizeB;
  {
    ObjectStream out(a, true);
    fps.Save(out);
    sizeA = out.Tell();
  }
  {
    ObjectStream out(b, true);
    named.Save(out);
    sizeB = out.Tell();
  }
  EXPECT_EQ(sizeB - sizeA, 8);  // the two indices
  Variable loaded;
  ObjectStream in(a, false);
  loaded.Load(in);
  EXPECT_TRUE(in.Good());
  EXPECT_STREQ(loaded.GetName(), "FPS_COPY");
  EXPECT_EQ(loaded.stateMachineIndex, -1);
  EXPECT_EQ(loaded.updateFunctionIndex, -1);
  EXPECT_EQ(Shown(loaded), "FPS = 60");
}

TEST_F(VariableTest, LoadRebuildsRevealPositions) {
  Variable box;
  box.SetTextEffectTiming(1, 1);
  box.SetTextEffect(5);
  box.SetText("ab");
  box.StepTextEffect();  // 'a' revealed
  box.StepTextEffect();  // 'b' revealed
  std::string path = TempPath("variable_reveal.sav");
  {
    ObjectStream out(path, true);
    box.Save(out);
  }
  Variable loaded;
  ObjectStream in(path, false);
  loaded.Load(in);
  ASSERT_NE(loaded.pendingPositions, nullptr);
  EXPECT_EQ(loaded.pendingPositions[0], 0);
  EXPECT_EQ(loaded.pendingPositions[1], 1);
  EXPECT_EQ(loaded.pendingPositions[2], -1);
}

// Writes a record by hand so that damaged values can be put where a good file has others.
void WriteTextRecord(ObjectStream& out, const char* name50, const std::string& text,
                     uint32_t displayLength, uint8_t sourcePresent, int32_t position) {
  out.Write(name50, 50);
  out.WriteLong(int32_t(-1));  // state machine index
  out.WriteLong(int32_t(-1));  // update function index
  out.WriteLong(uint32_t(2));
  out.WriteLong(static_cast<uint32_t>(text.size()));
  out.Write(text.data(), text.size());
  out.WriteByte(1);
  out.WriteLong(uint32_t(0));
  char number[50] = {};
  out.Write(number, 50);
  out.WriteByte(0);  // no map
  out.WriteByte(0);
  out.WriteByte(1);
  char face[32];
  std::memset(face, 'F', sizeof face);  // no terminator
  out.Write(face, 32);
  for (int i = 0; i < 7; ++i) out.WriteLong(int32_t(0));
  out.WriteRect(Rect{});
  out.WriteLong(int32_t(0));
  out.WriteLong(int32_t(0));
  out.WriteByte(0);
  for (int i = 0; i < 4; ++i) out.WriteLong(int32_t(0));
  out.WriteByte(0);
  for (int i = 0; i < 3; ++i) out.WriteLong(int32_t(0));
  for (int i = 0; i < 5; ++i) out.WriteRect(Rect{});
  for (int i = 0; i < 8; ++i) out.WriteLong(int32_t(0));
  out.WriteLong(displayLength);
  out.WriteByte(sourcePresent);
  out.WriteLong(position);
  out.WriteLong(int32_t(0));
  out.WriteLong(int32_t(1));
  for (int i = 0; i < 4; ++i) out.WriteLong(int32_t(0));
  for (int i = 0; i < 3; ++i) out.WriteByte(0);
  for (int i = 0; i < 7; ++i) out.WriteLong(int32_t(0));
  out.WriteByte(0);
  out.WriteByte(0);
}

TEST_F(VariableTest, LoadHoldsDamagedValuesToTheText) {
  char name[50];
  std::memset(name, 'x', sizeof name);  // no terminator
  std::string path = TempPath("variable_damaged.sav");
  {
    ObjectStream out(path, true);
    WriteTextRecord(out, name, "Short", 5000, 1, 9000);
  }
  Variable loaded;
  {
    ObjectStream in(path, false);
    loaded.Load(in);
    EXPECT_TRUE(in.Good());
  }
  EXPECT_EQ(std::strlen(loaded.GetName()), 49u);
  EXPECT_EQ(std::strlen(loaded.faceName), 31u);
  EXPECT_EQ(loaded.displayTextLength, 5u);
  EXPECT_EQ(loaded.effectPosition, 5);
  EXPECT_EQ(Shown(loaded), "Short");

  // A position with no effect source shows the saved length of the value's text.
  {
    ObjectStream out(path, true);
    char boxName[50] = "Box";
    WriteTextRecord(out, boxName, "Longer text", 6, 0, 3);
  }
  Variable noSource;
  {
    ObjectStream in(path, false);
    noSource.Load(in);
  }
  EXPECT_EQ(noSource.effectSource, nullptr);
  EXPECT_EQ(Shown(noSource), "Longer");
}

// Counts of saved boxes are held to the file by this size, so it must be the least one.
TEST_F(VariableTest, TheSmallestSavedRecordIsANumberBoxWithoutIndices) {
  Variable fps;
  fps.SetName("FPS");
  fps.SetInteger(7);
  std::string path = TempPath("variable_smallest.sav");
  ObjectStream out(path, true);
  fps.Save(out);
  EXPECT_EQ(out.Tell(), int64_t{Variable::kSmallestSavedRecord});
}

TEST_F(VariableTest, LoadRefusesAnImpossibleTextLength) {
  std::string path = TempPath("variable_huge.sav");
  {
    ObjectStream out(path, true);
    char name[50] = "Box";
    out.Write(name, 50);
    out.WriteLong(int32_t(-1));
    out.WriteLong(int32_t(-1));
    out.WriteLong(uint32_t(2));
    out.WriteLong(uint32_t(0xFFFFFFF0u));
  }
  Variable loaded;
  ObjectStream in(path, false);
  loaded.Load(in);
  EXPECT_FALSE(in.Good());
  EXPECT_EQ(loaded.displayText, nullptr);
}

}  // namespace
}  // namespace quor
