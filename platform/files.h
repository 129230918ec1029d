// Files under Windows-style names: "\BITMAPS\Hero.bmp" and "Sounds\boom.wav" are mapped
// to Linux paths, backslashes becoming slashes and each component that does not match
// exactly being looked up case-insensitively in its folder.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// The process's current directory, without a trailing separator.
std::string CurrentDirectory();
bool SetCurrentDirectory(const std::string& path);

// The Linux path for a Windows-style name; components that exist nowhere are kept as given.
std::string MapPath(const std::string& name);

// Opens the plain file at path as open does with flags (never making one, never taking a
// terminal, never waiting), or -1 with errno set. What is no plain file is refused from a look at
// its name (lstat where flags hold O_NOFOLLOW, else stat), never opened: EISDIR for a folder,
// ELOOP for a link, EINVAL for the rest; and so is one put there as the look and the open met,
// opened but never read. A plain file the open finds is opened, whichever file the look saw,
// and opened tells it. The game opens through here every file it reads or locks by name; not
// what it makes anew (O_EXCL), the folders it lists or flushes, /dev/null, nor the files a
// library opens itself (fonts, the sound font).
int OpenPlainFile(const std::string& path, int flags, struct stat* opened = nullptr);
// The file (a Windows-style name is mapped) open for reading in binary, or null (errno
// saying why). A folder, a pipe or a device is refused just as a missing file is (see
// OpenPlainFile), and so is a file of more than maxBytes; where opened is given, it tells the
// file opened. Every file whose name comes from outside is read through here.
std::FILE* OpenFileForReading(const std::string& name, uint64_t maxBytes = UINT64_MAX,
                              struct stat* opened = nullptr);
// The whole file that OpenFileForReading opens; false when it does not open, holds more
// than maxBytes (looked at before anything is allocated) or a read fails, memory running
// out included.
bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& bytes, uint64_t maxBytes,
                   struct stat* opened = nullptr);
// True for a file that OpenFileForReading opens.
bool FileExists(const std::string& name);
// True for a folder (or a link to one).
bool FolderExists(const std::string& name);
// Deletes the file; false when it was not there or could not be deleted.
bool DeleteFile(const std::string& name);

// The name ending in "." + extension, in any case: as given, or with it added ("v1.2"
// becomes "v1.2.rep").
std::string WithExtension(const std::string& name, const std::string& extension);
// The file kept beside name with another extension: one ending in "." + extension (any
// case) has it replaced by "." + companion ("x.rep" beside "x.sar"); any other name keeps
// its whole self with "." + companion added ("b.r" beside "b.r.sar").
std::string CompanionFile(const std::string& name, const std::string& extension,
                          const std::string& companion);

}  // namespace platform
