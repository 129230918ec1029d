// The one kind of lock the game takes, on whatever it locks (a folder while a save is made
// there, the folder a game runs in, the single copy of the game): the system's record lock
// (a write lock of the whole file) on a lock file. A network file system hands it to its
// server, so that games on two computers see each other's; it goes the moment its process
// ends, however it ends; and no child the process starts inherits it.
//
// The lock file is made where it is missing, readable and writable by all whatever the
// umask (unless the lock is of one user's alone), so that every user's game can take it; one
// already there is opened as it is (no other user's file is made anew). Only whoever holds it
// removes it, as they let go, so nothing of it stays once no game holds it, but where no lock
// can be had at all (an empty file stays there); a game that finds, once it holds the lock,
// that the name no longer shows the file it locked, or that the file is no longer in its
// folder, takes it again. Every retry waits as another game's lock is waited for.
//
// Closing any descriptor of a file lets go of every record lock the process has on it: so no
// file this process holds a lock on is ever opened a second time (OpenPlainFile).
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

namespace platform {

// What the program does while a lock waits for another game's: the handler is called with
// kBegins as the wait begins, with kGoesOn every few hundredths of a second while it lasts,
// and with kEnds once it is over. It answers false where the wait is to be given up (the
// player asked the game to end). One handler serves the whole program; without one the wait
// is only a wait.
enum class FolderWait { kBegins, kGoesOn, kEnds };
void SetFolderWaitHandler(std::function<bool(FolderWait)> handler);
// Calls the handler, where there is one: whether to go on waiting.
bool TellFolderWait(FolderWait step);

class LockFile {
 public:
  enum class Wait { kNone, kFewSeconds };
  // Takes the lock on the file at path, waiting for another holder as asked; a file made for
  // it has the given permissions.
  LockFile(std::string path, Wait wait, mode_t mode = 0666);
  // Removes the file where it is still the one locked and this user may, and lets go.
  ~LockFile();
  LockFile(const LockFile&) = delete;
  LockFile& operator=(const LockFile&) = delete;

  enum class State {
    kHeld,
    kBusy,     // another game held it for the whole wait
    kGivenUp,  // the wait was given up
    kNone      // no lock can be had through this file; Error() says why
  };
  State Taken() const { return state_; }
  // Why none: ENOLCK where the file system has no locks, else why the file could not be
  // opened for writing or locked.
  int Error() const { return error_; }
  // Where none: whether the file stands there all the same (one that could not be opened
  // for writing, or something else at its name), and its owner.
  bool Stands() const { return stands_; }
  uid_t Owner() const { return owner_; }
  // Where another holds it: its process id as the system tells it, or 0 where not known.
  pid_t Holder() const { return holder_; }
  const std::string& Path() const { return path_; }

 private:
  enum class Try { kHeld, kBusy, kAgain, kNone };
  Try TryOnce();

  std::string path_;
  mode_t mode_;
  State state_ = State::kNone;
  int fd_ = -1;
  int error_ = 0;
  bool stands_ = false;
  uid_t owner_ = 0;
  pid_t holder_ = 0;
};

// Opens the plain file at path as open does (flags without O_CREAT; O_NOFOLLOW refuses a
// link with ELOOP): -1 with errno set where it cannot, EISDIR for a folder, EINVAL for
// anything else that is no plain file (looked at before it is opened, so no pipe or device
// is), and EBUSY for a file this process holds a lock on. Every open of a file that is there
// goes through here.
int OpenPlainFile(const std::string& path, int flags);

}  // namespace platform
