// The one kind of lock the game takes, on whatever it locks (a folder while a save is made
// there, the folder a game runs in, the single copy of the game): a write lock of the whole
// lock file that belongs to the open that took it (an open file description lock), so no other
// open or close of that file, under any name, lets go of it. A network file system hands it to
// its server, as it does the record locks of earlier versions, which it meets as its own; it
// goes the moment its process ends, however it ends; and no child the process starts keeps it.
//
// A missing lock file is made. Once held, one under a single name holds the holder's note and,
// where this user's, the lock's permissions. Only its holder removes it, as they let go; one
// made where no lock can be had stays, empty. A lock on a file no longer at its name, or no
// longer in its folder, is taken again: at once a few times, then as a busy one is waited for;
// so is one another program holds open against it for a moment (a lease, as a file server takes).
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace platform {

// What the program does while a save waits in its folder: the handler is called with kBegins,
// with kGoesOn every few hundredths of a second, and with kEnds once it is over, each time with
// what it waits for, and answers false where the wait is to be given up (the player asked the
// game to end). One serves the program.
enum class FolderWait { kBegins, kGoesOn, kEnds };
enum class WaitingFor {
  kAnotherGame,     // another game's save in the folder
  kAnotherProgram,  // another program holding a file there open against the game for a moment
};
void SetFolderWaitHandler(std::function<bool(FolderWait, WaitingFor)> handler);
// Calls the handler, where there is one: whether to go on waiting.
bool TellFolderWait(FolderWait step, WaitingFor what = WaitingFor::kAnotherGame);

// A wait of a few seconds at most in all, told to the handler as it goes.
class FolderWaitTurns {
 public:
  explicit FolderWaitTurns(bool fewSeconds = true);
  // Tells the handler the wait is over, where one began.
  ~FolderWaitTurns();
  FolderWaitTurns(const FolderWaitTurns&) = delete;
  FolderWaitTurns& operator=(const FolderWaitTurns&) = delete;
  // Waits a moment more for what, telling the handler first; false, at once, once the few
  // seconds are over or the handler gave the wait up (GivenUp()).
  bool More(WaitingFor what);
  bool GivenUp() const { return givenUp_; }

 private:
  std::chrono::steady_clock::time_point until_;
  bool begun_ = false, givenUp_ = false;
};

class LockFile {
 public:
  enum class Wait { kNone, kFewSeconds };
  // Takes the lock on the file at path, waiting for another holder as asked; a file made for
  // it has the given permissions (readable and writable by all unless one user's alone).
  LockFile(std::string path, Wait wait, mode_t mode = 0666, std::string note = "");
  // Removes the file where it is still the one locked and this user may, and lets go.
  ~LockFile();
  LockFile(const LockFile&) = delete;
  LockFile& operator=(const LockFile&) = delete;

  enum class State {
    kHeld,
    kBusy,     // another game held it for the whole wait
    kGivenUp,  // the wait was given up
    kInUse,    // another program held the file open against it for the whole wait
    kNone      // no lock can be had through this file; Error() says why
  };
  State Taken() const { return state_; }
  // Why none: ENOLCK where the file system has no locks, else why the file could not be
  // opened for writing or locked.
  int Error() const { return error_; }
  // Where another holds it: the note its file holds ("" where none).
  const std::string& HolderNote() const { return holderNote_; }

 private:
  std::optional<State> TryOnce();

  std::string path_, note_, holderNote_;
  mode_t mode_;
  State state_ = State::kNone;
  int fd_ = -1;
  int error_ = 0;
};

}  // namespace platform
