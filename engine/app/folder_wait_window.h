// What the player meets while a save waits for another game's save in its folder, or for a
// file there that another program holds open for a moment: the wait
// can last seconds inside a key's handling, and a window that stops answering meanwhile is
// called "not responding" by the desktop, which offers to kill it.
#pragma once

#include <string>

#include "platform/lock_file.h"

namespace quor {

// What the window's title and a line over its picture say while the wait lasts: for another
// game's save, or for another program that holds a file there open.
constexpr char kWaitingForSaveTitle[] = "Quor - Waiting for another game's save";
constexpr char kWaitingForSaveNotice[] = "Waiting for another game's save in the same folder";
constexpr char kWaitingForProgramTitle[] = "Quor - Waiting for another program";
constexpr char kWaitingForProgramNotice[] =
    "Waiting for another program that has a file in the same folder open";

// While it lives, every such wait keeps the window answering and redrawn, and its title and
// picture (full screen shows no title) say why the game stands still; the title before and
// the whole picture come back once the wait is over.
// Keys and buttons pressed meanwhile are not taken, as while a file dialog is open, and
// none held when the wait began counts as held after it (its release may fall inside). A
// close of the window or a stop signal meanwhile gives the wait up, and the game ends.
class FolderWaitWindow {
 public:
  FolderWaitWindow();
  ~FolderWaitWindow();
  FolderWaitWindow(const FolderWaitWindow&) = delete;
  FolderWaitWindow& operator=(const FolderWaitWindow&) = delete;

 private:
  bool Step(platform::FolderWait step, platform::WaitingFor what);

  bool waiting_ = false;
  platform::WaitingFor shown_ = platform::WaitingFor::kAnotherGame;
  std::string titleBefore_;
};

}  // namespace quor
