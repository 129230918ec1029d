#include "engine/app/run_application.h"

#include "engine/core/engine_globals.h"
#include "engine/app/folder_wait_window.h"
#include "engine/app/game_director.h"
#include "engine/core/node_list.h"
#include "engine/display/display.h"
#include "engine/display/transitions.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/keyboard.h"
#include "engine/sound_input/mouse.h"
#include "engine/sound_input/sound_device.h"
#include "engine/app/game_hooks.h"
#include "platform/audio_output.h"

namespace quor {

namespace {

// The frame a window manager puts around a dialog-framed window with a caption.
constexpr int32_t kFrameWidth = 2 + 3 + 1;
constexpr int32_t kFrameHeight = 2 + 3 + 1 + 19;

void StartupBox(const std::string& text, const char* caption, platform::MessageBoxIcon icon) {
  platform::CurrentHost().ShowMessageBox(text, caption, icon);
}

}  // namespace

void WindowSizeForClient(int32_t* width, int32_t* height) {
  *width = static_cast<int32_t>(DisplayWidth) + kFrameWidth;
  *height = static_cast<int32_t>(DisplayHeight) + kFrameHeight;
}

bool CreateMainWindow() {
  platform::Host& host = platform::CurrentHost();
  host.DesktopSize(ScreenWidth, ScreenHeight);
  return host.CreateMainWindow("Quor", static_cast<int>(DisplayWidth),
                               static_cast<int>(DisplayHeight), Windowed == 0);
}

void MainWindowProc(const platform::WindowMessage& message) {
  platform::Host& host = platform::CurrentHost();
  switch (message.kind) {
    case platform::WindowEvent::FocusGained:
      ApplyScenePalette();
      if (MinimisedWhilePaused) {
        MinimisedWhilePaused = 0;
      } else {
        Paused = 0;
        if (CurrentGameNode) GetSoundDevice()->PauseOrResumeAllSounds(true);
      }
      if (CurrentKeyboard) CurrentKeyboard->Acquire();
      if (CurrentMouse) CurrentMouse->Acquire();
      break;
    case platform::WindowEvent::FocusLost:
      Paused = 1;
      if (CurrentGameNode) GetSoundDevice()->PauseOrResumeAllSounds(false);
      if (CurrentKeyboard) CurrentKeyboard->Unacquire();
      if (CurrentMouse) CurrentMouse->Unacquire();
      break;
    case platform::WindowEvent::Minimised:
      if (Paused) MinimisedWhilePaused = 1;
      break;
    case platform::WindowEvent::Expose:
      if (Windowed && Paused) RepaintWindow();
      break;
    case platform::WindowEvent::CloseRequest:
      host.DestroyMainWindow();
      break;
    case platform::WindowEvent::Destroyed:
      host.PostQuit(0);
      break;
    case platform::WindowEvent::None:
    case platform::WindowEvent::Quit:
      break;
  }
}

int RunApplication() {
  platform::Host& host = platform::CurrentHost();

  if (!host.AcquireInstanceLock("QUOR")) {
    const std::string holder = host.InstanceHolder();
    StartupBox("Cannot create more than one Quor instance! " + (holder.empty() ? "" : "\n" + holder),
               "Quor Error.", platform::MessageBoxIcon::Exclamation);
    return kStartUpFailed;
  }
  GamePreInit();
  // The game could not set itself up and has said why.
  if (QuitRequested) {
    host.ReleaseInstanceLock();
    GameShutdown();
    return kStartUpFailed;
  }
  if (!host.Audio().DeviceAvailable()) {
    StartupBox("There is an error in the sound device or no driver was found!", "Quor Error.",
               platform::MessageBoxIcon::Exclamation);
    return kStartUpFailed;
  }
  GameSetDisplayMode();
  WindowSizeForClient(&WindowWidth, &WindowHeight);
  // Without a window the game never ran: the shell is told so (the host said why).
  if (!CreateMainWindow()) return kStartUpFailed;
  if (!InitGraphics()) {
    StartupBox("InitGraphics Failed", "Fatal Error", platform::MessageBoxIcon::Stop);
    return kStartUpFailed;
  }
  CurrentGameDirector = new GameDirector;
  GameCreateScenes();
  GammaRampEffect = new GammaRamp;
  OpenCloseEffect = new OpenClose;
  RandomDissolveEffect = new RandomDissolve;
  CurrentGameNode = FindGameNodeById(1);
  Keyboard keyboard;
  CurrentKeyboard = &keyboard;
  Mouse mouse;
  CurrentMouse = &mouse;
  // A save that waits for another game's keeps the window alive, until the run ends.
  FolderWaitWindow folderWaits;

  // A display mode refused by the graphics start-up has asked to quit already.
  bool quitBeforeLoop = QuitRequested != 0;
  bool ranAFrame = false;
  int exitValue = RunMainLoop(&ranAFrame);
  // A quit request before any frame follows the box of a failed start: the shell is told.
  if (QuitRequested && !ranAFrame) exitValue = quitBeforeLoop ? kStartUpFailed : kFirstSceneFailed;

  GameNodeList().DeleteAll();
  CurrentGameNode = nullptr;
  delete CurrentGameDirector;
  CurrentGameDirector = nullptr;
  delete GammaRampEffect;
  GammaRampEffect = nullptr;
  delete OpenCloseEffect;
  OpenCloseEffect = nullptr;
  delete RandomDissolveEffect;
  RandomDissolveEffect = nullptr;
  ReleaseGraphics();
  host.ReleaseInstanceLock();
  GameShutdown();
  CurrentMouse = nullptr;
  CurrentKeyboard = nullptr;
  if (host.HasMainWindow()) host.DestroyMainWindow();
  return exitValue;
}

}  // namespace quor
