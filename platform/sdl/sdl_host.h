// The player's host: an SDL window, its events as window messages, SDL message boxes,
// a real clock, and a lock file for the single-instance guard. Its file dialogs live in
// sdl_dialogs.cpp.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>

#include "platform/host.h"
#include "platform/instance_lock.h"
#include "platform/monotonic_clock.h"
#include "platform/window_event_order.h"

union SDL_Event;

namespace platform {

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
  // input events to the input devices. While a modal dialog holds the frame input is
  // dropped instead: it was meant for the dialog, and the devices are unacquired.
  void PumpEvents(bool deliverInput = true);

 private:
  bool EnsureVideo();
  // One SDL event: window events and quit become messages; input goes to the devices
  // only when deliverInput is set.
  void Dispatch(const SDL_Event& event, bool deliverInput);
  // Runs a shell command that shows a dialog of its own (a chooser, a question, a
  // refusal) and waits for it to end, the window serviced meanwhile and the dialog's
  // windows kept above it. output, when given, receives what the command printed. The
  // command's exit status, or -1 when it could not be run or did not exit by itself.
  int RunDialogProgram(const std::string& command, std::string* output);
  // Asks for a file name typed into the game window, for desktops without a chooser.
  bool PromptInWindow(const FileDialogRequest& request, std::string& path);

  std::unique_ptr<SdlVideo> video_;
  std::unique_ptr<SdlAudio> audio_;
  std::unique_ptr<SdlInput> input_;
  std::unique_ptr<NoticeBand> notice_;  // made at its first use
  InstanceLock lock_;
  MonotonicClock clock_;
  std::deque<WindowMessage> queue_;
  WindowEventOrder order_;
  bool videoStarted_ = false;
  std::string title_;
};

}  // namespace platform
