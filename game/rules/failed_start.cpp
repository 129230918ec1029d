#include "game/rules/failed_start.h"

#include "platform/program_folder.h"

namespace game {

std::string FailedStartAdvice(const std::string& program, const std::string& folder,
                              const std::string& gameFolder) {
  return program + ": the game did not start. It looked for its pictures and sounds in\n"
                   "  " + folder + "\n"
                   "  (in its BITMAPS and Sounds folders there). ./play builds the game, writes\n"
                   "  these files into build-play/game and starts the game there; to start it\n"
                   "  again without building:\n"
                   "    cd " + platform::ShellWord(gameFolder) + " && ../" + program + "\n";
}

}  // namespace game
