// A real replay and saved game of the furnished room, changed in one way each: a refused
// replay changes nothing, the player's own recording included, and a load gives play a
// stage it can go on from and text effects their sounds.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include <functional>
#include <string>
#include <vector>

#include "engine/app/game_director.h"
#include "engine/app/game_hooks.h"
#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/display/variable.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/sound.h"
#include "engine/sound_input/streamed_sound.h"
#include "game/rules/game_variables.h"
#include "platform/files.h"
#include "tests/support/file_bytes.h"
#include "tests/support/game_run.h"
#include "tests/support/headless_run.h"
#include "tests/support/ordinary_user.h"
#include "tests/support/room_scene.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

using testing_support::ReadBytes;

class LoadsAndReplays : public ::testing::Test {
 protected:
  // The room with the game's variables, its hero walking from frame 5 and frames 2 to 12
  // kept as run.rep and run.sar; check runs at frame 20 on the game as a load leaves it,
  // which is what a refused load puts back.
  void AtFrame20(const std::function<void(GameDirector&)>& check) {
    testing_support::WriteRoomFiles(dir.Path());
    testing_support::HeadlessRun run;
    GameHooks hooks = testing_support::EngineOnlyHooks();
    hooks.saveVariables = game::GameSaveVariables;
    hooks.loadVariables = game::GameLoadVariables;
    InstallGameHooks(hooks);
    host = &run.host;
    testing_support::WalkRightInRoom(run.host, testing_support::UseFurnishedRoom);
    run.host.AtFrame(2, [](platform::HeadlessHost&) { CurrentGameDirector->StartRecording(); });
    run.host.AtFrame(12, [&](platform::HeadlessHost&) {
      CurrentGameDirector->StopRecording();
      CurrentGameDirector->SaveReplayFile(rep);
    });
    run.host.AtFrame(20, [&](platform::HeadlessHost&) {
      ASSERT_TRUE(SaveGameFile("start.sav") && LoadGameFile("start.sav"));
      check(*CurrentGameDirector);
    });
    run.Run(21);
    game::ResetGameVariables();
  }

  // The replay chosen after F8 and the start of the next frame: one box (its text
  // returned), the game saving as it did before (into the folder `scratch`) and the window
  // title as it was. (The dialog itself refuses a name that names no file; a file can
  // still go before its replay starts.)
  std::string Refused(const std::string& path) {
    return RefusedAfter([&](GameDirector& director) { director.StartReplayFromFile(path, false); });
  }
  std::string RefusedAfter(const std::function<void(GameDirector&)>& key) {
    GameDirector& director = *CurrentGameDirector;
    const std::string title = host->WindowTitle();
    const std::string before = scratch + "/before.sav", after = scratch + "/after.sav";
    EXPECT_TRUE(SaveGameFile(before));
    host->messageBoxes.clear();
    const uint32_t recorded = CurrentGameNode->recordedKeyMasks.Size();
    key(director);
    if (director.saveRequested) director.DoPendingSave();
    if (director.loadRequested) director.DoPendingLoad();
    EXPECT_TRUE(SaveGameFile(after));
    EXPECT_EQ(ReadBytes(before), ReadBytes(after));
    EXPECT_EQ(host->WindowTitle(), title);
    EXPECT_EQ(CurrentGameNode->recordedKeyMasks.Size(), recorded);
    EXPECT_EQ(host->messageBoxes.size(), 1u);
    return host->messageBoxes.empty() ? "" : host->messageBoxes[0].text;
  }

  static void CutShort(const std::string& path) {
    std::vector<uint8_t> bytes = ReadBytes(path);
    bytes.resize(bytes.size() / 2);
    testing_support::WriteBytes(path, bytes);
  }

  testing_support::TempDir dir;
  platform::HeadlessHost* host = nullptr;
  const std::string rep = dir.File("run.rep"), sar = dir.File("run.sar");
  std::string scratch = dir.Path();
};

TEST_F(LoadsAndReplays, AReplayCutShortChangesNothing) {
  AtFrame20([&](GameDirector&) {
    CutShort(rep);
    EXPECT_EQ(Refused(rep), "The replay \"" + rep + "\" is damaged .");
  });
}

