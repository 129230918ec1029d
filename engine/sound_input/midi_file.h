// A scene's MIDI track: its own performance on the sound device, one segment read from
// "Sounds", a loop flag, a resume point, a master volume, and pause and resume. Tracks are
// made only by loading a saved scene.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/core/class_record.h"
#include "engine/core/node.h"

namespace platform {
class MidiPerformance;
}

namespace quor {

class MidiFile : public Node {
 public:
  // A looping track plays this many times again after its first time.
  static constexpr uint32_t kLoopRepeats = 100000;

  MidiFile();
  MidiFile(const MidiFile&) = delete;
  MidiFile& operator=(const MidiFile&) = delete;
  ~MidiFile() override;

  void Load(ObjectStream& stream) override;
  void Save(ObjectStream& stream) override;
  const ClassRecord& GetClassRecord() const override { return MidiFileClassRecord; }

  // Plays from the pause time unless already playing.
  void Play();
  // Stops and rewinds to the start.
  void Stop();
  // Stops and keeps the position as the next start.
  void Pause();
  void SetVolume(int32_t hundredths);
  bool IsPlaying();
  bool HasSegment() const { return segment; }

  // --- fields, in the order they are documented ---
  std::unique_ptr<platform::MidiPerformance> performance;
  bool segment = false;  // the performance holds the loaded track
  uint8_t looping = 0;
  uint8_t paused = 0;
  uint8_t wanted = 0;
  uint32_t spare = 0;
  int32_t volume = 0;
  int32_t pauseTime = 0;
  std::string name;
  std::string file;
};

// Built before the program's entry and destroyed at exit; nothing refers to it.
extern MidiFile DefaultMidiFile;

}  // namespace quor
