#include "platform/file_dialog.h"

#include <sys/stat.h>

#include "platform/files.h"

namespace platform {

namespace {

struct stat StatOf(const std::string& path, bool& there) {
  struct stat st {};
  there = stat(MapPath(path).c_str(), &st) == 0;
  return st;
}

// A file the engine can open: a folder of that name will not do.
bool IsFile(const std::string& path) {
  bool there = false;
  struct stat st = StatOf(path, there);
  return there && S_ISREG(st.st_mode);
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

bool ResolveDialogAnswer(const FileDialogRequest& request, const std::string& answer,
                         std::string& path, std::string& refusal) {
  refusal.clear();
  if (answer.empty()) {
    refusal = "No file name was given.";
    return false;
  }
  bool opening = request.kind == FileDialogKind::Open;
  if (!opening && NamesAFolder(answer)) {
    refusal = "\"" + answer + "\" names a folder, not a file.";
    return false;
  }
  std::string given = answer;
  if (given[0] != '/' && !request.initialDirectory.empty()) given = request.initialDirectory + "/" + given;
  std::string withExtension = given;
  std::string shown = answer;
  const std::string& extension = request.defaultExtension;
  if (!extension.empty() && (request.extensionRequired || !HasExtension(answer))) {
    withExtension = WithExtension(given, extension);
    shown = WithExtension(answer, extension);
  }
  if (opening) {
    if (!IsFile(withExtension) && IsFile(given)) {
      path = given;
      return true;
    }
    if (!request.mustExist || IsFile(withExtension)) {
      path = withExtension;
      return true;
    }
    refusal = "The file \"" + shown + "\" does not exist.";
    return false;
  }
  // A save writes plain files only; a folder or the like of a written name stays as it is.
  for (const std::string& written : FilesWritten(request, withExtension)) {
    bool there = false;
    struct stat st = StatOf(written, there);
    if (there && !S_ISREG(st.st_mode)) {
      refusal = "\"" + LastPart(MapPath(written)) + "\" is " +
                (S_ISDIR(st.st_mode) ? "a folder, not a file." : "not a plain file.");
      return false;
    }
  }
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
  const std::string asked = askedByChooser.empty() ? "" : MapPath(askedByChooser);
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