TEST_F(LoadsAndReplays, ARefusedReplayKeepsThePlayersOwnRecording) {
  AtFrame20([&](GameDirector& director) {
    director.StartRecording();
    director.DoPendingSave();
    const std::string own = platform::MapPath(StartRecordingStatePath());
    const std::vector<uint8_t> kept = ReadBytes(own);
    CutShort(sar);
    Refused(rep);
    EXPECT_EQ(ReadBytes(own), kept);
    EXPECT_EQ(director.recording, 1);
  });
}

// A file there that the player may not read was called missing too, and a start state was
// called a saved game.
TEST_F(LoadsAndReplays, AMissingReplayOrStartStateIsCalledMissingAndAnUnreadableOneSaysWhy) {
  AtFrame20([&](GameDirector&) {
    testing_support::OrdinaryUser user;
    for (const std::string& file : {rep, sar}) {
      ASSERT_EQ(chmod(file.c_str(), 0), 0);
      EXPECT_EQ(Refused(rep), "The " + std::string(file == rep ? "replay" : "start state") + " \"" +
                                  file + "\" cannot be read (Permission denied) .");
      ASSERT_EQ(chmod(file.c_str(), 0600), 0);
    }
    ASSERT_TRUE(SaveGameFile("one.sav"));
    ASSERT_EQ(chmod("one.sav", 0), 0);
    host->messageBoxes.clear();
    EXPECT_FALSE(LoadGameFile("one.sav"));
    ASSERT_EQ(host->messageBoxes.size(), 1u);
    EXPECT_EQ(host->messageBoxes[0].text,
              "The saved game \"one.sav\" cannot be read (Permission denied) .");

    ASSERT_EQ(rename(rep.c_str(), "aside.rep"), 0);
    EXPECT_EQ(Refused(rep), "The replay \"" + rep + "\" does not exist .");
    ASSERT_EQ(rename("aside.rep", rep.c_str()), 0);
    platform::DeleteFile(sar);
    EXPECT_EQ(Refused(rep), "The start state \"" + sar + "\" does not exist .");
  });
}

// F8 played on with no word when the copy of its start state over the player's own failed,
// so a later F7 saved the played recording beside another start state.
TEST_F(LoadsAndReplays, AReplayWhoseStartStateCannotBeKeptDoesNotStart) {
  AtFrame20([&](GameDirector&) {
    const std::string own = platform::MapPath(StartRecordingStatePath());
    ASSERT_TRUE(platform::DeleteFile(own));
    ASSERT_EQ(mkdir(own.c_str(), 0700), 0);
    ASSERT_EQ(mkdir((own + "/held").c_str(), 0700), 0);
    const std::string text = Refused(rep);
    EXPECT_EQ(text.rfind("The replay \"" + rep +
                             "\" did not start: the game keeps the state a "
                             "replay starts from in its folder \"" +
                             dir.Path() + "\"",
                         0),
              0u)
        << text;
  });
}

