#include "platform/dialog_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace platform {

std::string FindOnPath(const std::string& program) {
  auto runnable = [](const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
  };
  if (program.empty()) return "";
  if (program.find('/') != std::string::npos) return runnable(program) ? program : "";
  std::string folders;
  if (const char* path = std::getenv("PATH")) {
    folders = path;
  } else {
    // What the shell searches without a PATH.
    folders.resize(confstr(_CS_PATH, nullptr, 0));
    if (!folders.empty()) confstr(_CS_PATH, &folders[0], folders.size());
    folders.resize(folders.empty() ? 0 : folders.size() - 1);
  }
  for (size_t at = 0, end; at <= folders.size(); at = end + 1) {
    end = std::min(folders.find(':', at), folders.size());
    const std::string folder = end > at ? folders.substr(at, end - at) : ".";
    if (runnable(folder + "/" + program)) return folder + "/" + program;
  }
  return "";
}

DialogProgram::~DialogProgram() {
  End();
  if (outputFd_ >= 0) close(outputFd_);
}

bool DialogProgram::Start(const std::vector<std::string>& argv) {
  if (argv.empty() || pid_) return false;
  const std::string path = FindOnPath(argv[0]);
  if (path.empty()) return false;
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return false;
  const int nothing = open("/dev/null", O_RDWR | O_CLOEXEC);
  if (nothing < 0) {
    close(out[0]);
    close(out[1]);
    return false;
  }
  const long openMax = sysconf(_SC_OPEN_MAX);
  const pid_t game = getpid();
  // A copy of the game only long enough to become the program: between here and the exec
  // it makes no call that could wait on a lock another thread of the game held.
  const pid_t child = fork();
  if (child == 0) {
    // A group of its own, so that what the program starts ends with it.
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != game) _exit(127);  // the game ended before the line above
    dup2(nothing, STDIN_FILENO);
    dup2(out[1], STDOUT_FILENO);
    dup2(nothing, STDERR_FILENO);
    if (syscall(SYS_close_range, 3u, ~0u, 0u) != 0)
      for (long fd = 3; fd < openMax; ++fd) close(static_cast<int>(fd));
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction plain {};
    plain.sa_handler = SIG_DFL;
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGCHLD})
      sigaction(signal, &plain, nullptr);
    execv(path.c_str(), args.data());
    _exit(127);
  }
  close(out[1]);
  close(nothing);
  if (child < 0) {
    close(out[0]);
    return false;
  }
  // Made here too, so that the group is there for End whatever the child has done so far.
  setpgid(child, child);
  pid_ = child;
  outputFd_ = out[0];
  ended_ = false;
  return true;
}

void DialogProgram::Read(int ms) {
  if (outputFd_ < 0) {
    if (ms > 0) poll(nullptr, 0, ms);
    return;
  }
  pollfd waitFor{outputFd_, POLLIN, 0};
  if (poll(&waitFor, 1, ms) <= 0) return;
  char buffer[512];
  const ssize_t n = read(outputFd_, buffer, sizeof buffer);
  if (n > 0) {
    output_.append(buffer, static_cast<size_t>(n));
  } else if (n == 0 || errno != EINTR) {
    close(outputFd_);
    outputFd_ = -1;
  }
}

bool DialogProgram::Wait(int ms) {
  if (!pid_ || ended_) return true;
  Read(ms);
  int status = 0;
  const pid_t ended = waitpid(pid_, &status, WNOHANG);
  if (ended == pid_) {
    waitStatus_ = status;
    ended_ = true;
    // What the program printed just before it ended is still in the pipe; something it left
    // running may hold the pipe open, so only what is there now is read.
    while (outputFd_ >= 0) {
      const size_t before = output_.size();
      Read(0);
      if (output_.size() == before) break;
    }
  } else if (ended < 0 && errno != EINTR) {
    ended_ = true;
  }
  return ended_;
}

void DialogProgram::End() {
  if (!pid_ || ended_) return;
  kill(-pid_, SIGKILL);
  kill(pid_, SIGKILL);
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  ended_ = true;
}

int DialogProgram::Status() const {
  return ended_ && waitStatus_ >= 0 && WIFEXITED(waitStatus_) ? WEXITSTATUS(waitStatus_) : -1;
}

DesktopDialogs FindDesktopDialogs() {
  if (!FindOnPath("zenity").empty()) return DesktopDialogs::Zenity;
  if (!FindOnPath("kdialog").empty()) return DesktopDialogs::Kdialog;
  return DesktopDialogs::None;
}

std::vector<std::string> MessageCommand(DesktopDialogs program, DialogMessage kind,
                                        const std::string& text, const std::string& caption) {
  std::vector<std::string> command;
  if (program == DesktopDialogs::Zenity) {
    switch (kind) {
      case DialogMessage::Information: command = {"zenity", "--info"}; break;
      case DialogMessage::Warning: command = {"zenity", "--warning"}; break;
      case DialogMessage::Error: command = {"zenity", "--error"}; break;
      case DialogMessage::QuestionMark:
        command = {"zenity", "--info", "--icon-name=dialog-question"};
        break;
      case DialogMessage::YesNo: command = {"zenity", "--question"}; break;
    }
    command.push_back("--no-markup");
    if (!caption.empty()) command.push_back("--title=" + caption);
    command.push_back("--text=" + BreakIntoLines(text, kBoxColumns));
    return command;
  }
  if (program != DesktopDialogs::Kdialog) return command;
  command = {"kdialog"};
  if (!caption.empty()) command.insert(command.end(), {"--title", caption});
  switch (kind) {
    case DialogMessage::Information:
    case DialogMessage::QuestionMark: command.push_back("--msgbox"); break;
    case DialogMessage::Warning: command.push_back("--sorry"); break;
    case DialogMessage::Error: command.push_back("--error"); break;
    case DialogMessage::YesNo: command.push_back("--warningyesno"); break;
  }
  command.push_back(text);
  return command;
}

DialogMessage MessageFor(MessageBoxIcon icon) {
  switch (icon) {
    case MessageBoxIcon::Exclamation: return DialogMessage::Warning;
    case MessageBoxIcon::Stop: return DialogMessage::Error;
    case MessageBoxIcon::Question: return DialogMessage::QuestionMark;
    case MessageBoxIcon::Information:
    case MessageBoxIcon::None: break;
  }
  return DialogMessage::Information;
}

}  // namespace platform
