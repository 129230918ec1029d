// Files under Windows-style names: "\BITMAPS\Hero.bmp" and "Sounds\boom.wav" are mapped
// to Linux paths, backslashes becoming slashes and each component that does not match
// exactly being looked up case-insensitively in its folder.
#pragma once

#include <string>

namespace platform {

// The process's current directory, without a trailing separator.
std::string CurrentDirectory();
bool SetCurrentDirectory(const std::string& path);

// The Linux path for a Windows-style name; components that exist nowhere are kept as given.
std::string MapPath(const std::string& name);

bool FileExists(const std::string& name);
// Copies source over target (replacing it); false on any failure.
bool CopyFile(const std::string& source, const std::string& target);
// Deletes the file; false when it was not there or could not be deleted.
bool DeleteFile(const std::string& name);
// Renames source to target, replacing target.
bool RenameFile(const std::string& source, const std::string& target);

}  // namespace platform
