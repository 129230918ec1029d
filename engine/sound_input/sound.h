// Stand-in until its own issue lands: the class, registered, with no state of its own.
#pragma once

#include "engine/app/class_record.h"
#include "engine/app/node.h"
#include "engine/sound_input/sound_base.h"

namespace quor {

class Sound : public SoundBase {
 public:
  Node* Clone() const override { return new Sound(*this); }
  const ClassRecord& GetClassRecord() const override { return SoundClassRecord; }
};

}  // namespace quor
