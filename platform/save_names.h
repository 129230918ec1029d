// The names of the game's own hidden files beside a save: ".quor-" BODY "~" CHECK, where
// CHECK is eight hex digits of a checksum of BODY, which no name a person gives has but by
// copying one of the game's. BODY is an ID shared by every file of one save (the process id
// and six letters or digits) and a ROLE after its last "-": "new0", "new1"... for the new
// files, "kept0"... for the earlier ones kept, "record..." for the save's record (see
// RecordRole), and the roles of the folder's locks. Every other name is the player's.
#pragma once

#include <string>
#include <vector>

namespace platform {
namespace save_names {

std::string Make(const std::string& id, const std::string& role);
// The name of a save's new file ("new") or kept earlier file ("kept") for its file i.
inline std::string Hidden(const std::string& id, const char* role, size_t i) {
  return Make(id, role + std::to_string(i));
}
// A new ID of this process's, unlikely to be any other save's.
std::string NewId();
// True for a name of the shape above (whatever its role), with its ID and role.
bool Parse(const std::string& name, std::string& id, std::string& role);
inline bool IsOurs(const std::string& name) {
  std::string id, role;
  return Parse(name, id, role);
}

// The role of the record of a save of targets: "record" and a check of each target's name,
// so that a record that cannot be read still tells which files it holds back.
std::string RecordRole(const std::vector<std::string>& targets);
// Whether role is a record's (naming one file or two); whether that record names target; and
// how many files it names.
bool IsRecordRole(const std::string& role);
bool RecordNames(const std::string& role, const std::string& target);
// Whether the records of these roles name a file in common.
bool RecordsShareAName(const std::string& role, const std::string& other);
size_t RecordCount(const std::string& role);

// The lock files of a folder: the one a save holds while it is made there, and the one a
// game holds for its whole run in the folder it runs in.
std::string FolderLockName();
std::string RunLockName();

}  // namespace save_names
}  // namespace platform
