// Scripts played on the whole program with scenes of the test's own: the lines a run tells,
// expectations that hold and fail, pictures, and file dialogs answered from the script.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/keyboard.h"
#include "game/rules/game_variables.h"
#include "platform/files.h"
#include "platform/input_keys.h"
#include "tests/support/engine_hooks.h"
#include "tests/support/headless_run.h"
#include "tests/support/temp_dir.h"
#include "tools/runner/script.h"
#include "tools/runner/script_run.h"

namespace runner {
namespace {

// Every scene: Space goes to "Title", R enters the current scene again, K takes a key.
void KeysBehaviour(quor::Node* owner) {
  auto* scene = static_cast<quor::GameNode*>(owner);
  quor::Keyboard* keys = quor::CurrentKeyboard;
  if (!keys) return;
  if (keys->IsKeyPressed(platform::KeySpace)) quor::CurrentGameDirector->GoToGameNode("Title");
  if (keys->IsKeyPressed(platform::KeyR)) quor::CurrentGameDirector->GoToGameNode(scene->GetName());
  if (keys->IsKeyPressed(platform::KeyK)) ++game::KeyCount;
}

void BuildStart(quor::GameNode* scene) { scene->SetEscapeQuits(1); }

// Two sprites in layer 0 and one in layer 3.
void BuildTitle(quor::GameNode* scene) {
  for (int layer : {0, 0, 3}) {
    quor::Sprite sprite;
    sprite.SetName("Thing");
    sprite.SetLayer(layer);
    scene->AddSprite(sprite);
  }
}

void CreateTwoScenes() {
  const char* names[] = {"Start", "Title"};
  quor::GameNodeHook builders[] = {BuildStart, BuildTitle};
  for (int i = 0; i < 2; ++i) {
    auto* scene = new quor::GameNode;
    scene->SetId(i + 1);
    scene->SetName(names[i]);
    scene->buildContent = builders[i];
    scene->behaviour = KeysBehaviour;
    quor::CurrentGameDirector->AddGameNode(scene);
  }
}

class ScriptPlay : public ::testing::Test {
 protected:
  void SetUp() override { game::ResetGameVariables(); }
  void TearDown() override { game::ResetGameVariables(); }

  // Plays text on the two scenes, with the game's variables in saved games; returns the
  // runner's status and leaves its lines in out.
  int Play(const std::string& text) {
    Script script;
    std::string error;
    std::istringstream in(text);
    if (!ScriptParser(script).ParseText(in, "s.txt", error) || !FinishScript(script, error)) {
      ADD_FAILURE() << error;
      return -1;
    }
    testing_support::HeadlessRun run;
    quor::GameHooks hooks = testing_support::EngineOnlyHooks();
    hooks.createScenes = CreateTwoScenes;
    hooks.saveVariables = game::GameSaveVariables;
    hooks.loadVariables = game::GameLoadVariables;
    quor::InstallGameHooks(hooks);
    ScriptRun player(script, out);
    player.Install(run.host);
    run.Run(script.frames);
    return player.Finish();
  }

  bool Told(const std::string& line) const { return out.str().find(line + "\n") != std::string::npos; }

