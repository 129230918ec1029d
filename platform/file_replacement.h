// The durable save: files replaced so that each of their names shows the earlier file or
// the new one, whole, at every instant.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

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
