#include "platform/midi_player.h"

#include <fluidsynth.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/files.h"
#include "platform/standard_midi_file.h"

namespace platform {

namespace {

// Debian's General MIDI sound fonts, by their installed paths, best first.
const char* const kSoundFonts[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf3/default-GM.sf3",
};

void QuietLog(int, const char*, void*) {}

// The synthesizer's warnings (a note without a preset, say) would flood the terminal when
// no sound font is installed; only its errors are worth showing.
void QuietenSynthLogOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  fluid_set_log_function(FLUID_WARN, QuietLog, nullptr);
  fluid_set_log_function(FLUID_INFO, QuietLog, nullptr);
  fluid_set_log_function(FLUID_DBG, QuietLog, nullptr);
}

}  // namespace

std::string MidiPerformance::FindSoundFont() {
  for (const char* path : kSoundFonts)
    if (FileExists(path)) return path;
  return "";
}

MidiPerformance::MidiPerformance(Mixer& mixer) : mixer_(&mixer) {
  QuietenSynthLogOnce();
  settings_ = new_fluid_settings();
  if (settings_) {
    fluid_settings_setnum(settings_, "synth.sample-rate", Mixer::kRate);
    fluid_settings_setint(settings_, "synth.cpu-cores", 1);
    // The player moves with the samples rendered, so music keeps the mixer's time.
    fluid_settings_setstr(settings_, "player.timing-source", "sample");
    synth_ = new_fluid_synth(settings_);
  }
  std::string font = FindSoundFont();
  if (synth_ && !font.empty()) {
    int id = fluid_synth_sfload(synth_, font.c_str(), 1);
    if (id != FLUID_FAILED) soundFont_ = id;
  }
  mixer_->AddSource(this);
}

MidiPerformance::~MidiPerformance() {
  mixer_->RemoveSource(this);
  if (player_) delete_fluid_player(player_);
  if (synth_) delete_fluid_synth(synth_);
  if (settings_) delete_fluid_settings(settings_);
}

bool MidiPerformance::LoadSegment(const std::string& path) {
  // Music files run to some hundreds of kilobytes; a file larger than this is refused as
  // a missing one is, before it is read.
  constexpr uint64_t kLargestFile = uint64_t{16} << 20;
  std::vector<uint8_t> bytes;
  // A file that cannot be read is an empty one, which no segment accepts.
  if (!ReadWholeFile(path, bytes, kLargestFile)) bytes.clear();
  std::lock_guard<std::mutex> guard(mixer_->Lock());
  mixer_->AdvanceLocked();
  StopLocked();
  segment_.clear();
  if (!ReadStandardMidiFile(bytes, segment_)) return false;
  startTick_ = 0;
  return true;
}

void MidiPerformance::SetRepeats(uint32_t repeats) {
  std::lock_guard<std::mutex> guard(mixer_->Lock());
  repeats_ = static_cast<int>(std::min<uint32_t>(repeats, INT_MAX - 1));
}

void MidiPerformance::SetStartPoint(int32_t tick) {
  std::lock_guard<std::mutex> guard(mixer_->Lock());
  startTick_ = std::max(tick, 0);
}

void MidiPerformance::Play() {
  std::lock_guard<std::mutex> guard(mixer_->Lock());
  mixer_->AdvanceLocked();
  if (!synth_ || segment_.empty()) return;
  StopLocked();
  player_ = new_fluid_player(synth_);
  if (!player_) return;
  if (fluid_player_add_mem(player_, segment_.data(), segment_.size()) != FLUID_OK) {
    delete_fluid_player(player_);
    player_ = nullptr;
    return;
  }
  // The player counts whole plays of the file.
  fluid_player_set_loop(player_, repeats_ + 1);
  fluid_player_play(player_);
  if (startTick_ > 0) {
    // The player takes a seek only once it has read its file, which happens in its first
    // rendered block; that block is not heard.
    float left[64], right[64];
    fluid_synth_write_float(synth_, 64, left, 0, 1, right, 0, 1);
    fluid_player_seek(player_, startTick_);
  }
}

void MidiPerformance::StopLocked() {
  if (player_) {
    fluid_player_stop(player_);
    delete_fluid_player(player_);
    player_ = nullptr;
  }
  if (synth_) fluid_synth_all_sounds_off(synth_, -1);
}

void MidiPerformance::Stop() {
  std::lock_guard<std::mutex> guard(mixer_->Lock());
  mixer_->AdvanceLocked();
  int32_t tick = player_ ? fluid_player_get_current_tick(player_) : startTick_;
  StopLocked();
  // The position stays readable after the stop, as where the music was.
  startTick_ = std::max(tick, 0);
}

bool MidiPerformance::IsPlaying() {
  std::lock_guard<std::mutex> guard(mixer_->Lock());
  mixer_->AdvanceLocked();
  return player_ && fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING;
}

int32_t MidiPerformance::CurrentTick() {
  std::lock_guard<std::mutex> guard(mixer_->Lock());
  mixer_->AdvanceLocked();
  if (!player_) return startTick_;
  return std::max(fluid_player_get_current_tick(player_), 0);
}

void MidiPerformance::SetMasterVolume(int32_t hundredths) {
  std::lock_guard<std::mutex> guard(mixer_->Lock());
  mixer_->AdvanceLocked();
  gain_ = AttenuationGain(std::clamp(hundredths, kSilentVolume, 0));
}

bool MidiPerformance::Audible() {
  return player_ && fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING;
}

void MidiPerformance::MixInto(int32_t* accumulator, size_t frames) {
  if (!synth_) return;
  left_.assign(frames, 0.0f);
  right_.assign(frames, 0.0f);
  fluid_synth_write_float(synth_, static_cast<int>(frames), left_.data(), 0, 1, right_.data(), 0,
                          1);
  for (size_t i = 0; i < frames; ++i) {
    float l = std::clamp(left_[i] * gain_, -1.0f, 1.0f);
    float r = std::clamp(right_[i] * gain_, -1.0f, 1.0f);
    accumulator[2 * i] += static_cast<int32_t>(std::lrint(l * 32767.0f));
    accumulator[2 * i + 1] += static_cast<int32_t>(std::lrint(r * 32767.0f));
  }
}

}  // namespace platform
