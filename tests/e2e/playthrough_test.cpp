// The whole game played through on the headless host with the stand-in pictures, as a
// player at the keyboard: Space on the screens that wait for it, the walkthroughs' routes
// in the levels one after the other, from "Start" to "Win". The scene order and the game
// variables are checked at every scene switch. The same playthrough is recorded (F1, F2),
// kept as a replay file (F7), loaded and replayed from it (F8) and replayed again (F3):
// each replay reaches "Win" on the same frame with the same variables. Its recorded keys,
// written as a script of the headless runner, play the same game there too; with
// QUOR_PLAYTHROUGH_SCRIPT=FILE in the environment the test leaves that script in FILE.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "game/rules/game_variables.h"
#include "platform/files.h"
#include "platform/headless/headless_host.h"
#include "platform/input_keys.h"
#include "tests/e2e/level_routes.h"
#include "tests/support/game_run.h"
#include "tests/support/temp_dir.h"
#include "tests/support/walker.h"
#include "tools/runner/game_state.h"
#include "tools/runner/key_names.h"
#include "tools/runner/script.h"
#include "tools/runner/script_run.h"

namespace game {
namespace {

using platform::HeadlessHost;
using testing_support::SceneName;
using testing_support::TapKey;
using testing_support::Walker;

// The scene, the eleven variables as the runner prints them, and the scene's sprites. The
// engine's text cursor is left out of the count: a scene gets one each time it is left, so
// a scene entered for the second time holds one more.
std::string State() {
  std::string fields = runner::StateFields(quor::CurrentGameNode);
  fields.resize(fields.find(" sprites="));
  int sprites = 0;
  for (quor::NodeList& layer : quor::CurrentGameNode->layers)
    for (quor::Node* n = layer.GetHead(); !n->IsEnd(); n = n->GetNext())
      sprites += std::string(static_cast<quor::Sprite*>(n)->GetName()) != quor::kTextsCursorName;
  return fields + " sprites=" + std::to_string(sprites);
}

// A scene the run entered: the frame it was entered in and its state as built.
struct Visit {
  int frame;
  std::string state;
};

// The value of one variable in a visit's state fields.
int32_t Field(const Visit& visit, const std::string& name) {
  const std::string key = " " + name + "=";
  size_t at = visit.state.find(key);
  return at == std::string::npos ? -999 : std::stoi(visit.state.substr(at + key.size()));
}
std::string SceneOf(const Visit& visit) {
  return visit.state.substr(6, visit.state.find(' ') - 6);  // after "scene="
}

// The player: reads each screen that waits for Space for a moment and goes on, and walks
// each level by its route. It writes down every scene it enters; while `playing` is off it
// only watches (a replay is playing).
class Player {
 public:
  static constexpr int kReadingFrames = 45;

  Player() {
    WalkLevel1(Route("Level1"));
    Route("Level2").Add("the timed way through", testing_support::Schedule(Level2Route()));
    WalkMidBoss(Route("MidBoss"));
    Route("Level3").Add("the timed way through", testing_support::Schedule(Level3Route()));
    Route("Level4").Add("the timed way through", testing_support::Schedule(Level4Route()));
    WalkFinalLevel(Route("FinalLevel"));
  }

  void Frame(HeadlessHost& host) {
    const std::string scene = SceneName();
    if (scene != last_) {
      visits.push_back({host.Frame(), State()});
      last_ = scene;
      enteredAt_ = host.Frame();
    }
    if (!playing) return;
    if (scene == "Start" || scene == "Title" || scene == "Instruct") {
      if (host.Frame() == enteredAt_ + kReadingFrames) host.input.PressKey(platform::KeySpace);
      if (host.Frame() == enteredAt_ + kReadingFrames + 1)
        host.input.ReleaseKey(platform::KeySpace);
    }
    for (auto& route : routes_) route.second.Frame(host);
  }

  // Where each route stopped, for a failure's message.
  std::string Log() const {
    std::string log;
    for (const auto& route : routes_)
      log +=
          route.first + ": " + route.second.Log() + "stopped at: " + route.second.Current() + "\n";
    return log;
  }
  std::string Visits() const {
    std::string text;
    for (const Visit& v : visits) text += std::to_string(v.frame) + " " + v.state + "\n";
    return text;
  }

  std::vector<Visit> visits;
  bool playing = true;

 private:
  Walker& Route(const std::string& scene) {
    return routes_.emplace(scene, Walker(scene)).first->second;
  }

