#include "engine/app/folder_wait_window.h"

#include "platform/host.h"
#include "platform/input_source.h"

namespace quor {

FolderWaitWindow::FolderWaitWindow() {
  platform::SetFolderWaitHandler([this](platform::FolderWait step) { return Step(step); });
}

FolderWaitWindow::~FolderWaitWindow() { platform::SetFolderWaitHandler(nullptr); }

bool FolderWaitWindow::Step(platform::FolderWait step) {
  platform::Host& host = platform::CurrentHost();
  switch (step) {
    case platform::FolderWait::kBegins:
      if (waiting_) break;
      waiting_ = true;
      titleBefore_ = host.WindowTitle();
      host.SetWindowTitle(kWaitingForSaveTitle);
      host.ShowNotice(kWaitingForSaveNotice);
      // Held as every wait inside a frame holds the input: what the player presses meanwhile
      // is dropped whole, never a press taken without its release.
      host.Input().OpenWait();
      break;
    case platform::FolderWait::kGoesOn:
      break;
    case platform::FolderWait::kEnds:
      if (!waiting_) return true;
      waiting_ = false;
      host.SetWindowTitle(titleBefore_);
      host.ShowNotice("");
      host.Input().CloseWait();
      return true;
  }
  return host.ServiceWindow();
}

}  // namespace quor
