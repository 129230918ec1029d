// The furnished room running on the headless host, for the targets that load into a
// running game. The game runs to frame 20; from inside that frame libFuzzer takes over
// and calls the target with each input, so every input meets a scene in mid-play.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/app/frame_passes.h"
#include "engine/app/game_director.h"
#include "engine/app/run_application.h"
#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/sound_device.h"
#include "tests/support/headless_run.h"
#include "tests/support/room_scene.h"
#include "tests/support/temp_dir.h"

extern "C" int LLVMFuzzerRunDriver(int* argc, char*** argv,
                                   int (*callback)(const uint8_t* data, size_t size));

namespace fuzzing {

// What the targets share: the host, the folder and the game as the room saves it.
struct RunningGame {
  platform::HeadlessHost* host = nullptr;
  std::string folder;
  std::string good;  // a save of the room in mid-play, which every input is measured from
};

inline RunningGame& Game() {
  static RunningGame game;
  return game;
}

inline std::string File(const std::string& name) { return Game().folder + "/" + name; }

// Stops the program with a report: libFuzzer keeps the input that led here.
[[noreturn]] inline void Fail(const std::string& what) {
  std::fprintf(stderr, "FUZZ CHECK FAILED: %s\n", what.c_str());
  std::abort();
}

// The main loop's work of one frame, without its window message and its wait.
inline void RunFrame() {
  using namespace quor;
  while (CurrentGameDirector && CurrentGameDirector->IsSwitchPending()) {
    if (AnyTransitionActive()) break;
    PerformSceneSwitch();
  }
  if (CurrentGameNode) CurrentGameNode->BeginFrame();
  RunEngineFrame();
  GetSoundDevice()->UpdateStreamedSounds();
  if (CurrentGameNode) CurrentGameNode->EndFrame();
}

// The bytes the running game saves as.
inline std::vector<uint8_t> SavedState(const char* name) {
  if (!quor::SaveGameFile(File(name))) Fail("the running game could not be saved");
  return testing_support::ReadBytes(File(name));
}

// Puts the room back as it was saved in mid-play, and clears what a run may have left.
inline void Restore() {
  quor::QuitRequested = 0;
  quor::Paused = 0;
  if (!quor::LoadGameFile(Game().good)) Fail("the room's own save no longer loads");
  Game().host->messageBoxes.clear();
}

// A load refused: one load error box, and the game exactly as it was before.
inline void ExpectUntouched(const std::vector<uint8_t>& before, const char* what) {
  auto& boxes = Game().host->messageBoxes;
  if (boxes.size() != 1 || boxes[0].caption != "Load error .")
    Fail(std::string(what) + ": a refused load did not give exactly one load error box");
  if (SavedState("after.sav") != before) Fail(std::string(what) + ": a refused load changed the game");
}

// Starts the room and hands over to libFuzzer at frame 20; returns libFuzzer's result.
inline int RunInRoom(int argc, char** argv, int (*input)(const uint8_t*, size_t)) {
  testing_support::TempDir dir;
  testing_support::WriteRoomFiles(dir.Path());
  // Every load decodes the maps' bitmaps again; small ones leave the time to the inputs.
  testing_support::WriteBitmap(dir.File("BITMAPS/room.bmp"), 64, 48, 0, 0, 128);
  testing_support::WriteBitmap(dir.File("BITMAPS/strip.bmp"), 64, 16, 0, 90, 0);
  testing_support::WriteBitmap(dir.File("BITMAPS/mist.bmp"), 32, 24, 200, 200, 200);
  testing_support::HeadlessRun run;
  Game().host = &run.host;
  Game().folder = dir.Path();
  Game().good = File("good.sav");
  int result = 0;
  testing_support::WalkRightInRoom(run.host, testing_support::UseFurnishedRoom);
  run.host.AtFrame(20, [&](platform::HeadlessHost&) {
    if (!quor::SaveGameFile(Game().good)) Fail("the room could not be saved");
    Restore();
    // libFuzzer ends the process itself; what the room holds then needs no tidying, but
    // its folder goes.
    std::atexit([] {
      std::error_code error;
      std::filesystem::remove_all(Game().folder, error);
      std::fflush(nullptr);
      _exit(0);
    });
    result = LLVMFuzzerRunDriver(&argc, &argv, input);
  });
  run.Run(21);
  return result;
}

}  // namespace fuzzing
