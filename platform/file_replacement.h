// The durable save: files replaced so that each of their names shows the earlier file or
// the new one, whole, at every instant, a failure, a kill or a power loss included.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Each new file is written in full to a temporary beside its target, which this game holds
// open and locked from Add to the end of the save. Commit flushes every temporary to disk
// with the earlier file's permissions, renames each over its target (one step that replaces
// the earlier file) one right after the other, and flushes the folders. Where one of several
// cannot be put in place, the targets replaced before it get their earlier files back, kept
// meanwhile whatever they are (a symbolic link stays a link) under hidden names of this
// user's that it can remove again. A save of several files in one folder writes a record of
// what it is about to do before its first rename, so that a save stopped half way, or whose
// putting back failed too, is finished or undone by the next save in that folder or the next
// read of its files (SettleInterruptedSaves). Temporaries that no running game holds any
// more are cleared by the next save in their folder.
class FileReplacement {
 public:
  FileReplacement() = default;
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  // Removes every temporary still there, unless a failed Commit left them for the next save
  // in the folder to settle.
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
    // The temporary's descriptors: one for writing until Commit, one that holds the lock.
    int writer = -1, held = -1;
    uint64_t inode = 0, earlierInode = 0;
    bool placed = false;
  };
  void Failed(int error);
  void KeepEarlierFiles();
  bool WriteRecord(const std::string& folder);
  void PutBack(size_t placed);
  void Release();

  std::vector<Entry> entries_;
  std::string record_;
  int recordDescriptor_ = -1;
  // Set where putting back failed: the record, the kept files and the temporaries not yet
  // placed stay for the next save in the folder.
  bool stranded_ = false;
  int error_ = 0;
};

// Finishes or undoes every save of several files, in the folder of file (a Windows-style
// name is mapped), that a game stopped half way and no running game holds, so that each of
// its names shows its earlier file or its new one, all of the same save; clears the
// temporaries that no running game holds. False where a save could not be settled yet (it
// is tried again the next time).
bool SettleInterruptedSaves(const std::string& file);

}  // namespace platform
