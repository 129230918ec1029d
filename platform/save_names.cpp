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

bool AlphaNumeric(const std::string& text, size_t from, size_t count) {
  if (text.size() < from + count) return false;
  for (size_t i = from; i < from + count; ++i)
    if (!std::isalnum(static_cast<unsigned char>(text[i]))) return false;
  return true;
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

Earlier EarlierShape(const std::string& name) {
  if (name.compare(0, kPrefixSize, kPrefix) != 0) return Earlier::kNone;
  size_t at = kPrefixSize;
  while (at < name.size() && std::isdigit(static_cast<unsigned char>(name[at]))) ++at;
  if (at == kPrefixSize || at == name.size() || name[at] != '-' ||
      !AlphaNumeric(name, at + 1, kUniqueSize))
    return Earlier::kNone;
  const std::string rest = name.substr(at + 1 + kUniqueSize);
  return rest.empty()          ? Earlier::kNew
         : rest == "-kept"     ? Earlier::kKept
         : rest == "-record"   ? Earlier::kRecord
                               : Earlier::kNone;
}

}  // namespace save_names
}  // namespace platform