// In a game folder that may not be written, the boxes named the game's own state files,
// said nothing of the folder, and F8 gave two.
TEST_F(LoadsAndReplays, AGameFolderThatCannotBeWrittenIsNamedOnceByEachKey) {
  AtFrame20([&](GameDirector& director) {
    scratch = dir.File("sub");
    ASSERT_EQ(mkdir(scratch.c_str(), 0700), 0);
    ASSERT_TRUE(SaveGameFile("sub/one.sav"));
    testing_support::CopyBytes(rep, "sub/run.rep");
    testing_support::CopyBytes(sar, "sub/run.sar");
    ASSERT_EQ(chmod(dir.Path().c_str(), 0555), 0);
    testing_support::OrdinaryUser user;
    const std::string folder =
        " in its folder \"" + dir.Path() + "\", which must be writable (Permission denied) .";
    std::vector<std::string> boxes{
        RefusedAfter([&](GameDirector&) { EXPECT_FALSE(LoadGameFile("sub/one.sav")); }),
        Refused(dir.File("sub/run.rep")),
        RefusedAfter([](GameDirector& director) { director.StartReplay(false); })};
    EXPECT_EQ(boxes[0],
              "The saved game \"sub/one.sav\" was not loaded: the game keeps the "
              "present game while it loads" +
                  folder);
    EXPECT_EQ(boxes[1], "The replay \"" + dir.File("sub/run.rep") +
                            "\" did not start: the "
                            "game keeps the present game to come back to after a replay" +
                            folder);
    EXPECT_EQ(boxes[2],
              "The replay did not start: the game keeps the present game to come "
              "back to after a replay" +
                  folder);
    host->messageBoxes.clear();
    director.StartRecording();
    director.DoPendingSave();
    EXPECT_EQ(director.recording, 0);
    EXPECT_EQ(host->WindowTitle(), "Quor");
    ASSERT_EQ(host->messageBoxes.size(), 1u);
    EXPECT_EQ(host->messageBoxes[0].text,
              "Recording did not start: the game keeps the state a recording starts from" + folder);
    // F3 then says that nothing was recorded as the recording could not start, not which key
    // starts one.
    director.StartReplay(false);
    ASSERT_EQ(host->messageBoxes.size(), 2u);
    EXPECT_EQ(host->messageBoxes[1].text,
              "Nothing has been recorded to replay, as the recording could not start .");
    EXPECT_EQ(chmod(dir.Path().c_str(), 0700), 0);
  });
}

TEST_F(LoadsAndReplays, AStageNoPlayReachesLoadsAsTheNearestOne) {
  AtFrame20([](GameDirector&) {
    for (int32_t stage : {0, -1, 100}) {
      game::Stage = stage;
      ASSERT_TRUE(SaveGameFile("stage.sav"));
      game::Stage = 3;
      ASSERT_TRUE(LoadGameFile("stage.sav"));
      EXPECT_EQ(game::Stage, stage < 1 ? 1 : 7) << stage;
    }
  });
}

// F7 "v1.2" (which used to keep "v1.2" beside "v1.2.sar") and then F7 "v1.2.rep" of
// another recording (beside "v1.2.sar" too): F8 "v1.2" played one recording from the
// other's start state. Now both names are the one pair "v1.2.rep" and "v1.2.sar", and a
// replay saved as "b.r" by the version before still loads beside "b.r.sar".
TEST_F(LoadsAndReplays, EveryReplayNameKeepsAStartStateOfItsOwn) {
  AtFrame20([&](GameDirector& director) {
    ASSERT_EQ(rename(rep.c_str(), "b.r"), 0);
    ASSERT_EQ(rename(sar.c_str(), "b.r.sar"), 0);
    host->messageBoxes.clear();
    director.StartReplayFromFile(dir.File("b.r"), false);
    director.DoPendingSave();
    director.DoPendingLoad();
    EXPECT_EQ(host->WindowTitle(), "Quor - Replay Mode");
    director.replaying = 0;

    director.SaveReplayFile(dir.File("v1.2"));
    director.StartRecording();
    director.DoPendingSave();
    for (uint32_t mask : {1u, 2u, 3u, 4u}) CurrentGameNode->recordedKeyMasks.Add(mask);
    host->AnswerFileDialog("v1.2.rep");
    director.SaveReplayDialog();
    EXPECT_FALSE(platform::FileExists(dir.File("v1.2")));
    EXPECT_EQ(ReadBytes(dir.File("v1.2.sar")),
              ReadBytes(platform::MapPath(StartRecordingStatePath())));
    host->AnswerFileDialog("v1.2");
    director.LoadReplayDialog();
    director.DoPendingSave();
    director.DoPendingLoad();
    EXPECT_EQ(CurrentGameNode->recordedKeyMasks.Size(), 4u);
    EXPECT_TRUE(host->messageBoxes.empty());
  });
}

