// Secret doors, spotlight and blob stopper; the exit door; the covers; the wall.
#include "game/animation/animation_data.h"

namespace game {

constexpr EntryData kDoorsSet{};
constexpr EntryData kDoorSet{};
constexpr EntryData kCoversSet{};
constexpr EntryData kWallSet{};

}  // namespace game
