#include "engine/sound_input/sound_device.h"

#include <cstdio>

#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/midi_file.h"
#include "engine/sound_input/sound.h"
#include "engine/sound_input/streamed_sound.h"
#include "platform/audio_output.h"
#include "platform/files.h"
#include "platform/host.h"

namespace quor {

namespace {
bool deviceCreated = false;
}

SoundDevice::SoundDevice(uint32_t rate, uint32_t bits, uint32_t channelCount)
    : channels(channelCount), bitsPerSample(bits), sampleRate(rate) {
  if (deviceCreated) return;
  deviceCreated = true;
  if (platform::HasHost()) platform::CurrentHost().Audio().Start();
}

SoundDevice* GetSoundDevice() {
  static SoundDevice device(44100, 16, 2);
  // The host's output starts once; a host installed later (as tests do) starts its own.
  if (platform::HasHost()) platform::CurrentHost().Audio().Start();
  return &device;
}

platform::Mixer* GetDirectSound() {
  if (!deviceCreated || !platform::HasHost()) return nullptr;
  return &platform::CurrentHost().Audio().GetMixer();
}

void SoundDevice::PauseOrResumeAllSounds(bool resume) {
  GameNode* scene = CurrentGameNode;
  if (!scene) return;
  NodeList& streamedList = scene->streamedSounds;
  NodeList& soundList = scene->sounds;
  NodeList& midiList = scene->midiFiles;
  if (!resume) {
    for (Node* n = streamedList.GetHead(); n && !n->IsEnd(); n = n->GetNext()) {
      auto* s = static_cast<StreamedSound*>(n);
      if (s->IsPlaying()) {
        s->Pause();
        s->paused = 1;
      }
    }
    for (Node* n = soundList.GetHead(); n && !n->IsEnd(); n = n->GetNext()) {
      auto* s = static_cast<Sound*>(n);
      if (s->IsPlaying()) {
        s->Pause();
        s->paused = 1;
      }
    }
    for (Node* n = midiList.GetHead(); n && !n->IsEnd(); n = n->GetNext()) {
      auto* m = static_cast<MidiFile*>(n);
      if (m->IsPlaying()) {
        m->Pause();
        m->paused = 1;
      }
    }
    return;
  }
  for (Node* n = streamedList.GetHead(); n && !n->IsEnd(); n = n->GetNext()) {
    auto* s = static_cast<StreamedSound*>(n);
    if (s->IsBufferLost() && s->RestoreBuffer()) s->Refill();
    if (s->paused) {
      s->Play();
      s->paused = 0;
    }
  }
  for (Node* n = soundList.GetHead(); n && !n->IsEnd(); n = n->GetNext()) {
    auto* s = static_cast<Sound*>(n);
    if (s->IsBufferLost() && s->RestoreBuffer()) {
      s->Rewind();
      s->FillBuffer();
    }
    if (s->paused) {
      s->Play();
      s->paused = 0;
    }
  }
  for (Node* n = midiList.GetHead(); n && !n->IsEnd(); n = n->GetNext()) {
    auto* m = static_cast<MidiFile*>(n);
    if (m->paused) {
      m->Play();
      m->paused = 0;
    }
  }
}

void SoundDevice::UpdateStreamedSounds() {
  GameNode* scene = CurrentGameNode;
  if (!scene) return;
  NodeList& list = scene->streamedSounds;
  for (Node* n = list.GetHead(); n && !n->IsEnd(); n = n->GetNext())
    static_cast<StreamedSound*>(n)->Update();
}

bool FindSoundFile(const char* file, bool streamed, std::string& path) {
  // The program carries no wave resources, so the file always comes from the folder.
  path = std::string("Sounds/") + (file ? file : "");
  if (platform::FileExists(path)) return true;
  const char* kind = streamed ? "StreamedSound" : "Sound";
  std::string text = std::string("The ") + kind + " file " + path + " does not exist .";
  std::string caption = std::string(kind) + " error .";
  platform::CurrentHost().ShowMessageBox(text, caption, platform::MessageBoxIcon::Stop);
  QuitRequested = 1;
  return false;
}

}  // namespace quor