// A saved game, a replay or its start state far larger than its kind is read whole into
// memory first: a 2 TB file (which takes no room on the disk) ended the game. A replay or a
// start state too large was then called damaged.
TEST_F(LoadsAndReplays, AFileFarTooLargeForItsKindIsRefusedAtOnce) {
  AtFrame20([&](GameDirector&) {
    auto huge = [&](const std::string& name) {
      testing_support::WriteBytes(dir.File(name), {});
      EXPECT_EQ(truncate(dir.File(name).c_str(), off_t{2} << 40), 0);
      return dir.File(name);
    };
    testing_support::CopyBytes(sar, dir.File("huge.sar"));
    EXPECT_EQ(Refused(huge("huge.rep")),
              "The replay \"" + dir.File("huge.rep") + "\" cannot be read (File too large) .");
    testing_support::CopyBytes(rep, dir.File("big.rep"));
    huge("big.sar");
    EXPECT_EQ(Refused(dir.File("big.rep")),
              "The start state \"" + dir.File("big.sar") + "\" cannot be read (File too large) .");
    // F6.
    ASSERT_TRUE(SaveGameFile("before.sav"));
    host->messageBoxes.clear();
    EXPECT_FALSE(LoadGameFile(huge("huge.sav")));
    ASSERT_EQ(host->messageBoxes.size(), 1u);
    EXPECT_NE(host->messageBoxes[0].text.find("huge.sav\" is damaged"), std::string::npos);
    ASSERT_TRUE(SaveGameFile("after.sav"));
    EXPECT_EQ(ReadBytes(dir.File("before.sav")), ReadBytes(dir.File("after.sav")));
  });
}

// The crate's box and the scene's own boxes (the last added first in the list) type with
// the room's sound.
TEST_F(LoadsAndReplays, ATextEffectPlaysItsSoundAfterALoad) {
  auto boxes = [] {
    return std::vector<Variable*>{FindSpriteByName("Crate")->variables.At(0),
                                  static_cast<Variable*>(CurrentGameNode->variables.GetHead())};
  };
  auto typesWithSound = [](Variable* box) {
    FindSoundByName("Step")->Stop();
    box->StepTextEffect();
    return FindSoundByName("Step")->IsPlaying();
  };
  AtFrame20([&](GameDirector&) {
    for (Variable* box : boxes()) {
      box->SetEffectSound(FindSoundByName("Step"));
      box->SetTextEffectTiming(1, 0);
      box->SetTextEffect(kTypewriter);
      box->SetText("Keys 2");
    }
    ASSERT_TRUE(SaveGameFile("typing.sav") && LoadGameFile("typing.sav"));
    for (Variable* box : boxes()) EXPECT_TRUE(typesWithSound(box)) << box->GetName();
  });
}

// "Level1" played with the down arrow held from frame 105 to 195, and the player's own recording
// (F1 at 5, F2 at 100) replayed with F3 at 102 when asked; the last frame shown.
std::vector<uint32_t> Level1WithOwnReplay(bool replayKeys) {
  testing_support::GameRun run;
  // The start state can be neither written nor read: a folder holds its name.
  EXPECT_EQ(mkdir(platform::MapPath(StartRecordingStatePath()).c_str(), 0700), 0);
  run.EnterAt(0, "Level1");
  if (replayKeys) {
    testing_support::TapKey(run.host, platform::KeyF1, 5);
    testing_support::TapKey(run.host, platform::KeyF2, 100);
    testing_support::TapKey(run.host, platform::KeyF3, 102);
  }
  testing_support::HoldKey(run.host, platform::KeyDown, 105, 195);
  run.Run(196);
  EXPECT_EQ(run.host.WindowTitle(), "Quor");
  return run.host.video.lastFrame.Colors().colors;
}

// It used to replay the recording over the present game: the hero ignored the keys.
TEST(OwnReplay, AStartStateThatCannotLoadStartsNoReplay) {
  EXPECT_TRUE(Level1WithOwnReplay(true) == Level1WithOwnReplay(false));
}

