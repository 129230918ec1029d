// The durable save: files replaced so that each of their names shows the earlier file or
// the new one, whole, at every instant, a failure, a kill or a power loss included; and a
// save of several files (a replay beside its start state) shows all of its earlier files or
// all of its new ones once anything has settled it.
//
// The steps of a save, every one of them while this game holds its folder's lock
// (folder_lock.h), so that no other game saves there, settles there or reads a pair there
// meanwhile; where no lock of any kind can be had, nothing is done and the save says why:
//   1. Settle: every save in the folder that a game left half way is finished or undone (see
//      SettledFolder), and the hidden files of saves that no game is making any more go.
//   2. Write: each new file is written whole into a hidden file of its own beside its target,
//      with the earlier file's permissions, then flushed to the disk.            [barrier]
//   3. Keep (several files only): a record names every target, new file and kept file, and
//      tells each file by what it holds (its size and a checksum of its bytes), never by a
//      number a remount or a copy would change. Then each earlier file is kept under a
//      hidden name, to be put back by one rename. Record and kept files are flushed,
//      and so is the folder.                                                      [barrier]
//   4. Rename each new file over its target, one step that replaces the earlier file.
//      The first rename is the commit point: a game stopped before it changed no name the
//      player sees; one stopped after it is finished by the next settle, which renames the
//      new files still there over names that still hold their earlier files.
//      Where a rename fails, the new files not yet placed are removed first (so that no
//      settle can finish a save the player is told failed) and the earlier files are put
//      back, a new file that stood where none did removed; what cannot be undone now the
//      next settle undoes.
//   5. Flush the folder: the new names are on the disk.                          [barrier]
//   6. Remove the kept files, then the record.
// A barrier that fails fails the save with the system's reason: before step 4 nothing the
// player sees has changed; after it the names hold the new files, which a power loss may
// yet undo. A file system that cannot flush a folder at all fails nothing.
//
// A record is the only thing that can make a pair whole again, so it goes only once its save
// is settled or once it has been read whole and found to be no record; one that cannot be
// read now, or that a later version wrote, stays, and the pairs it may name are not played
// meanwhile. It counts only for names its writer could have changed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/folder_lock.h"

namespace platform {

// Why a save or a read could not go on while another game holds the same folder (an errno
// value of the save path's own): it waited a few seconds first.
constexpr int kFolderBusy = -1;
// Why a save stopped before it changed anything: another game took the folder over, having
// found this game's claim on it untouched for two minutes (a game stopped half way).
constexpr int kFolderLost = -2;

// The largest file a save writes; a file of a save is told apart from others with no more
// reading than that.
constexpr uint64_t kLargestSavedFile = uint64_t{256} << 20;

// The system's words for an errno value, or the game's own for the save path's.
std::string ErrorText(int error);

// True for a name of the kind the game gives its own hidden files beside a save, which no
// save may take.
bool IsSaveWorkName(const std::string& name);

// Why the names of a save that a game left half way are not whole here.
struct Interrupted {
  enum Kind {
    kNone,          // whole, or no such save names the file
    kFolderLocked,  // this game may not change the folder (error says why)
    kAnotherUsers,  // another user's save, which only their game may finish
    kUnreadable,    // what would finish it cannot be read now (error says why)
    kLaterVersion,  // a later version of the game wrote it, and finishes it
    kNotFinished,   // finishing it failed here (error says why)
  };
  Kind kind = kNone;
  int error = 0;
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

  // 0 where this game holds the folder; kFolderBusy where another game held it for the
  // whole wait; else why (an errno value) no lock could be had here.
  int Refused() const { return refused_; }
  // The reason in words: who holds the folder and, where not known to be running, until when.
  std::string RefusalText() const;
  // Why the save of file, left half way, is not whole here; kind kNone where it is.
  Interrupted Whole(const std::string& file) const;

 private:
  std::string folder_;
  FolderLock lock_;
  int refused_ = 0;
  bool acts_ = false;
  // A save left half way that stays unsettled: who wrote its record, what it says where it
  // could be read, and why its names stay as they are. Where this game may not act on it,
  // whether its names are whole all the same is looked at only once a read asks (looked).
  struct Pending;
  mutable std::vector<Pending> pending_;
  friend class FileReplacement;
};

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
  // Why the save failed or is not durable, as an errno value (or the save path's own); 0
  // otherwise.
  int Error() const { return error_; }
  // The same in words.
  std::string ErrorText() const { return errorText_; }

 private:
  struct File {
    std::string target;
    std::vector<uint8_t> bytes;
  };
  std::vector<File> files_;
  int error_ = 0;
  std::string errorText_;
};

}  // namespace platform
