// The tests' host: deterministic and scriptable. Time is a virtual millisecond clock that
// moves forward as it is read; the calendar stands still; message boxes are recorded
// instead of shown; frames are counted by the main loop's one message take per frame,
// and scripted actions run at the start of the frame they name.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_input.h"
#include "platform/headless/headless_video.h"
#include "platform/host.h"
#include "platform/instance_lock.h"

namespace platform {

struct RecordedMessageBox {
  std::string text;
  std::string caption;
  MessageBoxIcon icon = MessageBoxIcon::None;
};

class HeadlessHost : public Host {
 public:
  using FrameAction = std::function<void(HeadlessHost&)>;

  HeadlessHost();
  ~HeadlessHost() override;

  uint32_t Milliseconds() override;
  void Sleep(uint32_t ms) override;
  void SleepUntil(uint32_t deadline) override;
  int64_t CalendarSeconds() override { return calendarSeconds; }

  void ShowMessageBox(const std::string& text, const std::string& caption,
                      MessageBoxIcon icon) override;

  bool AcquireInstanceLock(const std::string& name) override;
  void ReleaseInstanceLock() override;
  std::string InstanceHolder() const override { return folderLock_.FolderHolder(); }

  bool CreateMainWindow(const std::string& title, int width, int height, bool fullScreen) override;
  void DestroyMainWindow() override;
  bool HasMainWindow() const override { return windowOpen_; }
  void SetWindowTitle(const std::string& title) override { title_ = title; }
  std::string WindowTitle() const override { return title_; }
  void DesktopSize(int& width, int& height) override;
  void SetCursorVisible(bool visible) override { cursorVisible = visible; }

  bool TakeMessage(WindowMessage& message) override;
  void PostQuit(int code) override;

  bool ServiceWindow() override;
  void ShowNotice(const std::string& text) override { notice = text; }

  bool AskFileName(const FileDialogRequest& request, std::string& path) override;

  VideoOutput& Video() override { return video; }
  AudioOutput& Audio() override { return audio; }
  InputSource& Input() override { return input; }

  // --- scripting ---
  // Runs action at the start of frame n (frames count from 0).
  void AtFrame(int frame, FrameAction action);
  // Runs action at the start of every frame.
  void EveryFrame(FrameAction action);
  // Ends the main loop at the start of frame n by a quit message.
  void QuitAtFrame(int frame);
  // Queues a window message for the engine to take.
  void Post(const WindowMessage& message);
  void Post(WindowEvent kind) { Post(WindowMessage{kind}); }
  // The answer to the next file dialog, a name as the user would type it. A name the
  // dialog refuses (an open dialog's missing file) is told in dialogRefusals and the
  // dialog takes the next answer, or is cancelled when there is none.
  void AnswerFileDialog(const std::string& path) { dialogAnswers_.push_back({true, path}); }
  void CancelFileDialog() { dialogAnswers_.push_back({false, ""}); }

  // --- observation ---
  int Frame() const { return frame_; }
  std::vector<RecordedMessageBox> messageBoxes;
  // Called as each box is shown, as though the player took this long to close it; what the
  // player presses or lets go meanwhile is the box's, as with the player's host.
  std::function<void(const RecordedMessageBox&)> whileBoxIsOpen;
  std::vector<FileDialogRequest> dialogRequests;
  struct DialogRefusal {
    size_t dialog;       // index into dialogRequests
    std::string answer;  // as it was given
    std::string text;    // what the dialog said
  };
  std::vector<DialogRefusal> dialogRefusals;
  bool cursorVisible = true;
  // How often the window was serviced while the program waited inside a frame.
  int windowServices = 0;
  // The line shown over the picture, or nothing.
  std::string notice;

  // --- settings and injected failures ---
  uint32_t clockStep = 1;      // how far each read of the clock moves it
  uint32_t clock = 0;          // the virtual clock
  int64_t calendarSeconds = 1000000000;
  int desktopWidth = 1920, desktopHeight = 1080;
  bool instanceAlreadyRunning = false;
  // The game's folder held for the run as the player's host holds it: a second game there,
  // of this process or another, is refused.
  bool holdGameFolder = false;
  bool failWindowCreation = false;
  int windowWidth = 0, windowHeight = 0;
  bool windowFullScreen = false;

  HeadlessVideo video;
  HeadlessAudio audio;
  HeadlessInput input;

 private:
  struct DialogAnswer {
    bool ok;
    std::string path;
  };
  void RunScript(int frame);

  std::deque<WindowMessage> queue_;
  std::multimap<int, FrameAction> script_;
  std::vector<FrameAction> everyFrame_;
  std::deque<DialogAnswer> dialogAnswers_;
  std::string title_;
  bool windowOpen_ = false;
  bool lockHeld_ = false;
  InstanceLock folderLock_;
  int frame_ = -1;
};

}  // namespace platform
