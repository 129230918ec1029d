#include "platform/file_dialog.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>

#include "platform/files.h"
#include "platform/ownership.h"
#include "platform/save_names.h"

namespace platform {

namespace {

// What the name is on disk (a file, a folder...); 0 where nothing is.
mode_t ModeOf(const std::string& path) {
  struct stat st;
  return stat(MapPath(path).c_str(), &st) == 0 ? st.st_mode : 0;
}

// A file the engine can open: a folder of that name will not do.
bool IsFile(const std::string& path) { return S_ISREG(ModeOf(path)); }

// A name as the dialog takes it: a relative one in the dialog's folder.
std::string InDialogFolder(const FileDialogRequest& request, const std::string& name) {
  if (name.empty() || name[0] == '/' || request.initialDirectory.empty()) return name;
  return request.initialDirectory + "/" + name;
}

bool HasExtension(const std::string& name) {
  size_t slash = name.find_last_of("/\\");
  return name.find('.', slash == std::string::npos ? 0 : slash + 1) != std::string::npos;
}

std::string LastPart(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "sub/", "." and "..": names of a folder whatever the folder holds.
bool NamesAFolder(const std::string& answer) {
  std::string last = LastPart(answer);
  return last.empty() || last == "." || last == "..";
}

}  // namespace

std::string DialogTitle(const FileDialogRequest& request) {
  return request.kind == FileDialogKind::Save ? "Save As" : "Open";
}

bool ResolveDialogAnswer(const FileDialogRequest& request, const std::string& answer,
                         std::string& path, std::string& refusal) {
  refusal.clear();
  if (answer.empty()) {
    refusal = "No file name was given.";
    return false;
  }
  bool opening = request.kind == FileDialogKind::Open;
  if (NamesAFolder(answer)) {
    refusal = "\"" + answer + "\" names a folder, not a file.";
    return false;
  }
  std::string given = InDialogFolder(request, answer);
  std::string withExtension = given;
  std::string shown = answer;
  const std::string& extension = request.defaultExtension;
  if (!extension.empty() && (request.extensionRequired || !HasExtension(answer))) {
    withExtension = WithExtension(given, extension);
    shown = WithExtension(answer, extension);
  }
  // A name of the kind the game's own hidden files have is neither read nor written.
  auto gamesOwn = [&](const std::string& name) {
    if (save_names::IsOurs(LastPart(MapPath(name))))
      refusal = "\"" + LastPart(MapPath(name)) +
                "\" is a name the game keeps for its own files while it saves.";
    return !refusal.empty();
  };
  if (opening) {
    path = !IsFile(withExtension) && IsFile(given) ? given : withExtension;
    if (request.mustExist && !IsFile(path)) refusal = "The file \"" + shown + "\" does not exist.";
    return !gamesOwn(path) && refusal.empty();
  }
  // A save writes plain files only; a folder or the like of a written name stays as it is.
  const std::vector<std::string> files = FilesWritten(request, withExtension);
  bool there = false;
  for (const std::string& written : files) {
    there = there || IsFile(written);
    if (gamesOwn(written)) return false;
    mode_t mode = ModeOf(written);
    if (mode != 0 && !S_ISREG(mode)) {
      refusal = "\"" + LastPart(MapPath(written)) + "\" is " +
                (S_ISDIR(mode) ? "a folder, not a file." : "not a plain file.");
      return false;
    }
  }
  // A file there that this user may not replace is said so at once, never asked about; what
  // stands at the folder's lock file's name keeps out a save of any name, there or new.
  const int error = NotReplaceable(files, refusal);
  if (error == EINVAL || (there && error != 0)) {
    refusal[0] = char(std::toupper(static_cast<unsigned char>(refusal[0])));
    refusal += ".";
    return false;
  }
  // The rest the save itself tells, should it fail.
  refusal.clear();
  path = withExtension;
  return true;
}

std::vector<std::string> FilesWritten(const FileDialogRequest& request, const std::string& path) {
  std::vector<std::string> files{path};
  if (!request.companionExtension.empty())
    files.push_back(CompanionFile(path, request.defaultExtension, request.companionExtension));
  return files;
}

bool AskBeforeReplacing(const FileDialogRequest& request, const std::string& path,
                        const std::string& askedByChooser, std::string& question) {
  question.clear();
  if (request.kind != FileDialogKind::Save) return false;
  const std::string asked =
      askedByChooser.empty() ? "" : MapPath(InDialogFolder(request, askedByChooser));
  // Named as the write will find them, which may differ in case from the typed name.
  std::vector<std::string> replaced;
  for (const std::string& written : FilesWritten(request, path))
    if (IsFile(written) && MapPath(written) != asked)
      replaced.push_back(LastPart(MapPath(written)));
  if (replaced.empty()) return false;
  // A save writes two files at most.
  question = replaced.size() == 1 ? "The file \"" + replaced[0] + "\" exists. Replace it?"
                                  : "The files \"" + replaced[0] + "\" and \"" + replaced[1] +
                                        "\" exist. Replace them?";
  return true;
}

}  // namespace platform
