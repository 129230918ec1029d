#include "engine/app/folder_wait_window.h"

#include "engine/core/engine_globals.h"
#include "engine/sound_input/keyboard.h"
#include "engine/sound_input/mouse.h"
#include "platform/host.h"

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
      // The devices are let go as for a dialog: what the player presses meanwhile is
      // dropped whole, never a press taken without its release.
      if (CurrentMouse) CurrentMouse->Unacquire();
      if (CurrentKeyboard) CurrentKeyboard->Unacquire();
      break;
    case platform::FolderWait::kGoesOn:
      break;
    case platform::FolderWait::kEnds:
      if (!waiting_) return true;
      waiting_ = false;
      host.SetWindowTitle(titleBefore_);
      host.ShowNotice("");
      if (CurrentMouse) CurrentMouse->Acquire();
      if (CurrentKeyboard) CurrentKeyboard->Acquire();
      if (CurrentMouse) CurrentMouse->ClearButtons();
      if (CurrentKeyboard) CurrentKeyboard->ClearKeys();
      return true;
  }
  return host.ServiceWindow();
}

}  // namespace quor