  std::map<std::string, Walker> routes_;
  std::string last_;
  int enteredAt_ = 0;
};

// The route of a whole game: the screens, then each stage's introduction and level.
const char* const kSceneOrder[] = {
    "Start",  "Title",      "Instruct",   "StageIntro", "Level1", "StageIntro",
    "Level2", "StageIntro", "MidBoss",    "StageIntro", "Level3", "StageIntro",
    "Level4", "StageIntro", "FinalLevel", "FinalDoor",  "Win"};

// What the variables must be as each scene of the route is entered.
void ExpectTheRoute(const std::vector<Visit>& visits, const std::string& log) {
  std::vector<std::string> scenes;
  for (const Visit& v : visits) scenes.push_back(SceneOf(v));
  ASSERT_EQ(scenes, std::vector<std::string>(std::begin(kSceneOrder), std::end(kSceneOrder)))
      << log;
  int stage = 1;
  for (size_t i = 0; i < visits.size(); ++i) {
    const Visit& v = visits[i];
    const std::string scene = SceneOf(v);
    SCOPED_TRACE(std::to_string(v.frame) + " " + v.state);
    const bool level = scene.rfind("Level", 0) == 0 || scene == "MidBoss";
    if (scene == "StageIntro" && i > 3) {
      // Through a door: with three keys, to the next stage.
      ++stage;
      EXPECT_EQ(Field(v, "KeyCount"), 3);
    }
    EXPECT_EQ(Field(v, "Stage"), stage);
    if (level) {
      EXPECT_EQ(Field(v, "KeyCount"), 0);
      EXPECT_EQ(Field(v, "HeartCount"), 2);
    }
    if (scene == "MidBoss" || scene == "Level3" || scene == "Level4" || scene == "FinalLevel") {
      EXPECT_EQ(Field(v, "DemonLife"), 12);
    }
    if (i > 0 && SceneOf(visits[i - 1]) == "MidBoss") {
      EXPECT_EQ(Field(v, "DemonLife"), 0) << "the first boss was beaten";
    }
    if (scene == "FinalDoor") {
      EXPECT_EQ(Field(v, "KeyCount"), 0);
      EXPECT_EQ(Field(v, "HeartCount"), 2);
    }
  }
  const Visit& win = visits.back();
  EXPECT_EQ(Field(win, "Stage"), 6);
  EXPECT_EQ(Field(win, "KeyCount"), 0);
  EXPECT_EQ(Field(win, "HeartCount"), 2);
  EXPECT_EQ(Field(win, "DemonLife"), 12);
  EXPECT_EQ(Field(win, "TenmaLife"), 19);
}

// A game is over well within this many frames (under seven minutes; it takes about five).
constexpr int kGameFrames = 24000;

TEST(Playthrough, FromStartThroughEveryLevelAndBothBossesToWin) {
  testing_support::GameRun run;
  Player player;
  run.host.EveryFrame([&](HeadlessHost& h) {
    player.Frame(h);
    if (SceneName() == "Win") h.PostQuit(0);
  });
  run.Run(kGameFrames);
  ExpectTheRoute(player.visits, player.Visits() + player.Log());
  EXPECT_TRUE(run.host.messageBoxes.empty()) << run.host.messageBoxes[0].text;
}

// The visits from `first` on, with their frames counted from `start`.
std::vector<Visit> Since(const std::vector<Visit>& visits, size_t first, int start) {
  std::vector<Visit> out;
  for (size_t i = first; i < visits.size(); ++i)
    out.push_back({visits[i].frame - start, visits[i].state});
  return out;
}

bool operator==(const Visit& a, const Visit& b) { return a.frame == b.frame && a.state == b.state; }
std::ostream& operator<<(std::ostream& out, const Visit& v) {
  return out << v.frame << " " << v.state;
}

// The recording as a script of the headless runner: each registered key pressed and let go
// on the frames the recording holds it (the first recorded frame being `from`), with the
// scenes the run entered and the variables at "Win" as expectations.
std::string RunnerScript(const quor::GameNode& scene, int from, const std::vector<Visit>& visits,
                         int frames) {
  std::ostringstream out;
  out << "# The whole game from \"Start\" to \"Win\" as a player's keys, written by the\n"
      << "# playthrough's replay test from its recording.\n"
      << "frames " << frames << "\n";
  uint32_t before = 0;
  for (uint32_t i = 0; i < scene.recordedKeyMasks.Size(); ++i) {
    const uint32_t mask = scene.recordedKeyMasks[i];
    for (uint32_t k = 0; k < scene.registeredKeys.Size() && k < 32; ++k) {
      const uint32_t bit = 1u << k;
      if ((mask & bit) == (before & bit)) continue;
      out << from + int(i) << ((mask & bit) ? " press " : " release ")
          << runner::KeyName(uint8_t(scene.registeredKeys[k])) << "\n";
    }
    before = mask;
  }
  for (const Visit& v : visits) out << v.frame << " expect scene " << SceneOf(v) << "\n";
  for (const char* name : {"KeyCount", "HeartCount", "Stage", "DemonLife", "TenmaLife"})
    out << visits.back().frame << " expect " << name << " " << Field(visits.back(), name) << "\n";
  return out.str();
}

// Plays a runner script on the real game; the runner's lines and its status (0: every
// expectation held).
int PlayScript(const std::string& text, std::string& told) {
  runner::Script script;
  runner::ScriptParser parser(script);
  std::istringstream in(text);
  std::string error;
  if (!parser.ParseText(in, "playthrough.txt", error) || !runner::FinishScript(script, error)) {
    told = error;
    return 2;
  }
  testing_support::GameRun run;
  std::ostringstream out;
  runner::ScriptRun play(script, out);
  play.Install(run.host);
  quor::RunApplication();
  const int status = play.Finish();
  told = out.str();
  return status;
}

// The playthrough recorded from its first frames to "Win" and kept as a replay; the replay
// loaded from its file (F8) and again from the state it left (F3) plays the same game:
// every scene entered on the same frame after the replay's start, with the same state.
TEST(PlaythroughReplay, RecordedKeptLoadedAndReplayedReachesWinOnTheSameFrame) {
  // Where to leave the runner's script, if asked: relative to where the tests started.
  std::string keep =
      std::getenv("QUOR_PLAYTHROUGH_SCRIPT") ? std::getenv("QUOR_PLAYTHROUGH_SCRIPT") : "";
  if (!keep.empty() && keep[0] != '/') keep = platform::CurrentDirectory() + "/" + keep;
  testing_support::TempDir files;
  const std::string replay = files.File("playthrough.rep");
  testing_support::GameRun run;
  Player player;
  constexpr int kRecordFrom = 2;  // F1 pressed: the state of the next frame is the start
  TapKey(run.host, platform::KeyF1, kRecordFrom - 1);
  int winAt = -1, replayAt = -1, againAt = -1, recordedFrames = 0;
  size_t visitsRecorded = 0, visitsBeforeAgain = 0;
  std::string stateAtWin, stateAfterReplay, script;
  run.host.EveryFrame([&](HeadlessHost& h) {
    player.Frame(h);
    const int f = h.Frame();
    if (winAt < 0 && SceneName() == "Win") {
      winAt = f;
      visitsRecorded = player.visits.size();
      player.playing = false;
      TapKey(h, platform::KeyF2, f + 10);
      h.AnswerFileDialog(replay);
      TapKey(h, platform::KeyF7, f + 20);
      h.AnswerFileDialog(replay);
      TapKey(h, platform::KeyF8, f + 30);
      replayAt = f + 31;  // the frame the start state comes back in
    }
    if (winAt >= 0 && f == winAt + 12) {
      recordedFrames = int(quor::CurrentGameNode->recordedKeyMasks.Size());
      stateAtWin = State();
      script = RunnerScript(*quor::CurrentGameNode, kRecordFrom, player.visits, winAt + 60);
    }
    // The replay ends as its recording ran out: back in "Win" as it was, F3 plays it again.
    if (replayAt > 0 && againAt < 0 && f > replayAt + recordedFrames + 1 &&
        !quor::CurrentGameDirector->replaying) {
      stateAfterReplay = State();
      visitsBeforeAgain = player.visits.size();
      TapKey(h, platform::KeyF3, f + 5);
      againAt = f + 6;
    }
    if (againAt > 0 && f > againAt + recordedFrames + 5 && !quor::CurrentGameDirector->replaying)
      h.PostQuit(0);
  });
  run.Run(3 * kGameFrames);
  ASSERT_GT(winAt, 0) << player.Visits() << player.Log();
  ExpectTheRoute(std::vector<Visit>(player.visits.begin(), player.visits.begin() + visitsRecorded),
                 player.Visits());
  EXPECT_TRUE(platform::FileExists(replay));
  EXPECT_TRUE(platform::FileExists(files.File("playthrough.sar")));
  EXPECT_EQ(recordedFrames, winAt + 10 - kRecordFrom + 1) << "every frame from F1's to F2's";

  // The scenes the recording entered after "Start", where it began, counted from its first
  // frame; each replay enters the same ones on the same frames after its own start.
  std::vector<Visit> recorded = Since(player.visits, 1, kRecordFrom);
  recorded.resize(visitsRecorded - 1);
  std::vector<Visit> replayed(player.visits.begin() + visitsRecorded,
                              player.visits.begin() + visitsBeforeAgain);
  ASSERT_GE(replayed.size(), recorded.size() + 1) << player.Visits();
  EXPECT_EQ(SceneOf(replayed.front()), "Start");
  replayed = Since(replayed, 1, replayAt);
  EXPECT_EQ(std::vector<Visit>(replayed.begin(), replayed.begin() + recorded.size()), recorded);
  EXPECT_EQ(stateAfterReplay, stateAtWin) << "the game goes on where the replay began";

  ASSERT_GT(againAt, 0);
  std::vector<Visit> again(player.visits.begin() + visitsBeforeAgain, player.visits.end());
  ASSERT_GE(again.size(), recorded.size() + 1) << player.Visits();
  EXPECT_EQ(SceneOf(again.front()), "Start");
  again = Since(again, 1, againAt);
  EXPECT_EQ(std::vector<Visit>(again.begin(), again.begin() + recorded.size()), recorded);
  EXPECT_TRUE(run.host.messageBoxes.empty()) << run.host.messageBoxes[0].text;

  // The recorded keys as the runner's script, on a new run of the game: the same game.
  if (!keep.empty()) std::ofstream(keep) << script;
  std::string told;
  EXPECT_EQ(PlayScript(script, told), 0) << told;
  EXPECT_NE(told.find("switch frame=" + std::to_string(winAt) + " scene=Win "), std::string::npos)
      << told;
}

}  // namespace
}  // namespace game
