// The boundary between the engine and the outside world: time, the window and its
// messages, message boxes, the single-instance lock, file dialogs, and the doors to
// video, audio and input. One Host is installed per process by the program that starts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class Surface;
class VideoOutput;
class AudioOutput;
class InputSource;

enum class MessageBoxIcon { None, Exclamation, Stop, Information, Question };

// A message box's text broken into lines of at most `columns` characters, so that the box
// fits the game's window whatever names it quotes: at a space where one falls within the
// line, else after a slash (a long path breaks between its folders), else inside a word but
// never inside a character; never so that a line begins with the mark that closes what
// stands before it (the quote after a name, the full stop after the quote), nor so that a
// file name's extension is parted from its stem. A closing quote (a name's own last quote
// with the one that closes it among them) begins no line even past blanks: where the width
// leaves no other break, the other rules give way first (only a stretch of nothing but
// closing quotes and blanks as wide as a line can force one). Line breaks already there
// are kept.
std::string BreakIntoLines(const std::string& text, size_t columns);
// The longest line of a box shown to the player, the game's own, the desktop's or the
// prompt's, in characters: at some 7 pixels each, with the box's margins, it fits the
// 640-pixel window.
constexpr size_t kBoxColumns = 56;

// What the window tells the engine; taken one at a time by the main loop.
enum class WindowEvent {
  None,
  FocusGained,
  FocusLost,
  Minimised,     // the user asked to minimise the window
  Expose,        // part of the window needs repainting (x, y, w, h)
  CloseRequest,  // the user closed the window
  Destroyed,     // the window is gone; the engine answers with a quit message
  Quit,          // end of the main loop; code carries the exit value
};

struct WindowMessage {
  WindowEvent kind = WindowEvent::None;
  int code = 0;
  int x = 0, y = 0, w = 0, h = 0;
};

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::Open;
  std::string filterDescription;  // "Saved Files (*.sav)"
  std::string filterPattern;      // "*.sav"
  std::string defaultExtension;   // "sav"
  std::string initialDirectory;
  bool mustExist = false;
  // Every name ends in the default extension (in any case): one that does not gets it,
  // whatever extension it has already ("v1.2" is "v1.2.rep").
  bool extensionRequired = false;
  // A save writes a second file beside its own, its name's default extension replaced by
  // this one ("x.rep" beside "x.sar"); empty for a save of one file.
  std::string companionExtension;
};

class Host {
 public:
  virtual ~Host() = default;

  // Milliseconds since an arbitrary start, wrapping at 2^32.
  virtual uint32_t Milliseconds() = 0;
  // Gives the processor away for about ms milliseconds.
  virtual void Sleep(uint32_t ms) = 0;
  // Gives the processor away until Milliseconds() reads deadline; returns at once when
  // the deadline has passed (up to half the clock's range ago).
  virtual void SleepUntil(uint32_t deadline) = 0;
  // Seconds since 1970, as the calendar says.
  virtual int64_t CalendarSeconds() = 0;

  // Shows a modal box; returns when it is dismissed. This, AskFileName and ServiceWindow are
  // the waits that hold a frame, and each holds an InputWait (input_source.h) meanwhile.
  virtual void ShowMessageBox(const std::string& text, const std::string& caption,
                              MessageBoxIcon icon) = 0;

  // True when this process now holds the named lock; false when another holds it.
  virtual bool AcquireInstanceLock(const std::string& name) = 0;
  // After a refusal: a line that says what holds the lock where more is known than that
  // another copy does (another game in the same game folder, and whose), or nothing.
  virtual std::string InstanceHolder() const = 0;
  virtual void ReleaseInstanceLock() = 0;

  // The one main window. Sizes are the client area in pixels.
  virtual bool CreateMainWindow(const std::string& title, int width, int height,
                                bool fullScreen) = 0;
  virtual void DestroyMainWindow() = 0;
  virtual bool HasMainWindow() const = 0;
  virtual void SetWindowTitle(const std::string& title) = 0;
  virtual std::string WindowTitle() const = 0;
  virtual void DesktopSize(int& width, int& height) = 0;
  virtual void SetCursorVisible(bool visible) = 0;

  // Takes the oldest pending window message; false when there is none.
  virtual bool TakeMessage(WindowMessage& message) = 0;
  // Queues a Quit message carrying code.
  virtual void PostQuit(int code) = 0;

  // Keeps the window alive while the program waits inside a frame for something outside it
  // (another game's save): the window manager's pings answered, an uncovered window redrawn,
  // the window's messages kept for the frame. Input meanwhile is dropped, as while a file
  // dialog is open. Called every few hundredths of a second while the wait lasts. False once
  // the user has asked the program to end (the window closed, or a stop signal): the wait is
  // given up, and the request stays queued for the frame.
  virtual bool ServiceWindow() = 0;
  // Shows a line over the top of the game's picture, saying why the game stands still, until
  // called with no text; the game's picture is whole again then.
  virtual void ShowNotice(const std::string& text) = 0;

  // Asks the user for a file; false on cancel. The path is the name the user gave made
  // final as ResolveDialogAnswer says (platform/file_dialog.h): the default extension
  // added, and a missing file refused inside the dialog when it must exist.
  virtual bool AskFileName(const FileDialogRequest& request, std::string& path) = 0;

  // The display, the sound output and the input devices of this host.
  virtual VideoOutput& Video() = 0;
  virtual AudioOutput& Audio() = 0;
  virtual InputSource& Input() = 0;
};

// The installed host. Installing null removes it.
void InstallHost(Host* host);
Host& CurrentHost();
bool HasHost();

}  // namespace platform
