// What a target that reads whole files keeps from one input to the next (the host, a
// folder for the input's file, what is costly to make): made at the first input and never
// destroyed, since libFuzzer ends the process without tidying up; its folder goes at exit.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fuzzing {

// Setting holds a testing_support::TempDir named dir.
template <typename Setting>
Setting& MadeOnce() {
  static Setting* setting = [] {
    std::atexit([] {
      std::error_code error;
      std::filesystem::remove_all(MadeOnce<Setting>().dir.Path(), error);
    });
    return new Setting;
  }();
  return *setting;
}

}  // namespace fuzzing
