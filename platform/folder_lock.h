// The lock a game holds on a folder: while it saves there (no other game saves, settles or
// reads a pair there meanwhile), or for its whole run on the folder it runs in (no other game
// uses the state files it keeps there).
//
// Two kinds, each read apart in folder_lock.cpp, each with its promise:
// - The system's lock (flock). Held while this game's process lives, running or stopped, and
//   let go by the system the moment the process ends, however it ends: a game gone is known
//   to be gone at once. A save takes it on the folder itself, so nothing is made for it and
//   no file of anyone's can stand in its way; a run takes it on a lock file in its folder
//   that any user may open and lock, and removes it as it ends.
// - A claim, where the system's lock cannot be had here (a network share without a lock
//   service, a folder the user may not read, a run's lock file this user may not lock): a
//   hidden file of this game's own saying which process on which machine made it. A game
//   holds the folder once it has made its claim and then seen no other live claim there; two
//   games that meet both withdraw and try again a moment later, so two waiters never both
//   win, and nobody ever removes a live claim to win. A claim is touched every few seconds
//   while it is held, however long a step of its save takes. A claim was left by a game that
//   is gone when that process, on this machine, is no more (seen at once, by its process id
//   and the time it started), or, made on another machine or out of this game's sight, when
//   it has gone two minutes untouched by the clock of the disk that holds it. A claim of a
//   game gone is passed over (and removed where this user may), so it never blocks the folder.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

// What the program does while a save waits for another game's save in the same folder: the
// handler is called with kBegins as the wait begins, with kGoesOn every few hundredths of a
// second while it lasts, and with kEnds once it is over (the folder had, or given up). One
// handler serves the whole program; without one the wait is only a wait.
enum class FolderWait { kBegins, kGoesOn, kEnds };
void SetFolderWaitHandler(std::function<void(FolderWait)> handler);
// Calls the handler, where there is one.
void TellFolderWait(FolderWait step);

// Whether name is that of the lock file a run takes in its folder (see kRun below).
bool IsRunLockName(const std::string& name);
// Removes the run's lock file in folder where no running game holds it: one a game left as
// it was killed.
void RemoveAbandonedRunLock(const std::string& folder);

class FolderLock {
 public:
  enum class Use {
    kSave,  // waits a few seconds for another game's save
    kRun    // does not wait
  };
  FolderLock(const std::string& folder, Use use);
  // Lets go.
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  enum class State {
    kHeld,
    kHeldElsewhere,  // another game held it for the whole wait
    kUnavailable     // no lock of either kind can be had here; Error() says why
  };
  State Taken() const { return state_; }
  int Error() const { return error_; }
  // Where held elsewhere: true where the holder is known to be a game that is running; else
  // the calendar second from which the folder is free again if that game has stopped.
  bool HolderRunning() const { return holderRunning_; }
  int64_t FreeFrom() const { return freeFrom_; }
  // Whether this game holds it still: a claim left two minutes untouched by a game that was
  // stopped is passed over by others as abandoned.
  bool StillHeld() const;

 private:
  enum class Try { kHeld, kBusy, kNoSystemLock, kFailed };
  Try TryFolder();
  Try TryRunFile();
  Try TryClaim();

  class Toucher;
  std::string folder_;
  Use use_;
  State state_ = State::kUnavailable;
  int error_ = 0;
  bool holderRunning_ = false;
  int64_t freeFrom_ = 0;
  int fd_ = -1;             // the system's lock: the folder or the run's lock file
  std::string runFile_;     // the run's lock file, removed as the game lets go
  std::string claim_;       // a claim: its path, held through fd_
  std::unique_ptr<Toucher> toucher_;
};

}  // namespace platform
