// Where the running program lives, and paths written as commands the user can type: the
// words the game prints to start it again must work wherever the user stands.
#pragma once

#include <string>

namespace platform {

// The folder of the running program's file, as a full path; "." when it cannot be told.
std::string ProgramFolder();

// The text as one shell word, in single quotes.
std::string ShellQuote(const std::string& text);
// The text as one shell word, quoted only where it must be, as the user would type it.
std::string ShellWord(const std::string& text);

}  // namespace platform
