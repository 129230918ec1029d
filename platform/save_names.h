// The names of the game's own hidden files beside a save: ".quor-" BODY "~" CHECK, where
// CHECK is eight hex digits of a checksum of BODY, which no name a person gives has but by
// copying one of the game's. BODY is an ID shared by every file of one save (the process id
// and six letters or digits) and a ROLE after its last "-": "new0", "new1"... for the new
// files, "kept0"... for the earlier ones kept, "record" for the save's record, and the
// roles of the folder's locks.
#pragma once

#include <string>

namespace platform {
namespace save_names {

std::string Make(const std::string& id, const std::string& role);
// A new ID of this process's, unlikely to be any other save's.
std::string NewId();
// True for a name of the shape above (whatever its role), with its ID and role.
bool Parse(const std::string& name, std::string& id, std::string& role);
inline bool IsOurs(const std::string& name) {
  std::string id, role;
  return Parse(name, id, role);
}

// The shapes an earlier version gave its files: ".quor-" DIGITS "-" SIX for a new file, with
// "-kept" or "-record" after it for the others. A person may give such a name, so a file of
// that shape is the game's only where a record names it.
enum class Earlier { kNone, kNew, kKept, kRecord };
Earlier EarlierShape(const std::string& name);

}  // namespace save_names
}  // namespace platform
