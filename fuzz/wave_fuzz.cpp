// Wave files as a scene's sounds use them: a sound effect and a streamed sound made from
// the file, played and streamed for a couple of seconds through the mixer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/sound.h"
#include "engine/sound_input/sound_device.h"
#include "engine/sound_input/streamed_sound.h"
#include "fuzz/made_once.h"
#include "platform/headless/headless_host.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

namespace {

struct Stage {
  platform::HeadlessHost host;
  testing_support::TempDir dir;
  quor::GameNode scene;
  Stage() {
    platform::InstallHost(&host);
    quor::CurrentGameNode = &scene;
    quor::GetSoundDevice();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Stage& stage = fuzzing::MadeOnce<Stage>();
  std::string path = stage.dir.File("input.wav");
  testing_support::WriteBytes(path, std::vector<uint8_t>(data, data + size));
  {
    quor::Sound effect("Effect", path.c_str(), 1, 50);
    quor::StreamedSound music("Music", path.c_str(), size % 2);
    effect.SetVolume(-300);
    music.SetPan(2000);
    effect.Play();
    music.Play();
    for (int frame = 0; frame < 12; ++frame) {
      stage.host.clock += 250;
      music.Update();
      if (frame == 5) effect.Play();
    }
    effect.Stop();
    music.Stop();
    music.Play();
    stage.host.clock += 100;
    music.Update();
  }
  stage.host.clock += 10;
  return 0;
}
