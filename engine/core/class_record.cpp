#include "engine/core/class_record.h"

#include <cstring>

#include "engine/core/node.h"

namespace quor {

ClassRecord::ClassRecord(const char* n, Factory f) : ClassRecord(n, f, true) {}

ClassRecord::ClassRecord(const char* n, Factory f, bool registered) : factory(f) {
  std::strncpy(name, n, sizeof name - 1);
  if (registered) GetClassRegistry().push_back(*this);
}

const ClassRecord NodeClassRecord("node", [] { return new Node; }, false);

}  // namespace quor
