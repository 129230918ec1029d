#include "platform/program_folder.h"

#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstring>

namespace platform {

std::string ProgramFolder() {
  char path[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  std::string full(path, static_cast<size_t>(n));
  size_t slash = full.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : full.substr(0, slash);
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') quoted += "'\\''";
    else quoted += c;
  }
  return quoted + "'";
}

std::string ShellWord(const std::string& text) {
  if (text.empty()) return ShellQuote(text);
  for (char c : text)
    if (!std::isalnum(static_cast<unsigned char>(c)) && !std::strchr("/._+-,:=@%", c))
      return ShellQuote(text);
  return text;
}

}  // namespace platform
