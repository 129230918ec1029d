// Whose a file or a folder is, and whether this user may replace files there: what a refused
// save tells the player, and what a save dialog tells before it asks to replace a file.
#pragma once

#include <sys/types.h>

#include <cerrno>
#include <string>
#include <vector>

namespace platform {

// True for an error that no wait clears: a permission only another user can give.
inline bool IsPermission(int error) { return error == EACCES || error == EPERM; }

// Whether user could replace the file called name in folder, given the folder may be written:
// in one with the sticky bit only the file's owner or the folder's may.
bool CouldReplace(const std::string& folder, uid_t user, const std::string& name);
// True for a name (a Windows-style name is mapped) that holds a file of another user's.
bool IsAnotherUsersFile(const std::string& name);

// The file or folder at path in words: whose it is ("yours", or its owner's), that it `is` so,
// and what the player can do: make it `may` where it is theirs, else go `elsewhere`, or where
// nothing is to be saved, ask its owner.
std::string Whose(const std::string& path, const std::string& is, const std::string& may,
                  const std::string& elsewhere);
// 0 where this user may replace the files (Windows-style names are mapped; all in one folder),
// listing their folder and, where locking, opening its lock file; else why not: ENOTDIR where
// the folder is none, EINVAL where the lock file's name holds no plain file, or a permission;
// but for ENOTDIR, with in words whose folder or file keeps them from it and what they can do.
int NotReplaceable(const std::vector<std::string>& files, std::string& words, bool locking = true);

}  // namespace platform
