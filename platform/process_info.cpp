#include "platform/process_info.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace platform {

bool ReadProcessInfo(pid_t pid, ProcessInfo& info) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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
