#include "platform/process_info.h"

#include <sstream>
#include <string>
#include <vector>

#include "platform/files.h"

namespace platform {

bool ReadProcessInfo(pid_t pid, ProcessInfo& info) {
  std::vector<uint8_t> bytes;
  ReadWholeFile("/proc/" + std::to_string(pid) + "/stat", bytes, 4096);
  const std::string stat(bytes.begin(), bytes.end());
  // The name in parentheses may hold anything, a ')' too; the fields after it do not.
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return false;
  std::istringstream fields(stat.substr(close + 1));
  long parent = 0;
  fields >> info.state >> parent;
  info.parent = static_cast<pid_t>(parent);
  // The start time is the 22nd field, the 18th after the parent.
  std::string field;
  for (int i = 0; i < 17 && fields >> field;) ++i;
  fields >> info.start;
  return bool(fields);
}

}  // namespace platform
