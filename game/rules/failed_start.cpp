#include "game/rules/failed_start.h"

namespace game {

std::string FailedStartAdvice(const std::string& program, const std::string& folder) {
  return program + ": the game did not start. It looked for its pictures and sounds in\n"
                   "  " + folder + "\n"
                   "  (in its BITMAPS and Sounds folders there). ./play builds the game, writes\n"
                   "  these files into build-play/game and starts the game there; to start it\n"
                   "  again without building: cd build-play/game && ../" + program + "\n";
}

}  // namespace game
