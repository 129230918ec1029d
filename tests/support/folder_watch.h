// What happens to the names of a folder, as inotify tells it.
#pragma once

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// Each change in a folder and the name it touched.
class FolderWatch {
 public:
  explicit FolderWatch(const std::string& folder, uint32_t changes = IN_ALL_EVENTS)
      : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    EXPECT_GE(inotify_add_watch(fd_, folder.c_str(), changes), 0);
  }
  ~FolderWatch() { close(fd_); }
  std::vector<std::pair<uint32_t, std::string>> Events() {
    std::vector<std::pair<uint32_t, std::string>> events;
    alignas(inotify_event) char buffer[65536];
    ssize_t n;
    while ((n = read(fd_, buffer, sizeof buffer)) > 0) {
      for (char* at = buffer; at < buffer + n;) {
        auto* event = reinterpret_cast<inotify_event*>(at);
        events.emplace_back(event->mask, event->len ? event->name : "");
        at += sizeof(inotify_event) + event->len;
      }
    }
    return events;
  }

 private:
  int fd_;
};

}  // namespace testing_support
