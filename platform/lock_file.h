// The one kind of lock the game takes, on whatever it locks (a folder while a save is made
// there, the folder a game runs in, the single copy of the game): the system's record lock
// (a write lock of the whole file) on a lock file. A network file system hands it to its
// server, so that games on two computers see each other's; it goes the moment its process
// ends, however it ends; and no child the process starts inherits it.
//
// A missing lock file is made, readable and writable by all whatever the umask (unless the
// lock is one user's alone); one already there is opened as it is. Only its holder removes
// it, as they let go; a file made where no lock can be had stays, empty. A game that finds,
// once it holds the lock, that the name no longer shows the file it locked, or that the file
// left its folder, takes it again; every retry waits as another game's lock is waited for.
// Closing any descriptor of a file lets go of every record lock the process has on it: no
// file this process holds a lock on is ever opened a second time (OpenPlainFile).
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

namespace platform {

// What the program does while a lock waits: the handler is called with kBegins, with kGoesOn
// every few hundredths of a second, and with kEnds once it is over, and answers false where
// the wait is to be given up (the player asked the game to end). One serves the program.
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
  pid_t holder_ = 0;
};

// Opens the plain file at path as open does (no O_CREAT; O_NOFOLLOW refuses a link with
// ELOOP), or -1 with errno set: EISDIR for a folder, EINVAL for anything else that is no
// plain file (looked at before it is opened), EBUSY for a file this process holds a lock on.
// Every open of a file that is there goes through here.
int OpenPlainFile(const std::string& path, int flags);

}  // namespace platform
