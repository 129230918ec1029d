#include "engine/app/folder_wait_window.h"

#include "platform/host.h"
#include "platform/input_source.h"

namespace quor {

FolderWaitWindow::FolderWaitWindow() {
  platform::SetFolderWaitHandler(
      [this](platform::FolderWait step, platform::WaitingFor what) { return Step(step, what); });
}

FolderWaitWindow::~FolderWaitWindow() { platform::SetFolderWaitHandler(nullptr); }

bool FolderWaitWindow::Step(platform::FolderWait step, platform::WaitingFor what) {
  platform::Host& host = platform::CurrentHost();
  if (step == platform::FolderWait::kEnds) {
    if (!waiting_) return true;
    waiting_ = false;
    host.SetWindowTitle(titleBefore_);
    host.ShowNotice("");
    host.Input().CloseWait();
    return true;
  }
  if (!waiting_) {
    waiting_ = true;
    titleBefore_ = host.WindowTitle();
    // Held as every wait inside a frame holds the input: what the player presses meanwhile
    // is dropped whole, never a press taken without its release.
    host.Input().OpenWait();
  } else if (what == shown_) {
    return host.ServiceWindow();
  }
  shown_ = what;
  const bool game = what == platform::WaitingFor::kAnotherGame;
  host.SetWindowTitle(game ? kWaitingForSaveTitle : kWaitingForProgramTitle);
  host.ShowNotice(game ? kWaitingForSaveNotice : kWaitingForProgramNotice);
  return host.ServiceWindow();
}

}  // namespace quor
