#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/core/random.h"
#include "engine/display/variable.h"

namespace quor {
namespace {

class VariableEffectsTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = RandomState(); }
  void TearDown() override { SeedRandom(saved_); }
  uint32_t saved_ = 1;
};

std::string Shown(const Variable& box) { return box.displayText ? box.displayText : ""; }

// The display text after each of n steps.
std::vector<std::string> Frames(Variable& box, int n) {
  std::vector<std::string> frames;
  for (int i = 0; i < n; ++i) {
    box.StepTextEffect();
    frames.push_back(Shown(box));
  }
  return frames;
}

TEST_F(VariableEffectsTest, WithoutTimingTheTextIsShownWhole) {
  Variable box;
  box.SetTextEffectTiming(0, 0);
  box.SetTextEffect(1);
  box.SetText("Hello");
  EXPECT_EQ(Shown(box), "Hello");
  EXPECT_EQ(box.effectSource, nullptr);
  EXPECT_EQ(Frames(box, 5), std::vector<std::string>(5, "Hello"));

  // Scrambles need a step count too.
  Variable scramble;
  scramble.SetTextEffectTiming(2, 0);
  scramble.SetTextEffect(3);
  scramble.SetText("Hello");
  EXPECT_EQ(Frames(scramble, 4), std::vector<std::string>(4, "Hello"));
}

TEST_F(VariableEffectsTest, TypewriterAddsOneCharacterEveryInterval) {
  Variable box;
  box.SetTextEffectTiming(3, 0);
  box.SetTextEffect(1);
  box.SetText("Hi");
  EXPECT_EQ(Shown(box), "");
  std::vector<std::string> expected = {"", "", "H", "H", "H", "Hi", "Hi", "Hi", "Hi"};
  EXPECT_EQ(Frames(box, 9), expected);
  EXPECT_EQ(box.effectPosition, 2);
}

TEST_F(VariableEffectsTest, TypewriterRevealsALineBreakMarkInOneStep) {
  Variable box;
  box.SetTextEffectTiming(1, 0);
  box.SetTextEffect(1);
  box.SetText("A\\nB");
  std::vector<std::string> expected = {"A", "A\\n", "A\\nB", "A\\nB"};
  EXPECT_EQ(Frames(box, 4), expected);
}

TEST_F(VariableEffectsTest, LineByLine) {
  Variable box;
  box.SetTextEffectTiming(2, 0);
  box.SetTextEffect(2);
  box.SetText("A\\nB");
  std::vector<std::string> expected = {"", "A\\n", "A\\n", "A\\nB", "A\\nB", "A\\nB"};
  EXPECT_EQ(Frames(box, 6), expected);
  EXPECT_EQ(box.effectLine, 2);

  // A text that ends with a mark counts the empty line after it as shown.
  Variable trailing;
  trailing.SetTextEffectTiming(1, 0);
  trailing.SetTextEffect(2);
  trailing.SetText("A\\n");
  trailing.StepTextEffect();
  EXPECT_EQ(Shown(trailing), "A\\n");
  EXPECT_EQ(trailing.effectLine, 2);
}

TEST_F(VariableEffectsTest, ScrambleShowsStepCountScrambledPassesThenSettles) {
  Variable box;
  box.SetTextEffectTiming(1, 2);
  box.SetTextEffect(3);
  box.SetText("ZZZZZZZZ\\nzz 99!");
  SeedRandom(42);
  std::vector<std::string> frames = Frames(box, 3);
  for (int pass = 0; pass < 2; ++pass) {
    const std::string& s = frames[pass];
    ASSERT_EQ(s.size(), 16u);
    for (int i = 0; i < 8; ++i) EXPECT_TRUE(s[i] >= 'A' && s[i] <= 'Y') << s;
    EXPECT_EQ(s.substr(8, 2), "\\n");
    EXPECT_TRUE(s[10] >= 'a' && s[10] <= 'y');
    EXPECT_EQ(s[12], ' ');
    EXPECT_TRUE(s[13] >= '0' && s[13] <= '9');
    EXPECT_EQ(s[15], '!');
  }
  EXPECT_EQ(frames[2], "ZZZZZZZZ\\nzz 99!");
  EXPECT_EQ(box.effectSource, nullptr);

  // The same seed gives the same frames.
  Variable again;
  again.SetTextEffectTiming(1, 2);
  again.SetTextEffect(3);
  again.SetText("ZZZZZZZZ\\nzz 99!");
  SeedRandom(42);
  EXPECT_EQ(Frames(again, 3), frames);
}