  testing_support::TempDir dir;
  std::ostringstream out;
};

constexpr char kStartVariables[] =
    "KeyCount=0 HeartCount=2 DirUp=1 DirDown=2 DirLeft=3 DirRight=4 Facing=1 Stage=1 DemonLife=12 "
    "AttackFired=0 TenmaLife=19";
// "Start" holds nothing but the engine's text cursor, in layer 0.
constexpr char kStartSprites[] = " sprites=1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0";

TEST_F(ScriptPlay, EverySwitchIsToldWithTheSceneAsBuilt) {
  EXPECT_EQ(Play("frames 40\n"
                 "10 tap Space\n"
                 "20 tap K\n"
                 "30 tap R\n"),
            0);
  EXPECT_EQ(out.str().rfind(std::string("switch frame=0 scene=Start ") + kStartVariables + kStartSprites + "\n", 0),
            0u)
      << out.str();
  // Space goes down in frame 10; the switch is made as frame 11 begins.
  EXPECT_TRUE(Told(std::string("switch frame=11 scene=Title ") + kStartVariables +
                   " sprites=2,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0"))
      << out.str();
  // Entering the same scene again is a switch too; a scene once left holds a text cursor.
  EXPECT_NE(out.str().find("switch frame=31 scene=Title KeyCount=1 "), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("TenmaLife=19 sprites=3,0,0,1,0,0,0,0,0,0,0,0,0,0,0,0\nend"), std::string::npos)
      << out.str();
  EXPECT_TRUE(Told("end frame=40 expectations=0 failed=0 peak-sprites=4")) << out.str();
}

TEST_F(ScriptPlay, ExpectationsThatHoldGiveStatusZero) {
  EXPECT_EQ(Play("0 expect scene Start\n"
                 "10 tap Space\n"
                 "10 expect scene Start\n"
                 "11 expect scene Title\n"
                 "20 tap K\n"
                 "20 expect KeyCount 0\n"
                 "21 expect KeyCount 1\n"
                 "21 expect TenmaLife 19\n"
                 "30 expect messages 0\n"
                 "frames 30\n"),
            0)
      << out.str();
  EXPECT_EQ(out.str().find("FAIL"), std::string::npos);
  EXPECT_TRUE(Told("end frame=30 expectations=7 failed=0 peak-sprites=3")) << out.str();
}

TEST_F(ScriptPlay, ExpectationsThatFailAreToldAndGiveStatusOne) {
  EXPECT_EQ(Play("10 tap Space\n"
                 "12 expect scene Start\n"
                 "12 expect scene Title\n"
                 "13 expect HeartCount 4\n"
                 "14 expect messages 2\n"
                 "frames 20\n"),
            1);
  EXPECT_TRUE(Told("FAIL s.txt:2: frame 12: the scene is \"Title\", expected \"Start\"")) << out.str();
  EXPECT_TRUE(Told("FAIL s.txt:4: frame 13: HeartCount is 2, expected 4")) << out.str();
  EXPECT_TRUE(Told("FAIL s.txt:5: frame 14: 0 message boxes were shown, expected 2")) << out.str();
  EXPECT_TRUE(Told("end frame=20 expectations=4 failed=3 peak-sprites=3")) << out.str();
}

TEST_F(ScriptPlay, ARunThatEndsEarlyFailsWhatItNeverReached) {
  // Escape quits in "Start": the program ends in frame 5.
  EXPECT_EQ(Play("5 tap Escape\n"
                 "5 expect scene Start\n"
                 "40 expect scene Start\n"
                 "40 shot late.png\n"
                 "frames 60\n"),
            1);
  EXPECT_TRUE(Told("FAIL s.txt:3: frame 40 never came: the run ended at frame 6")) << out.str();
  EXPECT_TRUE(Told("FAIL s.txt:4: frame 40 never came: the run ended at frame 6")) << out.str();
  EXPECT_TRUE(Told("end frame=6 expectations=2 failed=2 peak-sprites=1")) << out.str();
  EXPECT_FALSE(platform::FileExists("late.png"));
}

TEST_F(ScriptPlay, ReportsComeOnRequestAndAtIntervals) {
  EXPECT_EQ(Play("15 report\n"
                 "every 10 report\n"
                 "frames 25\n"),
            0);
  for (int frame : {0, 10, 15, 20})
    EXPECT_TRUE(Told("report frame=" + std::to_string(frame) + " scene=Start " + kStartVariables + kStartSprites))
        << frame << "\n"
        << out.str();
  EXPECT_EQ(out.str().find("report frame=5 "), std::string::npos);
}

TEST_F(ScriptPlay, PicturesAreWrittenOnceTheirFrameIsShownAndAFailedOneCounts) {
  EXPECT_EQ(Play("5 shot one.png\n"
                 "every 10 shot s{frame}.png\n"
                 "7 shot no/such/folder/x.png\n"
                 "frames 25\n"),
            1)
      << out.str();
  EXPECT_TRUE(Told("shot frame=5 file=one.png")) << out.str();
  for (const char* name : {"one.png", "s0.png", "s10.png", "s20.png"}) EXPECT_TRUE(platform::FileExists(name)) << name;
  EXPECT_FALSE(platform::FileExists("s5.png"));
  EXPECT_TRUE(Told("FAIL s.txt:3: frame 7: could not write the picture \"no/such/folder/x.png\"")) << out.str();
}

TEST_F(ScriptPlay, SavedGamesAreDrivenThroughAnsweredDialogs) {
  EXPECT_EQ(Play("10 answer one\n"
                 "10 tap F5\n"   // the save is made, through the dialog, as frame 11 runs
                 "20 tap K\n"
                 "25 expect KeyCount 1\n"
                 "26 answer missing.sav\n"  // refused inside the dialog, which asks again
                 "26 tap F6\n"
                 "29 expect KeyCount 1\n"
                 "30 answer nowhere\n"
                 "30 answer one\n"  // the open dialog adds its extension as the save's did
                 "30 tap F6\n"
                 "35 expect KeyCount 0\n"
                 "40 tap F5\n"   // no answer: the dialog is cancelled
                 "50 cancel\n"
                 "50 tap F6\n"
                 "55 expect messages 0\n"
                 "frames 55\n"),
            0)
      << out.str();
  EXPECT_TRUE(platform::FileExists("one.sav"));
  EXPECT_TRUE(Told("dialog frame=11 save *.sav answer=one")) << out.str();
  EXPECT_TRUE(Told("dialog frame=27 open *.sav answer=missing.sav refused=\"The file \"missing.sav\" does not exist.\"\n"
                   "dialog frame=27 open *.sav unanswered"))
      << out.str();
  EXPECT_TRUE(Told("dialog frame=31 open *.sav answer=nowhere refused=\"The file \"nowhere.sav\" does not exist.\"\n"
                   "dialog frame=31 open *.sav answer=one"))
      << out.str();
  EXPECT_TRUE(Told("dialog frame=41 save *.sav unanswered")) << out.str();
  EXPECT_TRUE(Told("dialog frame=51 open *.sav cancelled")) << out.str();
}

TEST_F(ScriptPlay, RecordingsAreSavedThroughAnsweredDialogs) {
  EXPECT_EQ(Play("5 tap F1\n"
                 "10 tap K\n"
                 "20 tap F2\n"
                 "30 answer run.rep\n"
                 "30 tap F7\n"
                 "frames 40\n"),
            0)
      << out.str();
  EXPECT_TRUE(Told("dialog frame=30 save *.rep answer=run.rep")) << out.str();
  EXPECT_TRUE(platform::FileExists("run.rep"));
  EXPECT_TRUE(platform::FileExists("run.sar"));
}

}  // namespace
}  // namespace runner
