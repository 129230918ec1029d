// Files under Windows-style names: "\BITMAPS\Hero.bmp" and "Sounds\boom.wav" are mapped
// to Linux paths, backslashes becoming slashes and each component that does not match
// exactly being looked up case-insensitively in its folder.
#pragma once

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

// The file (a Windows-style name is mapped) open for reading in binary, or null. A folder,
// a pipe or a device is refused just as a missing file is, and the open never waits for a
// writer: every file whose name comes from outside is read through here.
std::FILE* OpenFileForReading(const std::string& name);
// The whole file that OpenFileForReading opens; false when it does not open or a read fails.
bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& bytes);
// True for a file that OpenFileForReading opens.
bool FileExists(const std::string& name);
// True for a folder (or a link to one).
bool FolderExists(const std::string& name);
// Copies source over target (replacing it); false on any failure.
bool CopyFile(const std::string& source, const std::string& target);
// Deletes the file; false when it was not there or could not be deleted.
bool DeleteFile(const std::string& name);
// Renames source to target, replacing target.
bool RenameFile(const std::string& source, const std::string& target);

// The name ending in "." + extension, in any case: as given, or with it added ("v1.2"
// becomes "v1.2.rep").
std::string WithExtension(const std::string& name, const std::string& extension);
// The file kept beside name with another extension: one ending in "." + extension (any
// case) has it replaced by "." + companion ("x.rep" beside "x.sar"); any other name keeps
// its whole self with "." + companion added ("b.r" beside "b.r.sar").
std::string CompanionFile(const std::string& name, const std::string& extension,
                          const std::string& companion);

// A new empty file in the folder of target, under a short name of its own whatever the
// length of target's, made to take what will replace target; "" when the folder takes no
// new file.
std::string CreateTemporaryBeside(const std::string& target);
// Puts every temporary (first) in place of its target (second), all of them or none: when
// one cannot be put in place, each target is left as it was. The temporaries are gone
// either way.
bool ReplaceFilesTogether(const std::vector<std::pair<std::string, std::string>>& moves);

}  // namespace platform
