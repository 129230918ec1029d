#include "platform/save_names.h"

#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>

namespace platform {
namespace save_names {

namespace {

constexpr char kPrefix[] = ".quor-";
constexpr size_t kPrefixSize = sizeof kPrefix - 1, kCheckSize = 8, kUniqueSize = 6;

std::string Check(const std::string& body) {
  uint64_t sum = 0xcbf29ce484222325u;
  for (char c : std::string("quor hidden file:") + body)
    sum = (sum ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
  char text[kCheckSize + 1];
  std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(sum ^ (sum >> 32)));
  return text;
}

}  // namespace

std::string Make(const std::string& id, const std::string& role) {
  const std::string body = id + "-" + role;
  return kPrefix + body + "~" + Check(body);
}

std::string NewId() {
  static std::mt19937_64 random = [] {
    std::random_device device;
    const uint64_t clock =
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::seed_seq seed{device(), device(), static_cast<unsigned>(clock),
                       static_cast<unsigned>(getpid())};
    return std::mt19937_64(seed);
  }();
  static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string id = std::to_string(getpid()) + "-";
  for (size_t i = 0; i < kUniqueSize; ++i) id += letters[random() % (sizeof letters - 1)];
  return id;
}

bool Parse(const std::string& name, std::string& id, std::string& role) {
  if (name.compare(0, kPrefixSize, kPrefix) != 0 || name.size() < kPrefixSize + kCheckSize + 4)
    return false;
  const size_t tilde = name.size() - kCheckSize - 1;
  if (name[tilde] != '~') return false;
  const std::string body = name.substr(kPrefixSize, tilde - kPrefixSize);
  const size_t dash = body.rfind('-');
  if (dash == std::string::npos || dash == 0 || dash + 1 == body.size() ||
      name.compare(tilde + 1, kCheckSize, Check(body)) != 0)
    return false;
  id = body.substr(0, dash);
  role = body.substr(dash + 1);
  return true;
}

std::string RecordRole(const std::vector<std::string>& targets) {
  std::string role = "record";
  for (const std::string& target : targets) role += "." + Check(target);
  return role;
}

namespace {
constexpr char kRecord[] = "record";
constexpr size_t kRecordSize = sizeof kRecord - 1, kNamedSize = kCheckSize + 1;
}  // namespace

size_t RecordCount(const std::string& role) {
  const size_t count = (role.size() - kRecordSize) / kNamedSize;
  if (role.compare(0, kRecordSize, kRecord) != 0 || role.size() != kRecordSize + count * kNamedSize)
    return 0;
  for (size_t at = kRecordSize; at < role.size(); at += kNamedSize)
    if (role[at] != '.' || role.find_first_not_of("0123456789abcdef", at + 1) < at + kNamedSize)
      return 0;
  return count;
}

bool IsRecordRole(const std::string& role) {
  return RecordCount(role) >= 1 && RecordCount(role) <= 2;
}

bool RecordNames(const std::string& role, const std::string& target) {
  const std::string check = "." + Check(target);
  for (size_t at = kRecordSize; IsRecordRole(role) && at < role.size(); at += kNamedSize)
    if (role.compare(at, kNamedSize, check) == 0) return true;
  return false;
}

bool RecordsShareAName(const std::string& role, const std::string& other) {
  for (size_t at = kRecordSize; IsRecordRole(role) && at < role.size(); at += kNamedSize)
    for (size_t in = kRecordSize; IsRecordRole(other) && in < other.size(); in += kNamedSize)
      if (role.compare(at, kNamedSize, other, in, kNamedSize) == 0) return true;
  return false;
}

std::string FolderLockName() { return Make("folder", "lock"); }
std::string RunLockName() { return Make("game", "running"); }

}  // namespace save_names
}  // namespace platform
