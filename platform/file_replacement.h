// The durable save: files replaced so that each of their names shows the earlier file or
// the new one, whole, at every instant, a failure, a kill or a power loss included; and a
// save of several files (a replay beside its start state) shows all of its earlier files or
// all of its new ones once anything has settled it.
//
// The steps of a save:
//   1. Refuse what this user may not replace (ownership.h). Hold the folder: the lock on its
//      lock file (lock_file.h), so that no other game saves, settles or reads a pair there
//      meanwhile; another game's save is waited for a few seconds. Where no lock can be
//      had, nothing is done and the save says why.
//   2. Settle each record this user's saves left in the folder (step 5): its names brought
//      to all its new files or all its earlier ones, as proven below, the folder flushed
//      [barrier], the record and then its hidden files removed, the folder flushed again
//      [barrier]. One that cannot be settled stays and holds back the files it names; one
//      settled but not removed fails the save. This user's hidden files that no staying
//      record names go, and so does the lock file of a game that ran here and is gone.
//   3. Refuse a target that a record holds back (unless the save replaces every file that
//      record names), before anything is written.
//   4. Write each new file whole into a hidden file beside its target, with the earlier
//      file's permissions, and flush it.                                          [barrier]
//   5. Several files only: a record (with a checksum of its own) names every target and
//      tells each new and earlier file by its size and a checksum of its bytes, never by a
//      number a copy or a remount would change (read again where another program replaces
//      it meanwhile, waited for a few seconds where another program holds it open); it is
//      written and flushed. Each earlier file is kept under a hidden name (the very file, else
//      a flushed copy); the folder is flushed.                                    [barrier]
//   6. Rename each new file over its target; the first rename is the commit point. Where a
//      rename fails, the new files not yet placed go (or are cut to nothing), so that no
//      settle finishes the save, then the earlier files go back; where that fails too, the
//      save says which names hold their new files now.
//   7. Flush the folder: the new names are on the disk.                          [barrier]
//   8. Remove the record, then the kept files; then, where this user may, the records of
//      step 3 that the save replaced, each before its hidden files. A game stopped on the way
//      leaves hidden files no record names, which the next settle clears.
// A barrier that fails fails the save with the system's reason: before step 6 nothing the
// player sees has changed; after it the names hold the new files, which a power loss may
// yet undo. A file system that cannot flush a folder at all fails nothing.
//
// Settling: a look at a name tells that it holds a file of the save, that it does not, or that
// it cannot (then nothing of that save changes), reading a file again only once its identity,
// size or times have changed. Where some names hold their new files and each other its earlier
// one, its new file still beside it, the save is finished; else each name holding its new file
// gets its earlier one back (or goes, where none stood). Where a name holds neither, others saved
// there since and nothing is applied. A record without a checksum (of the version before) is
// acted on only where the folder is what its own save, stopped after one of its steps (its
// failure's included), leaves, and goes where its save left no hidden file; else it holds its
// pair back as damaged. A record listed but not looked at or read holds back what it may name;
// one read whole but damaged goes only where its save renamed nothing or left no hidden file.
// No record changes a pair another holds back, one that would go included. Only the game's own
// hidden files, of the current shape (save_names.h), are acted on; another user's record
// counts only for names its writer could have changed.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/lock_file.h"

namespace platform {

// Errno values of the save path's own:
constexpr int kFolderBusy = -1;     // another game held the folder for the whole wait
constexpr int kGivenUp = -2;        // the player asked the game to end while it waited
constexpr int kLockInUse = -3;      // another program held the lock file open for the whole wait
constexpr int kKeepsChanging = -4;  // another program replaced a file each time it was read
constexpr int kFileInUse = -5;      // another program held a file replaced open for the whole wait
// The largest file a save writes, and the most files one save writes.
constexpr uint64_t kLargestSavedFile = uint64_t{256} << 20;
constexpr size_t kMostSavedFiles = 2;

// The system's words for an errno value, or the game's own for the save path's. EAGAIN, as
// the game opens files without waiting, is another program holding the file open.
std::string ErrorText(int error);

// Why a file, one of a save a game left half way, is held back.
struct HeldBack {
  enum Kind {
    kNone,          // nothing holds it back
    kFolderLocked,  // its folder may not be locked or changed here (error says why)
    kAnotherUsers,  // another user's save, which only their game may finish
    kCannotTell,    // what its names hold cannot be told now (error says why)
    kLaterVersion,  // a later version of the game wrote it, and finishes it
    kDamaged,       // what tells how to finish it cannot be read whole, or is no record
    kNotFinished,   // finishing it failed here (error says why), or nothing can (0)
    kBeingSaved,    // read without the folder's lock, it changed as it was read (or error)
  };
  Kind kind = kNone;
  int error = 0;
  bool replaceable = false;  // this user's save of the files asked about would replace it
  std::string writer = "";   // whose save it is, where another user's
};

struct SavedRecord;

// The folder of a file, held still for as long as this lives. Where no lock can be had (no
// lock service, a read-only disk, a folder this user may not write), the folder is only read,
// nothing in it changes, and every file a record names is held back.
class SettledFolder {
 public:
  // Holds the folder of file (a Windows-style name is mapped), step 1 above, lists the records
  // of saves left half way there and, where it is held, settles them, step 2.
  static std::unique_ptr<SettledFolder> Hold(const std::string& file);
  ~SettledFolder();

