// What the runner shows of the running game: the current scene, the eleven game variables
// and the number of sprites in each layer, as one line of name=value fields.
#pragma once

#include <cstdint>
#include <string>

namespace quor {
class GameNode;
}

namespace runner {

struct GameVariable {
  const char* name;
  int32_t (*read)();
};

// The eleven variables, in the order a saved game holds them.
constexpr int kGameVariableCount = 11;
extern const GameVariable kGameVariables[kGameVariableCount];

// The variable of that exact name, or null.
const GameVariable* FindGameVariable(const std::string& name);

// "scene=NAME KeyCount=0 ... TenmaLife=19 sprites=0,0,...,0" (sixteen layer counts, layer 0
// first); a run without a scene shows scene=none and no sprites.
std::string StateFields(const quor::GameNode* scene);

// All the scene's sprites, every layer.
int SpriteCount(const quor::GameNode* scene);

}  // namespace runner
