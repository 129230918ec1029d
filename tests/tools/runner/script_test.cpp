// Reading the runner's scripts and command line: what each line gives, and that a bad line
// is refused with a message naming it.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/input_keys.h"
#include "tests/support/temp_dir.h"
#include "tools/runner/key_names.h"
#include "tools/runner/options.h"
#include "tools/runner/script.h"

namespace runner {
namespace {

// Parses text as the file "s.txt"; the error is left in error.
bool Parse(const std::string& text, Script& script, std::string& error) {
  std::istringstream in(text);
  return ScriptParser(script).ParseText(in, "s.txt", error) && FinishScript(script, error);
}

Script Parsed(const std::string& text) {
  Script script;
  std::string error;
  EXPECT_TRUE(Parse(text, script, error)) << error;
  return script;
}

std::string ErrorOf(const std::string& text) {
  Script script;
  std::string error;
  EXPECT_FALSE(Parse(text, script, error)) << text;
  return error;
}

TEST(KeyNames, NamesCodesAndDigits) {
  struct Case {
    const char* name;
    uint8_t code;
  };
  for (const Case& c : {Case{"A", platform::KeyA}, Case{"z", platform::KeyZ}, Case{"0", platform::Key0},
                        Case{"7", platform::Key7}, Case{"Up", platform::KeyUp}, Case{"LEFT", platform::KeyLeft},
                        Case{"space", platform::KeySpace}, Case{"Escape", platform::KeyEscape},
                        Case{"Esc", platform::KeyEscape}, Case{"Return", platform::KeyReturn},
                        Case{"Enter", platform::KeyReturn}, Case{"LeftShift", platform::KeyLeftShift},
                        Case{"RightShift", platform::KeyRightShift},
                        Case{"LeftControl", platform::KeyLeftControl},
                        Case{"RightCtrl", platform::KeyRightControl}, Case{"LeftAlt", platform::KeyLeftAlt},
                        Case{"RightAlt", platform::KeyRightAlt}, Case{"F1", platform::KeyF1},
                        Case{"f10", platform::KeyF10}, Case{"F12", platform::KeyF12},
                        Case{"0x39", platform::KeySpace}, Case{"0XcD", platform::KeyRight}}) {
    uint8_t code = 0;
    EXPECT_TRUE(KeyCodeFromName(c.name, code)) << c.name;
    EXPECT_EQ(code, c.code) << c.name;
  }
  uint8_t code = 0;
  for (const char* bad : {"", "F16", "Spacebar", "0x", "0x0", "0x100", "57", "0x-1", "Left "})
    EXPECT_FALSE(KeyCodeFromName(bad, code)) << bad;
  EXPECT_EQ(KeyName(platform::KeySpace), "Space");
  EXPECT_EQ(KeyName(platform::KeyEscape), "Escape");
  EXPECT_EQ(KeyName(0x54), "0x54");
  // Every name given for a code reads back as that code.
  for (int c = 1; c < 256; ++c) {
    uint8_t back = 0;
    ASSERT_TRUE(KeyCodeFromName(KeyName(static_cast<uint8_t>(c)), back)) << c;
    EXPECT_EQ(back, c);
  }
}

TEST(ScriptLines, EachActionGivesItsEvents) {
  Script s = Parsed(
      "# a whole script\n"
      "\n"
      "frames 900\n"
      "30 press Right   # walk\n"
      "+60 release Right\n"
      "100 tap Space\n"
      "+5 hold 0x1E 45\n"
      "120 shot \"title screen.png\"\n"
      "120 report\n"
      "200 answer quick.sav\n"
      "200 cancel\n"
      "300 expect scene Title\n"
      "300 expect HeartCount -1\n"
      "300 expect messages 0\n"
      "every 600 report\n"
      "every 60 shot f{frame}.png\r\n");
  EXPECT_EQ(s.frames, 900);
  struct Want {
    int frame;
    Action action;
    uint8_t key;
    const char* text;
    int64_t value;
  };
  const std::vector<Want> want = {
      {30, Action::Press, platform::KeyRight, "", 0},
      {90, Action::Release, platform::KeyRight, "", 0},
      {100, Action::Press, platform::KeySpace, "", 0},
      {101, Action::Release, platform::KeySpace, "", 0},
      {105, Action::Press, platform::KeyA, "", 0},
      {150, Action::Release, platform::KeyA, "", 0},
      {120, Action::Shot, 0, "title screen.png", 0},
      {120, Action::Report, 0, "", 0},
      {200, Action::Answer, 0, "quick.sav", 0},
      {200, Action::Cancel, 0, "", 0},
      {300, Action::ExpectScene, 0, "Title", 0},
      {300, Action::ExpectVariable, 0, "HeartCount", -1},
      {300, Action::ExpectMessages, 0, "", 0},
  };
  ASSERT_EQ(s.events.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(s.events[i].frame, want[i].frame);
    EXPECT_EQ(s.events[i].action, want[i].action);
    EXPECT_EQ(s.events[i].key, want[i].key);
    EXPECT_EQ(s.events[i].text, want[i].text);
    EXPECT_EQ(s.events[i].value, want[i].value);
  }
  EXPECT_EQ(s.events[0].where, "s.txt:4");
  ASSERT_EQ(s.repeats.size(), 2u);
  EXPECT_EQ(s.repeats[0].every, 600);
  EXPECT_EQ(s.repeats[0].action, Action::Report);
  EXPECT_EQ(s.repeats[1].every, 60);
  EXPECT_EQ(s.repeats[1].action, Action::Shot);
  EXPECT_EQ(s.repeats[1].text, "f{frame}.png");
}

TEST(ScriptLines, BadLinesAreRefusedNamingTheLine) {
  struct Case {
    const char* text;
    const char* message;
  };
  for (const Case& c : {
           Case{"10 press Right\n20 press Rigth\n", "s.txt:2: unknown key \"Rigth\""},
           Case{"10 jump\n", "s.txt:1: unknown action \"jump\""},
           Case{"ten press A\n", "s.txt:1: a line starts with a frame number"},
           Case{"-5 press A\n", "s.txt:1: a line starts with a frame number"},
           Case{"10\n", "s.txt:1: an action follows the frame number"},
           Case{"10 press\n", "s.txt:1: \"press\" needs a key"},
           Case{"10 press A B\n", "s.txt:1: \"press\" needs a key"},
           Case{"10 hold A\n", "s.txt:1: \"hold\" needs a key and a number of frames"},
           Case{"10 hold A 0\n", "s.txt:1: \"hold\" needs a number of frames, 1 or more"},
           Case{"10 report now\n", "s.txt:1: \"report\" takes nothing after it"},
           Case{"10 shot \"a b.png\n", "s.txt:1: a quote is not closed"},
           Case{"10 answer \"\"\n", "s.txt:1: \"answer\" needs a file name"},
           Case{"10 expect scene\n", "s.txt:1: \"expect\" needs what and its value"},
           Case{"10 expect Hearts 2\n", "s.txt:1: cannot expect \"Hearts\"; known are scene, messages and KeyCount"},
           Case{"10 expect KeyCount three\n", "s.txt:1: \"KeyCount\" is compared with a whole number"},
           Case{"10 expect keycount 3\n", "s.txt:1: cannot expect \"keycount\""},
           Case{"10 expect messages -1\n", "s.txt:1: \"expect messages\" needs a count"},
           Case{"frames\n", "s.txt:1: \"frames\" needs one number of frames"},
           Case{"frames 0\n", "s.txt:1: \"frames\" needs one number of frames"},
           Case{"every 0 report\n", "s.txt:1: \"every\" needs a number of frames"},
           Case{"every 10 tap A\n", "s.txt:1: \"every\" repeats report or shot, not \"tap\""},
           Case{"every 10 shot a.png\n", "s.txt:1: a repeated shot needs {frame}"},
           Case{"99999999999999 report\n", "s.txt:1: a line starts with a frame number"},
           Case{"frames 100\n\n50 report\n100 shot end.png\n", "s.txt:4: frame 100 is past the end of the run (frames 100)"},
           Case{"frames 100\n100 tap A\n", "s.txt:2: frame 100 is past the end of the run"},
       }) {
    std::string error = ErrorOf(c.text);
    EXPECT_EQ(error.rfind(c.message, 0), 0u) << "got: " << error;
  }
}

TEST(ScriptLines, ABadLineLeavesTheScriptAsItWas) {
  Script s;
  std::string error;
  ScriptParser parser(s);
  EXPECT_FALSE(parser.ParseLine("10 expect Hearts 2", "x", error));
  EXPECT_FALSE(parser.ParseLine("10 hold A 0", "x", error));
  EXPECT_TRUE(s.events.empty());
  // A bad "+N" line does not move the frame that the next one counts from.
  EXPECT_TRUE(parser.ParseLine("10 report", "x", error));
  EXPECT_FALSE(parser.ParseLine("+5 fly", "x", error));
  EXPECT_TRUE(parser.ParseLine("+5 report", "x", error));
  EXPECT_EQ(s.events.back().frame, 15);
}

TEST(ScriptLines, TheRunLastsLongEnoughUnlessToldOtherwise) {
  EXPECT_EQ(Parsed("").frames, kDefaultFrames);
  EXPECT_EQ(Parsed("10 report\n").frames, kDefaultFrames);
  // An expectation may look at the state the last frame left; a picture needs its frame shown.
  EXPECT_EQ(Parsed("2000 expect scene Win\n").frames, 2000);
  EXPECT_EQ(Parsed("2000 shot w.png\n").frames, 2001);
  EXPECT_EQ(Parsed("1999 tap F5\n").frames, 2001);
  EXPECT_EQ(Parsed("frames 50\n50 expect scene Start\n").frames, 50);
  EXPECT_EQ(Parsed("100 expect scene Start\nframes 200\n").frames, 200);
}

TEST(ScriptLines, ShotNamesCarryTheirFrame) {
  EXPECT_EQ(ShotName("f{frame}.png", 60), "f60.png");
  EXPECT_EQ(ShotName("{frame}/{frame}.png", 7), "7/7.png");
  EXPECT_EQ(ShotName("plain.png", 7), "plain.png");
}

bool ReadCommandLine(std::vector<const char*> args, Options& options, std::string& error) {
  args.insert(args.begin(), "quor_headless");
  return ParseCommandLine(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(CommandLine, OptionsAndScriptFileMakeOneScript) {
  testing_support::TempDir dir;
  {
    std::ofstream file(dir.File("walk.txt"));
    file << "frames 300\n10 press Left\n";
  }
  Options options;
  std::string error;
  ASSERT_TRUE(ReadCommandLine({"--script", "walk.txt", "--tap", "20:Space", "--press", "30:0xCD",
                               "--release", "40:Right", "--shot", "50:out.png", "--do",
                               "60 expect scene Title", "--frames", "400"},
                              options, error))
      << error;
  const Script& s = options.script;
  EXPECT_EQ(s.frames, 400);  // the command line's length wins over the script's
  ASSERT_EQ(s.events.size(), 7u);
  EXPECT_EQ(s.events[0].where, "walk.txt:2");
  EXPECT_EQ(s.events[1].frame, 20);
  EXPECT_EQ(s.events[1].key, platform::KeySpace);
  EXPECT_EQ(s.events[2].frame, 21);
  EXPECT_EQ(s.events[2].action, Action::Release);
  EXPECT_EQ(s.events[3].key, platform::KeyRight);
  EXPECT_EQ(s.events[4].action, Action::Release);
  EXPECT_EQ(s.events[5].text, "out.png");  // no other folder: the name stays as given
  EXPECT_EQ(s.events[6].action, Action::ExpectScene);
  EXPECT_TRUE(options.directory.empty());
}

TEST(CommandLine, PicturesStayWhereTheRunnerStartedWhenTheGameRunsElsewhere) {
  testing_support::TempDir dir;
  Options options;
  std::string error;
  ASSERT_TRUE(ReadCommandLine({"--dir", "/elsewhere", "--shot", "5:a.png", "--do", "every 9 shot s{frame}.png",
                               "--shot", "6:/abs/b.png"},
                              options, error))
      << error;
  EXPECT_EQ(options.directory, "/elsewhere");
  EXPECT_EQ(options.script.events[0].text, dir.Path() + "/a.png");
  EXPECT_EQ(options.script.repeats[0].text, dir.Path() + "/s{frame}.png");
  EXPECT_EQ(options.script.events[1].text, "/abs/b.png");
}

TEST(CommandLine, BadOptionsAreNamed) {
  struct Case {
    std::vector<const char*> args;
    const char* message;
  };
  testing_support::TempDir dir;
  for (const Case& c : {Case{{"--fast"}, "--fast: unknown option"},
                        Case{{"--fast", "1"}, "--fast: unknown option"},
                        Case{{"--frames"}, "--frames: unknown option or missing value"},
                        Case{{"--frames", "x"}, "--frames x: \"frames\" needs one number"},
                        Case{{"--tap", "20"}, "--tap 20: FRAME:VALUE expected"},
                        Case{{"--tap", "20:Spcae"}, "--tap 20:Spcae: unknown key \"Spcae\""},
                        Case{{"--do", "5 fly"}, "--do 5 fly: unknown action \"fly\""},
                        Case{{"--script", "missing.txt"}, "missing.txt: cannot read the script"},
                        Case{{"--frames", "10", "--tap", "10:A"}, "--tap 10:A: frame 10 is past the end"}}) {
    Options options;
    std::string error;
    EXPECT_FALSE(ReadCommandLine(c.args, options, error));
    EXPECT_EQ(error.rfind(c.message, 0), 0u) << "got: " << error;
  }
  Options options;
  std::string error;
  EXPECT_TRUE(ReadCommandLine({"--help"}, options, error));
  EXPECT_TRUE(options.help);
}

}  // namespace
}  // namespace runner
