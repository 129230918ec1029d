#include "tools/runner/game_state.h"

#include "engine/scene/game_node.h"
#include "game/rules/game_variables.h"

namespace runner {

const GameVariable kGameVariables[kGameVariableCount] = {
    {"KeyCount", [] { return game::KeyCount; }},
    {"HeartCount", [] { return game::HeartCount; }},
    {"DirUp", [] { return game::DirUp; }},
    {"DirDown", [] { return game::DirDown; }},
    {"DirLeft", [] { return game::DirLeft; }},
    {"DirRight", [] { return game::DirRight; }},
    {"Facing", [] { return game::Facing; }},
    {"Stage", [] { return game::Stage; }},
    {"DemonLife", [] { return game::DemonLife; }},
    {"AttackFired", [] { return static_cast<int32_t>(game::AttackFired); }},
    {"TenmaLife", [] { return game::TenmaLife; }},
};

const GameVariable* FindGameVariable(const std::string& name) {
  for (const GameVariable& variable : kGameVariables)
    if (name == variable.name) return &variable;
  return nullptr;
}

std::string StateFields(const quor::GameNode* scene) {
  std::string line = "scene=";
  line += scene ? scene->GetName() : "none";
  for (const GameVariable& variable : kGameVariables)
    line += std::string(" ") + variable.name + "=" + std::to_string(variable.read());
  if (scene) {
    line += " sprites=";
    for (int layer = 0; layer < quor::GameNode::kLayerCount; ++layer) {
      if (layer) line += ',';
      line += std::to_string(scene->layers[layer].Count());
    }
  }
  return line;
}

int SpriteCount(const quor::GameNode* scene) {
  int count = 0;
  if (scene)
    for (const quor::NodeList& layer : scene->layers) count += layer.Count();
  return count;
}

}  // namespace runner
