// The player's host: an SDL window, its events as window messages, a real clock, and a lock
// file for the single-instance guard. Its message boxes and file dialogs live in
// sdl_dialogs.cpp.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/instance_lock.h"
#include "platform/monotonic_clock.h"
#include "platform/window_event_order.h"

union SDL_Event;

namespace platform {

class BoxPanel;
class NoticeBand;
class SdlVideo;
class SdlAudio;
class SdlInput;

class SdlHost : public Host {
 public:
  SdlHost();
  ~SdlHost() override;

  uint32_t Milliseconds() override;
  void Sleep(uint32_t ms) override;
  void SleepUntil(uint32_t deadline) override;
  int64_t CalendarSeconds() override;

  void ShowMessageBox(const std::string& text, const std::string& caption,
                      MessageBoxIcon icon) override;

  bool AcquireInstanceLock(const std::string& name) override;
  void ReleaseInstanceLock() override;
  std::string InstanceHolder() const override { return lock_.FolderHolder(); }

  bool CreateMainWindow(const std::string& title, int width, int height, bool fullScreen) override;
  void DestroyMainWindow() override;
  bool HasMainWindow() const override;
  void SetWindowTitle(const std::string& title) override;
  std::string WindowTitle() const override;
  void DesktopSize(int& width, int& height) override;
  void SetCursorVisible(bool visible) override;

  bool TakeMessage(WindowMessage& message) override;
  void PostQuit(int code) override;

  bool ServiceWindow() override;
  void ShowNotice(const std::string& text) override;

  bool AskFileName(const FileDialogRequest& request, std::string& path) override;

  VideoOutput& Video() override;
  AudioOutput& Audio() override;
  InputSource& Input() override;

  // Reads every pending SDL event, turning window events into messages and handing
  // input events to the input devices, which let them go by while a wait holds the frame.
  void PumpEvents();

 private:
  bool EnsureVideo();
  // Whether the player can see the window: there is one, and not on a driver that shows
  // nothing (offscreen, dummy), where a box drawn in it would wait for an answer forever.
  bool WindowSeen() const;
  // One SDL event: window events and quit become messages; input goes to the devices.
  void Dispatch(const SDL_Event& event);
  // Runs a dialog program of the desktop's (a chooser, a question, a box; see
  // DialogProgram) and waits for it to end, the window serviced meanwhile and the dialog's
  // windows kept above it; a close of the window or a stop signal ends it. output, when
  // given, receives what the program printed. The program's exit status, or -1 when it
  // could not be run, did not exit by itself, or the game is ending.
  int RunDialogProgram(const std::vector<std::string>& command, std::string* output);
  // Shows a box over the game's picture until it is answered (Return, Enter, Escape, a click
  // on OK) or the game is asked to end; false when there is no window the player sees.
  bool BoxInWindow(const std::string& text, const std::string& caption, MessageBoxIcon icon);
  // Asks for a file name typed into the game window, for desktops without a chooser or
  // without a window manager.
  bool PromptInWindow(const FileDialogRequest& request, std::string& path);

  std::unique_ptr<SdlVideo> video_;
  std::unique_ptr<SdlAudio> audio_;
  std::unique_ptr<SdlInput> input_;
  std::unique_ptr<NoticeBand> notice_;  // made at its first use
  std::unique_ptr<BoxPanel> box_;       // made at its first use
  InstanceLock lock_;
  MonotonicClock clock_;
  std::deque<WindowMessage> queue_;
  WindowEventOrder order_;
  bool videoStarted_ = false;
  // The player has asked the game to end (a close of the window, a stop signal): nothing
  // more is asked of them, and boxes are only told on the terminal.
  bool ending_ = false;
  std::string title_;
};

}  // namespace platform
