// What a file dialog makes of the name the user typed or chose, the same in every host's
// dialog: the desktop's chooser, the prompt in the game window and the tests' answers.
#pragma once

#include <string>
#include <vector>

#include "platform/host.h"

namespace platform {

// The dialog's title, as the system's own file dialogs are called: "Open" or "Save As".
std::string DialogTitle(const FileDialogRequest& request);

// Turns the answer given to the dialog into the file's path. A relative name is taken in
// the dialog's folder. A name whose last part has no extension gets the default one (any
// name without it does where the extension is required); an open dialog keeps the name as
// given when only that names a file. Refused (false, and refusal holds what the dialog
// tells the user before asking again): a name that names no file where the file must
// exist, and in a save dialog a name that names a folder ("sub/", ".", "..") or a file
// the save would write that is not a plain file, or that is there and this user may not
// replace (the refusal says whose it is, in place of asking whether to replace it), or any
// name in a folder whose lock file's name holds no plain file.
bool ResolveDialogAnswer(const FileDialogRequest& request, const std::string& answer,
                         std::string& path, std::string& refusal);

// The files a save dialog's answer will write: path (as ResolveDialogAnswer gave it) and,
// where the request names one, its companion beside it.
std::vector<std::string> FilesWritten(const FileDialogRequest& request, const std::string& path);

// Whether a save dialog must ask before its answer is taken: a file it will write is
// there already. question then holds what to ask, naming each such file once, leaving
// out askedByChooser, the name a chooser has asked about itself, taken as an answer is
// ("" for none); a no sends the user back to choosing the name.
bool AskBeforeReplacing(const FileDialogRequest& request, const std::string& path,
                        const std::string& askedByChooser, std::string& question);

}  // namespace platform