// F7 with nothing recorded opened the chooser, took a name and wrote nothing, and F3 did
// nothing at all, neither saying why. Now each says so in one box, and the game plays on as
// if neither key had been pressed: a recording made afterwards (F1 at 60, F2 at 90) is
// still saved by F7 while it runs (at 80).
TEST(OwnReplay, NothingRecordedIsSaidByF7AndF3AndPlayGoesOn) {
  struct Played {
    std::vector<uint32_t> lastFrame;
    std::vector<platform::RecordedMessageBox> boxes;
    size_t choosers = 0;
    bool saved = false;
  };
  auto play = [](bool keysFirst) {
    testing_support::GameRun run;
    run.EnterAt(0, "Level1");
    if (keysFirst) {
      testing_support::TapKey(run.host, platform::KeyF7, 10);
      testing_support::TapKey(run.host, platform::KeyF3, 20);
    }
    testing_support::TapKey(run.host, platform::KeyF1, 60);
    run.host.AtFrame(80, [](platform::HeadlessHost& host) { host.AnswerFileDialog("mid"); });
    testing_support::TapKey(run.host, platform::KeyF7, 80);
    testing_support::TapKey(run.host, platform::KeyF2, 90);
    testing_support::HoldKey(run.host, platform::KeyDown, 105, 195);
    run.Run(196);
    EXPECT_EQ(run.host.WindowTitle(), "Quor");
    return Played{run.host.video.lastFrame.Colors().colors, run.host.messageBoxes,
                  run.host.dialogRequests.size(), platform::FileExists("mid.rep")};
  };
  const Played quiet = play(false), told = play(true);
  EXPECT_TRUE(told.lastFrame == quiet.lastFrame);
  ASSERT_EQ(told.boxes.size(), 2u);
  EXPECT_EQ(told.boxes[0].text,
            "Nothing has been recorded to save: F1 starts a recording and F2 stops it .");
  EXPECT_EQ(told.boxes[1].text,
            "Nothing has been recorded to replay: F1 starts a recording and F2 stops it .");
  for (const platform::RecordedMessageBox& box : told.boxes)
    EXPECT_EQ(box.caption, "Replay error .");
  EXPECT_EQ(told.choosers, 1u);
  EXPECT_TRUE(told.saved && quiet.saved);
  EXPECT_TRUE(quiet.boxes.empty());
}

// A load with F6 while paused (F10), then F12: two saves 40 frames apart, still paused, are
// the same; the music plays again once the pause ends, also in a game saved while paused.
TEST(PausedLoad, SoundsWaitForThePauseToEnd) {
  testing_support::TempDir dir;
  testing_support::WriteRoomFiles(dir.Path());
  testing_support::HeadlessRun run;
  platform::HeadlessHost& host = run.host;
  host.AtFrame(0, testing_support::UseFurnishedRoom);
  host.AtFrame(5, [](platform::HeadlessHost&) {
    FindStreamedSoundByName("Music")->Play();
    // Text effects go on while paused, as the boxes are drawn; this one would differ anyway.
    NodeList& boxes = CurrentGameNode->variables;
    for (Node* box = boxes.GetHead(); !box->IsEnd(); box = box->GetNext())
      static_cast<Variable*>(box)->SetTextEffect(kNoEffect);
  });
  host.AtFrame(10, [](platform::HeadlessHost&) { ASSERT_TRUE(SaveGameFile("playing.sav")); });
  testing_support::TapKey(host, platform::KeyF10, 20);
  host.AnswerFileDialog("playing.sav");
  testing_support::TapKey(host, platform::KeyF6, 30);
  testing_support::TapKey(host, platform::KeyF12, 120);
  for (int frame : {40, 80, 130, 170})
    host.AtFrame(frame, [frame](platform::HeadlessHost&) {
      ASSERT_TRUE(SaveGameFile(std::to_string(frame) + ".sav"));
    });
  testing_support::TapKey(host, platform::KeyF10, 180);
  auto musicPlays = [](platform::HeadlessHost&) {
    EXPECT_TRUE(FindStreamedSoundByName("Music")->IsPlaying());
  };
  host.AtFrame(185, musicPlays);
  host.AtFrame(190, [](platform::HeadlessHost&) { ASSERT_TRUE(LoadGameFile("170.sav")); });
  host.AtFrame(191, musicPlays);
  run.Run(192);
  EXPECT_EQ(ReadBytes(dir.File("40.sav")), ReadBytes(dir.File("80.sav")));
  EXPECT_EQ(ReadBytes(dir.File("130.sav")), ReadBytes(dir.File("170.sav")));
  EXPECT_TRUE(host.messageBoxes.empty());
}

}  // namespace
}  // namespace quor
