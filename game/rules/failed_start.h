// What the terminal is told when the game could not start in the folder it was run in.
#pragma once

#include <string>

namespace game {

// Lines that name the folder where the game looked for its pictures and sounds and say
// that ./play writes them into build-play/game and starts the game there; each line
// starts with program ("quor") or with blanks.
std::string FailedStartAdvice(const std::string& program, const std::string& folder);

}  // namespace game