TEST_F(VariableEffectsTest, OrderedRevealGoesLeftToRight) {
  Variable box;
  box.SetTextEffectTiming(1, 1);
  box.SetTextEffect(5);
  box.SetText("ab cd");
  SeedRandom(7);
  std::vector<std::string> frames = Frames(box, 5);
  // Each step shows the pending letters scrambled, then reveals the next one.
  for (const std::string& f : frames) {
    ASSERT_EQ(f.size(), 5u);
    EXPECT_EQ(f[2], ' ');
  }
  // Revealed letters stay true from the step after their reveal.
  EXPECT_EQ(frames[1][0], 'a');
  EXPECT_EQ(frames[2].substr(0, 2), "ab");
  EXPECT_EQ(frames[3].substr(0, 4), "ab c");
  EXPECT_EQ(frames[4], "ab cd");
  EXPECT_EQ(box.effectDone, 1);  // the fifth step found nothing pending
  EXPECT_NE(box.effectSource, nullptr);
  box.StepTextEffect();
  EXPECT_EQ(Shown(box), "ab cd");
  EXPECT_EQ(box.effectSource, nullptr);
}

TEST_F(VariableEffectsTest, RandomRevealRevealsEveryLetterOnceAndLeavesMarksAlone) {
  Variable box;
  box.SetTextEffectTiming(1, 1);
  box.SetTextEffect(4);
  box.SetText("ab\\ncd");
  SeedRandom(3);
  std::vector<std::string> frames = Frames(box, 8);
  for (const std::string& f : frames) {
    ASSERT_EQ(f.size(), 6u);
    EXPECT_EQ(f.substr(2, 2), "\\n");
  }
  EXPECT_EQ(frames.back(), "ab\\ncd");
  EXPECT_EQ(box.effectSource, nullptr);
}

TEST_F(VariableEffectsTest, RandomRevealNeverLooksBeforeTheText) {
  // An "n" first in the list with no entry before it is an ordinary letter.
  Variable box;
  box.SetTextEffectTiming(1, 1);
  box.SetTextEffect(4);
  box.SetText("n");
  SeedRandom(1);
  box.StepTextEffect();
  EXPECT_EQ(box.pendingPositions[0], -1);
  box.StepTextEffect();
  EXPECT_EQ(box.effectDone, 1);
  box.StepTextEffect();
  EXPECT_EQ(Shown(box), "n");
}

TEST_F(VariableEffectsTest, SettingEffectsAndRestarting) {
  Variable box;
  box.SetTextEffectTiming(1, 0);
  box.SetTextEffect(1);
  box.SetText("Hello");
  Frames(box, 2);
  EXPECT_EQ(Shown(box), "He");
  box.SetTextEffect(2);  // refused while the typewriter is set
  EXPECT_EQ(box.textEffect, 1);
  box.SetTextEffect(0);  // clears, starts nothing, leaves the text as it stands
  EXPECT_EQ(Shown(box), "He");
  box.SetTextEffect(2);  // starts on what is displayed now
  EXPECT_EQ(box.effectSource, std::string("He"));
  box.StepTextEffect();
  EXPECT_EQ(Shown(box), "He");

  // A new text restarts the effect from its start values.
  Variable typed;
  typed.SetTextEffectTiming(2, 0);
  typed.SetTextEffect(1);
  typed.SetText("abc");
  Frames(typed, 4);
  EXPECT_EQ(typed.effectPosition, 2);
  typed.SetText("xyz");
  EXPECT_EQ(typed.effectPosition, 0);
  EXPECT_EQ(typed.effectIntervalCounter, 2);
  EXPECT_EQ(Frames(typed, 2), (std::vector<std::string>{"", "x"}));
}

TEST_F(VariableEffectsTest, CopiesCarryTheRunningEffect) {
  Variable box;
  box.SetTextEffectTiming(1, 1);
  box.SetTextEffect(5);
  box.SetText("abc");
  box.StepTextEffect();
  Variable copy(box);
  ASSERT_NE(copy.pendingPositions, nullptr);
  EXPECT_EQ(copy.pendingPositions[0], 1);
  EXPECT_EQ(copy.pendingPositions[1], 2);
  EXPECT_EQ(copy.pendingPositions[2], -1);
  EXPECT_STREQ(copy.effectSource, "abc");
}

}  // namespace
}  // namespace quor
