#include "platform/headless/headless_host.h"

#include "platform/file_dialog.h"
#include "platform/files.h"

namespace platform {

HeadlessHost::HeadlessHost() { audio.AttachClock(&clock); }
HeadlessHost::~HeadlessHost() = default;

uint32_t HeadlessHost::Milliseconds() {
  uint32_t now = clock;
  clock += clockStep;
  return now;
}

void HeadlessHost::Sleep(uint32_t ms) { clock += ms; }

void HeadlessHost::SleepUntil(uint32_t deadline) {
  if (int32_t(deadline - clock) > 0) clock = deadline;
}

void HeadlessHost::ShowMessageBox(const std::string& text, const std::string& caption,
                                  MessageBoxIcon icon) {
  const InputWait wait(input);
  messageBoxes.push_back({text, caption, icon});
  if (whileBoxIsOpen) whileBoxIsOpen(messageBoxes.back());
}

bool HeadlessHost::AcquireInstanceLock(const std::string&) {
  if (instanceAlreadyRunning) return false;
  if (holdGameFolder &&
      folderLock_.AcquireFolder(CurrentDirectory()) == InstanceLock::Result::HeldElsewhere)
    return false;
  lockHeld_ = true;
  return true;
}

void HeadlessHost::ReleaseInstanceLock() {
  folderLock_.Release();
  lockHeld_ = false;
}

bool HeadlessHost::CreateMainWindow(const std::string& title, int width, int height,
                                    bool fullScreen) {
  if (failWindowCreation) return false;
  title_ = title;
  windowWidth = width;
  windowHeight = height;
  windowFullScreen = fullScreen;
  windowOpen_ = true;
  input.SetClientSize(width, height);
  return true;
}

void HeadlessHost::DestroyMainWindow() {
  if (!windowOpen_) return;
  windowOpen_ = false;
  queue_.push_back(WindowMessage{WindowEvent::Destroyed});
}

bool HeadlessHost::ServiceWindow() {
  const InputWait wait(input);
  ++windowServices;
  for (const WindowMessage& m : queue_)
    if (m.kind == WindowEvent::CloseRequest) return false;
  return true;
}

void HeadlessHost::DesktopSize(int& width, int& height) {
  width = desktopWidth;
  height = desktopHeight;
}

void HeadlessHost::RunScript(int frame) {
  for (auto& action : everyFrame_) action(*this);
  auto range = script_.equal_range(frame);
  // Actions may add more actions; take this frame's out first.
  std::vector<FrameAction> due;
  for (auto it = range.first; it != range.second; ++it) due.push_back(std::move(it->second));
  script_.erase(range.first, range.second);
  for (auto& action : due) action(*this);
}

bool HeadlessHost::TakeMessage(WindowMessage& message) {
  ++frame_;
  RunScript(frame_);
  if (queue_.empty()) return false;
  message = queue_.front();
  queue_.pop_front();
  return true;
}

void HeadlessHost::PostQuit(int code) {
  WindowMessage m;
  m.kind = WindowEvent::Quit;
  m.code = code;
  queue_.push_back(m);
}

bool HeadlessHost::AskFileName(const FileDialogRequest& request, std::string& path) {
  const InputWait wait(input);
  dialogRequests.push_back(request);
  while (!dialogAnswers_.empty()) {
    DialogAnswer answer = dialogAnswers_.front();
    dialogAnswers_.pop_front();
    if (!answer.ok) return false;
    std::string refusal;
    if (ResolveDialogAnswer(request, answer.path, path, refusal)) return true;
    dialogRefusals.push_back({dialogRequests.size() - 1, answer.path, refusal});
  }
  return false;
}

void HeadlessHost::AtFrame(int frame, FrameAction action) {
  script_.emplace(frame, std::move(action));
}

void HeadlessHost::EveryFrame(FrameAction action) { everyFrame_.push_back(std::move(action)); }

void HeadlessHost::QuitAtFrame(int frame) {
  AtFrame(frame, [](HeadlessHost& h) {
    // A quit message goes in front, so the loop ends in this very frame.
    WindowMessage m;
    m.kind = WindowEvent::Quit;
    h.queue_.push_front(m);
  });
}

void HeadlessHost::Post(const WindowMessage& message) { queue_.push_back(message); }

}  // namespace platform
