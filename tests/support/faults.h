// A program run as a test's child with faults staged in its file calls: a rename that fails,
// is held or is killed, a file that grows as it is opened (tests/support/fault_preload.c says
// how QUOR_FAULTS names them).
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace testing_support {

class FaultedRun {
 public:
  // Starts argv (argv[0] a path) in folder with the faults; the sanitizers' runtime is told
  // not to mind a library loaded ahead of it.
  FaultedRun(const std::vector<std::string>& argv, const std::string& faults,
             const std::string& folder = ".") {
    std::vector<std::string> env{"LD_PRELOAD=" QUOR_FAULT_PRELOAD, "QUOR_FAULTS=" + faults};
    const char* asan = std::getenv("ASAN_OPTIONS");
    env.push_back(std::string("ASAN_OPTIONS=") + (asan && *asan ? asan + std::string(":") : "") +
                  "verify_asan_link_order=0");
    for (char** e = environ; *e; ++e)
      if (std::strncmp(*e, "LD_PRELOAD=", 11) && std::strncmp(*e, "QUOR_FAULTS=", 12) &&
          std::strncmp(*e, "ASAN_OPTIONS=", 13))
        env.push_back(*e);
    std::vector<char*> args, envp;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    args.push_back(nullptr);
    envp.push_back(nullptr);
    output_ = memfd_create("faulted-run-output", MFD_CLOEXEC);
    pid_ = fork();
    if (pid_ == 0) {
      if (dup2(output_, 1) < 0 || dup2(output_, 2) < 0 || chdir(folder.c_str()) != 0) _exit(126);
      execve(args[0], args.data(), envp.data());
      _exit(127);
    }
  }
  FaultedRun(const FaultedRun&) = delete;
  FaultedRun& operator=(const FaultedRun&) = delete;
  // A child still running (a test that failed half way) is killed.
  ~FaultedRun() {
    if (pid_ > 0) kill(pid_, SIGKILL);
    if (pid_ > 0) Wait();
    close(output_);
  }

  // Waits for the child's end: its exit status (-1 where a signal ended it).
  int Wait() {
    int raw = 0;
    if (pid_ > 0 && waitpid(pid_, &raw, 0) == pid_) status_ = raw;
    pid_ = -1;
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
  }
  // What it wrote on its standard output and error.
  std::string Output() const {
    std::string text;
    char buffer[4096];
    ssize_t n;
    for (off_t at = 0; (n = pread(output_, buffer, sizeof buffer, at)) > 0; at += n)
      text.append(buffer, size_t(n));
    return text;
  }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  int status_ = -1;
};

}  // namespace testing_support
