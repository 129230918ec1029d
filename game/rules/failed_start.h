// What the terminal is told when the game could not start in the folder it was run in.
#pragma once

#include <string>

namespace game {

// Lines that name the folder where the game looked for its pictures and sounds, say that
// ./play writes them into build-play/game and starts the game there, and give a command
// that starts program again from any folder: into gameFolder (the folder the build writes
// the game's files into, beside the program) and the program from there. Each line starts
// with program ("quor") or with blanks.
std::string FailedStartAdvice(const std::string& program, const std::string& folder,
                              const std::string& gameFolder);

}  // namespace game