  // 0 where the folder's files can be read as they are; else why not: kFolderBusy, kGivenUp,
  // kLockInUse, or an errno value (the folder could not be listed).
  int Refused() const { return refused_; }
  // 0 where a save may go on here; else why not.
  int CannotSave() const { return refused_ ? refused_ : lockError_ ? lockError_ : unremoved_; }
  // CannotSave() in words, with what the player can do (saving there, or only reading).
  std::string RefusalText(bool saving) const;
  // Why any of files (Windows-style names are mapped) is held back by a record that counts
  // for it (another user's only where its writer could change it), kind kNone if none is; for
  // a save (replaced given), a record whose every file it replaces is added there instead.
  HeldBack WhyHeldBack(const std::vector<std::string>& files,
                       std::vector<const SavedRecord*>* replaced = nullptr);
  // Reads file whole as ReadWholeFile does; read without the folder's lock (none can be had),
  // files count only once Confirmed: kBeingSaved where a name no longer shows the very file
  // read, or a record that counts for it (as WhyHeldBack has them) is there by now.
  bool Read(const std::string& file, std::vector<uint8_t>& bytes, uint64_t maxBytes);
  HeldBack Confirmed();

 private:
  friend class FileReplacement;  // whose save is made in the folder held
  explicit SettledFolder(const std::string& file);
  void Settle();
  // Why record's files are held back now (kind kNone where nothing holds them): its verdict,
  // reached once, as the first call reads and judges it; for this user's, as Settle left it.
  const HeldBack& HeldBy(SavedRecord& record);
  bool Shares(const SavedRecord& record, const SavedRecord& other) const;
  bool CouldHaveChanged(const SavedRecord& record, const std::string& name) const;
  int ListRecords(std::vector<SavedRecord>& records,
                  std::vector<std::string>* hidden = nullptr) const;

  std::string folder_;
  std::unique_ptr<LockFile> lock_;
  int refused_ = 0, lockError_ = 0, unremoved_ = 0;
  // The records listed, each with why it holds its files back; and what Read read.
  std::vector<SavedRecord> records_;
  std::vector<std::pair<std::string, struct stat>> read_;
};

class FileReplacement {
 public:
  // Adds target (a Windows-style name is mapped) with these bytes, to be written by Commit.
  // Every target of one save is in one folder.
  void Write(const std::string& target, std::vector<uint8_t> bytes);

  enum class Result {
    kReplaced,     // every name holds its new file, on the disk
    kNotDurable,   // every name holds its new file, which a power loss may yet undo
    kFailed,       // every name holds its earlier file
    kLeftHalfWay,  // failed with some names holding their new files (HoldingNew), which the
                   // next save in the folder settles
  };
  // kWhereAny: files of the game's own that no pair shares (its state files), saved without
  // the folder's lock where none can be had, as one file is replaced whole all the same.
  enum class Locking { kRequired, kWhereAny };
  // Carries the save out (see the steps above).
  Result Commit(Locking locking = Locking::kRequired);
  // Why the save failed or is not durable (an errno value, or the save path's own), 0
  // otherwise; and the same in words.
  int Error() const { return error_; }
  std::string ErrorText() const { return errorText_; }
  // After kLeftHalfWay: the targets that hold their new files now.
  const std::vector<std::string>& HoldingNew() const { return holdingNew_; }
  // Where a target is held back by a save a game left half way: why; kind kNone otherwise.
  const HeldBack& HeldBackBy() const { return heldBack_; }

 private:
  struct File {
    std::string target;
    std::vector<uint8_t> bytes;
  };
  Result Carry(SettledFolder& held, const std::vector<const SavedRecord*>& replaced);
  Result LeftHalfWay(const std::string& folder, const SavedRecord& save, size_t placed);

  std::vector<File> files_;
  int error_ = 0;
  std::string errorText_;
  std::vector<std::string> holdingNew_;
  HeldBack heldBack_;
};

}  // namespace platform
