#include "platform/ownership.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/file_io.h"
#include "platform/files.h"

namespace platform {

bool CouldReplace(const std::string& folder, uid_t user, const std::string& name) {
  struct stat f, n;
  if (stat(folder.c_str(), &f) != 0 || !(f.st_mode & S_ISVTX) || f.st_uid == user) return true;
  return lstat(InFolder(folder, name).c_str(), &n) != 0 || n.st_uid == user;
}

bool IsAnotherUsersFile(const std::string& name) {
  struct stat st;
  return lstat(MapPath(name).c_str(), &st) == 0 && st.st_uid != geteuid();
}

std::string Whose(const std::string& path, const std::string& is, const std::string& may,
                  const std::string& elsewhere) {
  struct stat st;
  const bool known = lstat(path.c_str(), &st) == 0, mine = known && st.st_uid == geteuid();
  const std::string owner = known ? UserName(st.st_uid) : "its owner";
  return "\"" + path + "\", " + (mine ? "yours" : owner + "'s") + ", " + is + ": " +
         (mine                ? "make it " + may + (elsewhere.empty() ? "" : ", or " + elsewhere)
          : elsewhere.empty() ? "ask " + owner + " to let you"
                              : elsewhere);
}

int NotReplaceable(const std::vector<std::string>& files, std::string& words) {
  for (const std::string& file : files) {
    const std::string path = MapPath(file), folder = FolderOf(path);
    if (!CouldReplace(folder, geteuid(), NameOf(path))) {
      words = "the file " + Whose(path, "may be replaced only by its owner in this shared folder",
                                  "", "save under another name");
      return EPERM;
    }
    const int error = faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) ? errno : 0;
    if (IsPermission(error)) {
      words = "its folder " +
              Whose(folder, std::string("may not be written (") + std::strerror(error) + ")",
                    "writable", "save in another folder");
      return error;
    }
  }
  return 0;
}

}  // namespace platform
