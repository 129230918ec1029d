// The durable save: files replaced so that each of their names shows the earlier file or
// the new one, whole, at every instant, a failure, a kill or a power loss included; and a
// save of several files (a replay beside its start state) shows all of its earlier files or
// all of its new ones once anything has settled it.
//
// The steps of a save, all of them while this game holds its folder's lock (no other game
// saves there, settles there or reads a pair there meanwhile):
//   1. Settle: every save in the folder that a game left half way is finished or undone (see
//      SettledFolder), and the hidden files of saves that no game is making any more go.
//   2. Write: each new file is written whole into a hidden temporary beside its target with
//      the earlier file's permissions, then flushed to the disk.                [barrier]
//   3. Keep (several files only): a record names every target, temporary and kept file, and
//      tells each file by what it holds (its size and a checksum of its bytes), never by a
//      number a remount or a copy would change. Then each earlier file is kept under a
//      hidden name, to be put back by one rename. Record and kept files are flushed,
//      and so is the folder.                                                      [barrier]
//   4. Rename each temporary over its target, one step that replaces the earlier file.
//      The first rename is the commit point: a game stopped before it changed no name the
//      player sees; one stopped after it is finished by the next settle, which renames the
//      temporaries still there over names that still hold their earlier files.
//      Where a rename fails, the temporaries not yet placed are removed first (so that no
//      settle can finish a save the player is told failed) and the earlier files are put
//      back; what cannot be put back now the next settle puts back.
//   5. Flush the folder: the new names are on the disk.                          [barrier]
//   6. Remove the kept files, then the record.
// A barrier that fails fails the save with the system's reason: before step 4 nothing the
// player sees has changed; after it the names hold the new files, which a power loss may
// yet undo. A file system that cannot flush a folder at all fails nothing.
//
// The folder's lock is a hidden lock file there, locked with flock through a descriptor
// open for writing, as NFS asks; nothing is written through it, so an SMB share's locks,
// which bar other descriptors' writes, bar nothing the save does. Where the file system has
// no locks at all, the lock file's being there is the lock, and one left untouched for two
// minutes was left by a game that stopped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Why a save or a read could not go on while another game saves in the same folder (an
// errno value of its own kind): it waited a few seconds for the other game first.
constexpr int kFolderBusy = -1;

// The system's words for an errno value, or the game's own for kFolderBusy.
std::string ErrorText(int error);

// True for a name of the kind the game gives its own hidden files beside a save, which no
// save may take, so that nothing the player names is ever taken for one of them.
bool IsSaveWorkName(const std::string& name);

class FileReplacement {
 public:
  FileReplacement() = default;
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Adds target (a Windows-style name is mapped) with these bytes, to be written by Commit.
  // Every target of one save is in one folder.
  void Write(const std::string& target, std::vector<uint8_t> bytes);

  enum class Result {
    kReplaced,     // every name holds its new file, on the disk
    kNotDurable,   // every name holds its new file, which a power loss may yet undo
    kFailed,       // every name holds its earlier file
    kPutBackLater  // failed; names that still hold a new file get their earlier one back
                   // from the next save in the folder or the next read of the pair
  };
  // Carries the save out (see the steps above).
  Result Commit();
  // Why the save failed or is not durable, as an errno value (or kFolderBusy); 0 otherwise.
  int Error() const { return error_; }

 private:
  struct File {
    std::string target;
    std::vector<uint8_t> bytes;
  };
  std::vector<File> files_;
  int error_ = 0;
};

// The folder of file (a Windows-style name is mapped) held still for as long as this lives:
// no other game saves there meanwhile (a save going on is waited for, a few seconds at
// most), and every save there that a game left half way has been finished or undone where
// this user may, so that the files of one save read as one whole.
class SettledFolder {
 public:
  explicit SettledFolder(const std::string& file);
  ~SettledFolder();
  SettledFolder(const SettledFolder&) = delete;
  SettledFolder& operator=(const SettledFolder&) = delete;

  // kFolderBusy where another game's save did not end in time; 0 otherwise.
  int Busy() const { return busy_ ? kFolderBusy : 0; }
  // False where a save left half way names file and its names could not be made whole
  // here; why (an errno value) then.
  bool Whole(const std::string& file, int& why) const;

 private:
  std::string folder_;
  int lock_ = -1;
  bool locked_ = false, busy_ = false;
  // A save left half way that stays unsettled: its record, the names it changes, and why
  // it stays. Where this game may not act on it, whether its names are whole all the same
  // is looked at only once a read asks (looked).
  struct Unsettled {
    std::string record;
    std::vector<std::string> targets;
    int why;
    bool looked;
  };
  mutable std::vector<Unsettled> unsettled_;
  friend class FileReplacement;
};

}  // namespace platform
