#include "platform/file_dialog.h"

#include <sys/stat.h>

#include "platform/files.h"

namespace platform {

namespace {

// A file the engine can open: a folder of that name will not do.
bool IsFile(const std::string& path) {
  struct stat st;
  return stat(MapPath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool HasExtension(const std::string& name) {
  size_t slash = name.find_last_of("/\\");
  return name.find('.', slash == std::string::npos ? 0 : slash + 1) != std::string::npos;
}

}  // namespace

bool ResolveDialogAnswer(const FileDialogRequest& request, const std::string& answer,
                         std::string& path, std::string& refusal) {
  refusal.clear();
  if (answer.empty()) {
    refusal = "No file name was given.";
    return false;
  }
  std::string given = answer;
  if (given[0] != '/' && !request.initialDirectory.empty()) given = request.initialDirectory + "/" + given;
  std::string withExtension = given;
  std::string shown = answer;
  if (!request.defaultExtension.empty() && !HasExtension(answer)) {
    withExtension += "." + request.defaultExtension;
    shown += "." + request.defaultExtension;
  }
  bool opening = request.kind == FileDialogKind::Open;
  if (opening && !IsFile(withExtension) && IsFile(given)) {
    path = given;
    return true;
  }
  if (!opening || !request.mustExist || IsFile(withExtension)) {
    path = withExtension;
    return true;
  }
  refusal = "The file \"" + shown + "\" does not exist.";
  return false;
}

bool AskBeforeReplacing(const FileDialogRequest& request, const std::string& path,
                        std::string& question) {
  question.clear();
  // A folder of that name is not replaced but refused by the write, which says so itself.
  if (request.kind != FileDialogKind::Save || !IsFile(path)) return false;
  // The name the user typed may differ in case from the file the write will find.
  std::string written = MapPath(path);
  size_t slash = written.find_last_of('/');
  question = "The file \"" + written.substr(slash == std::string::npos ? 0 : slash + 1) +
             "\" exists. Replace it?";
  return true;
}

}  // namespace platform
