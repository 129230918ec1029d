// Saved games loaded into the running furnished room. A load either succeeds, and the
// game then runs a few frames on what it read, or is refused with one box and leaves the
// game exactly as it was.
#include "fuzz/running_game.h"

namespace {

int LoadIntoTheRoom(const uint8_t* data, size_t size) {
  std::vector<uint8_t> before = fuzzing::SavedState("before.sav");
  testing_support::WriteBytes(fuzzing::File("input.sav"), std::vector<uint8_t>(data, data + size));
  fuzzing::Game().host->messageBoxes.clear();
  if (!quor::LoadGameFile(fuzzing::File("input.sav"))) {
    fuzzing::ExpectUntouched(before, "saved game");
    return 0;
  }
  for (int frame = 0; frame < 3; ++frame) fuzzing::RunFrame();
  fuzzing::Restore();
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return fuzzing::RunInRoom(argc, argv, LoadIntoTheRoom); }
