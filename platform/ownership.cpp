#include "platform/ownership.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/file_io.h"
#include "platform/files.h"
#include "platform/save_names.h"

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

namespace {

std::string KindOfFile(mode_t mode) {
  return S_ISDIR(mode)    ? "a folder"
         : S_ISLNK(mode)  ? "a symbolic link"
         : S_ISFIFO(mode) ? "a named pipe"
         : S_ISSOCK(mode) ? "a socket"
                          : "a device";
}

}  // namespace

int NotReplaceable(const std::vector<std::string>& files, std::string& words, bool locking) {
  for (const std::string& file : files) {
    const std::string path = MapPath(file), folder = FolderOf(path),
                      lock = InFolder(folder, save_names::FolderLockName());
    if (!CouldReplace(folder, geteuid(), NameOf(path))) {
      words = "the file " + Whose(path, "may be replaced only by its owner in this shared folder",
                                  "", "save under another name");
      return EPERM;
    }
    struct stat st;
    if (stat(folder.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) return ENOTDIR;
    // A save writes its folder and lists it, and locks it through the lock file there, if any.
    const struct {
      const std::string& at;
      int access;
      const char *what, *is, *may;
    } needs[] = {{folder, W_OK | X_OK, "its folder ", "may not be written", "writable"},
                 {folder, R_OK, "its folder ", "cannot be listed", "readable"},
                 {lock, W_OK, "its lock file ", "cannot be opened for writing", "writable"}};
    for (size_t i = 0; i < (locking ? 3 : 2); ++i) {
      // Whatever else stands at the lock file's name keeps every save out until it goes.
      if (i == 2 && lstat(lock.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        const std::string owner = UserName(st.st_uid);
        words = "its lock file \"" + lock + "\", " +
                (st.st_uid == geteuid() ? "yours" : owner + "'s") + ", is " +
                KindOfFile(st.st_mode) + ", not a plain file: " +
                (CouldReplace(folder, geteuid(), NameOf(lock)) ? "remove it"
                                                               : "ask " + owner + " to remove it") +
                ", or save in another folder";
        return EINVAL;
      }
      const int error =
          faccessat(AT_FDCWD, needs[i].at.c_str(), needs[i].access, AT_EACCESS) ? errno : 0;
      if (!IsPermission(error)) continue;
      words = needs[i].what + Whose(needs[i].at,
                                    needs[i].is + std::string(" (") + std::strerror(error) + ")",
                                    needs[i].may, "save in another folder");
      return error;
    }
  }
  return 0;
}

}  // namespace platform
