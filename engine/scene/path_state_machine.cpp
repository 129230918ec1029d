#include "engine/scene/game_tables.h"
#include "engine/core/object_stream.h"
#include "engine/scene/state_machine.h"

namespace quor {

PathStateMachine::PathStateMachine(int32_t n, uint32_t m, uint32_t initial)
    : StateMachine(n < 0 ? 0u : static_cast<uint32_t>(n), initial) {
  const int32_t count = static_cast<int32_t>(m) < 0 ? 0 : static_cast<int32_t>(m);
  nodeCount_ = count;
  const size_t nodes = static_cast<size_t>(count);
  pathTable0_.assign(nodes * nodes, -1);
  pathTable1_.assign(nodes * nodes, -1);
  edgeWeights_.assign(nodes * nodes, -1.0f);
  for (size_t i = 0; i < nodes; ++i) {
    pathTable0_[i * nodes + i] = 0;
    pathTable1_[i * nodes + i] = 0;
    edgeWeights_[i * nodes + i] = 0.0f;
  }
  nodeWords_.assign(nodes, -1);
  nodeCoordinates_.assign(2 * nodes, -1.0f);
  nodeBytes_.assign(nodes, 0);
}

// Every graph member is a value, so the member-wise copy is the deep one; the state machine
// part copies itself deeply.
PathStateMachine::PathStateMachine(const PathStateMachine& other) = default;
PathStateMachine& PathStateMachine::operator=(const PathStateMachine& other) = default;

PathStateMachine::~PathStateMachine() { ClearPaths(); }

void PathStateMachine::ClearPaths() {
  Clear();
  pathTable0_.clear();
  pathTable1_.clear();
  nodeWords_.clear();
  nodeCoordinates_.clear();
  nodeBytes_.clear();
  edgeWeights_.clear();
  nodeCount_ = 0;
}

void PathStateMachine::CopyFromPathTable(int32_t index) {
  const PathStateMachine* source = SelectPathStateMachine(index);
  if (source)
    *this = *source;
  else
    *this = PathStateMachine();
}

void PathStateMachine::Save(ObjectStream& stream) {
  StateMachine::Save(stream);
  stream.WriteLong(nodeCount_);
  stream.WriteByte(graphByte_);
  stream.WriteLong(graphValue_);
  stream.WriteByte(enabled_);
  for (int32_t i = 0; i < nodeCount_; ++i) {
    stream.WriteLong(nodeWords_[i]);
    stream.WriteByte(nodeBytes_[i]);
  }
}

void PathStateMachine::Load(ObjectStream& stream) {
  StateMachine::Load(stream);
  int32_t count = 0;
  uint8_t graphByte = 0;
  uint32_t graphValue = 0;
  uint8_t enabled = 0;
  stream.ReadLong(&count);
  stream.ReadByte(&graphByte);
  stream.ReadLong(&graphValue);
  stream.ReadByte(&enabled);
  if (!stream.Good()) return;
  // The node arrays come from the template; a file with another node count would read
  // past them.
  if (count != nodeCount_) {
    stream.MarkFailed();
    return;
  }
  std::vector<int32_t> words(nodeWords_);
  std::vector<uint8_t> bytes(nodeBytes_);
  for (int32_t i = 0; i < count; ++i) {
    stream.ReadLong(&words[i]);
    stream.ReadByte(&bytes[i]);
  }
  if (!stream.Good()) return;
  graphByte_ = graphByte;
  graphValue_ = graphValue;
  enabled_ = enabled;
  nodeWords_ = std::move(words);
  nodeBytes_ = std::move(bytes);
}

}  // namespace quor
