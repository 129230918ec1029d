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
// a pipe or a device is refused just as a missing file is, and so is a file of more than
// maxBytes; the open never waits for a writer. Every file whose name comes from outside is
// read through here.
std::FILE* OpenFileForReading(const std::string& name, uint64_t maxBytes = UINT64_MAX);
// The whole file that OpenFileForReading opens; false when it does not open, holds more
// than maxBytes (looked at before anything is allocated) or a read fails, memory running
// out included.
bool ReadWholeFile(const std::string& name, std::vector<uint8_t>& bytes, uint64_t maxBytes);
// True for a file that OpenFileForReading opens.
bool FileExists(const std::string& name);
// True for a folder (or a link to one).
bool FolderExists(const std::string& name);
// Copies source (of at most maxBytes) over target as a FileReplacement does; false on any
// failure, which leaves target as it was.
bool CopyFile(const std::string& source, const std::string& target, uint64_t maxBytes);
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

// Files saved so that each of their names shows the earlier file or the new one, whole,
// at every instant, a crash or a power loss included. Each new file is written in full to a
// temporary beside its target; Commit flushes every temporary to disk with the earlier
// file's permissions, renames each over its target (one step that replaces the earlier
// file) one right after the other, and flushes the folders. Where one of several cannot be
// put in place, the targets replaced before it get their earlier files back (kept under
// hard links meanwhile, or as copies where the file system has no links). Temporaries
// that a save killed half way left behind are cleared by the next save in their folder.
class FileReplacement {
 public:
  FileReplacement() = default;
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  // Removes every temporary still there.
  ~FileReplacement();

  // A new empty file beside target (a Windows-style name is mapped), under a short name of
  // its own whatever the length of target's, to be written in full by the caller; "" when
  // the folder takes no new file.
  std::string Add(const std::string& target);
  // Adds target with these bytes written into its temporary.
  bool Write(const std::string& target, const std::vector<uint8_t>& bytes);
  // Marks the save failed because a write into a temporary failed just now (errno says why).
  void Fail();
  // Puts every temporary in place, all of them or none; false when anything failed.
  bool Commit();
  // Why the save failed, as an errno value; 0 while nothing failed.
  int Error() const { return error_; }

 private:
  struct Entry {
    std::string temporary, target, kept;
  };
  void Failed(int error);
  void RemoveTemporaries();

  std::vector<Entry> entries_;
  int error_ = 0;
};

}  // namespace platform
