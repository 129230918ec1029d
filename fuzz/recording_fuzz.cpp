// Recordings replayed in the running furnished room: the input is a ".rep" file whose
// ".sar" start state is the room's own save. A recording either replays (its frames run,
// and the game comes back when it ends) or is refused with one box.
#include "engine/core/object_stream.h"
#include "fuzz/running_game.h"
#include "platform/files.h"
#include "platform/input_keys.h"
#include "tests/support/file_bytes.h"

namespace {

constexpr int kMostReplayedFrames = 40;

int ReplayInTheRoom(const uint8_t* data, size_t size) {
  using quor::CurrentGameDirector;
  testing_support::WriteBytes(fuzzing::File("input.rep"), std::vector<uint8_t>(data, data + size));
  testing_support::CopyBytes(fuzzing::Game().good, fuzzing::File("input.sar"));
  fuzzing::Game().host->messageBoxes.clear();
  CurrentGameDirector->StartReplayFromFile(fuzzing::File("input.rep"), false);
  // The replay starts with the next frame's load, once its start state has loaded.
  for (int frame = 0; frame < kMostReplayedFrames &&
                      (CurrentGameDirector->replaying || CurrentGameDirector->loadRequested);
       ++frame)
    fuzzing::RunFrame();
  if (CurrentGameDirector->replaying) {
    // F4 ends a replay, as a player would.
    fuzzing::Game().host->input.PressKey(platform::KeyF4);
    fuzzing::RunFrame();
    fuzzing::RunFrame();
    fuzzing::Game().host->input.ReleaseKey(platform::KeyF4);
    fuzzing::RunFrame();
  }
  if (CurrentGameDirector->replaying) fuzzing::Fail("a replay did not end");
  fuzzing::Restore();
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return fuzzing::RunInRoom(argc, argv, ReplayInTheRoom); }
