// What a file dialog makes of the name the user typed or chose, the same in every host's
// dialog: the desktop's chooser, the prompt in the game window and the tests' answers.
#pragma once

#include <string>

#include "platform/host.h"

namespace platform {

// Turns the answer given to the dialog into the file's path. A relative name is taken in
// the dialog's folder. A name whose last part has no extension gets the default one; an
// open dialog keeps the name as given when only that names a file. An open dialog that
// must find its file refuses a name that names none: false, and refusal holds what the
// dialog tells the user before asking again.
bool ResolveDialogAnswer(const FileDialogRequest& request, const std::string& answer,
                         std::string& path, std::string& refusal);

// Whether a save dialog must ask before its answer is taken: the file it will write (the
// path ResolveDialogAnswer gave, as the engine maps it) is there already. question then
// holds what to ask, naming that file; a no sends the user back to choosing the name.
bool AskBeforeReplacing(const FileDialogRequest& request, const std::string& path,
                        std::string& question);

}  // namespace platform
