#include "engine/sound_input/midi_file.h"

#include <algorithm>

#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/sound_input/saved_name.h"
#include "engine/sound_input/sound_device.h"
#include "platform/midi_player.h"

namespace quor {

MidiFile DefaultMidiFile;

MidiFile::MidiFile() = default;

MidiFile::~MidiFile() {
  if (IsPlaying()) Stop();
  performance.reset();
}

void MidiFile::Play() {
  wanted = 1;
  // A track whose file could not be read has no segment and is never played.
  if (!performance || !segment || performance->IsPlaying()) return;
  performance->Play();
}

void MidiFile::Stop() {
  wanted = 0;
  if (!performance || !segment) return;
  performance->Stop();
  performance->SetStartPoint(0);
  pauseTime = 0;
}

void MidiFile::Pause() {
  wanted = 0;
  if (!performance || !segment) return;
  performance->Stop();
  // The position inside the track, so that a resume carries on where it was.
  pauseTime = performance->CurrentTick();
  performance->SetStartPoint(pauseTime);
}

void MidiFile::SetVolume(int32_t hundredths) {
  if (!performance) return;
  performance->SetMasterVolume(hundredths);
  volume = hundredths;
}

bool MidiFile::IsPlaying() { return performance && segment && performance->IsPlaying(); }

void MidiFile::Save(ObjectStream& stream) {
  WriteFixedName(stream, name);
  WriteFixedName(stream, file);
  stream.WriteByte(looping);
  stream.WriteByte(paused);
  stream.WriteLong(spare);
  stream.WriteLong(volume);
  stream.WriteByte(wanted);
  stream.WriteLong(pauseTime);
}

void MidiFile::Load(ObjectStream& stream) {
  std::string readName = ReadFixedName(stream);
  std::string readFile = ReadFixedName(stream);
  uint8_t readLooping = 0, readPaused = 0, readWanted = 0;
  uint32_t readSpare = 0;
  int32_t readVolume = 0, readPause = 0;
  stream.ReadByte(&readLooping);
  stream.ReadByte(&readPaused);
  stream.ReadLong(&readSpare);
  stream.ReadLong(&readVolume);
  stream.ReadByte(&readWanted);
  stream.ReadLong(&readPause);
  if (!stream.Good()) return;
  name = readName;
  file = readFile;
  looping = readLooping ? 1 : 0;
  paused = readPaused ? 1 : 0;
  spare = 0;
  volume = readVolume;
  pauseTime = std::max(readPause, 0);

  GetSoundDevice();
  platform::Mixer* mixer = GetDirectSound();
  if (!mixer) return;
  performance = std::make_unique<platform::MidiPerformance>(*mixer);
  segment = !file.empty() && performance->LoadSegment("Sounds/" + file);
  if (segment) {
    performance->SetRepeats(looping ? kLoopRepeats : 0);
    if (pauseTime != 0) performance->SetStartPoint(pauseTime);
    if (volume != 0) SetVolume(volume);
  }
  // As a wave sound: a loaded track waits for the pause of a paused game to end.
  if (paused || readWanted) {
    paused = Paused ? 1 : 0;
    if (!Paused) Play();
  }
}

}  // namespace quor
