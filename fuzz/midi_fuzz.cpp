// MIDI files as a scene's music plays them: read, played from the start and from a later
// tick, and heard for a moment through the synthesizer and the mixer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/made_once.h"
#include "platform/headless/headless_host.h"
#include "platform/midi_player.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

namespace {

struct Stage {
  platform::HeadlessHost host;
  testing_support::TempDir dir;
  // One performance for every input: the sound font is read once.
  platform::MidiPerformance performance{host.Audio().GetMixer()};
  Stage() { platform::InstallHost(&host); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Stage& stage = fuzzing::MadeOnce<Stage>();
  std::string path = stage.dir.File("input.mid");
  testing_support::WriteBytes(path, std::vector<uint8_t>(data, data + size));
  platform::MidiPerformance& music = stage.performance;
  if (!music.LoadSegment(path)) return 0;
  music.SetRepeats(size % 3);
  music.SetMasterVolume(-500);
  music.Play();
  for (int step = 0; step < 4; ++step) {
    stage.host.clock += 60;
    music.IsPlaying();
  }
  int32_t tick = music.CurrentTick();
  music.Stop();
  music.SetStartPoint(tick + 96);
  music.Play();
  stage.host.clock += 60;
  music.IsPlaying();
  music.Stop();
  return 0;
}
