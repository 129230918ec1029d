// A headless host, an empty current scene and a scratch folder for the sound tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "engine/sound_input/sound_device.h"
#include "platform/files.h"
#include "platform/headless/headless_host.h"
#include "platform/mixer.h"
#include "tests/platform/wave_test_files.h"

namespace soundtest {

class SoundFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::InstallHost(&host);
    savedScene_ = quor::CurrentGameNode;
    quor::CurrentGameNode = &scene;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = wavetest::ScratchDir(std::string(info->test_suite_name()) + "_" + info->name());
  }

  void TearDown() override {
    scene.sounds.DeleteAll();
    scene.streamedSounds.DeleteAll();
    scene.midiFiles.DeleteAll();
    quor::CurrentGameNode = savedScene_;
    platform::InstallHost(nullptr);
  }

  platform::Mixer& Mixer() { return host.Audio().GetMixer(); }

  std::string Wave(const std::string& name, const wavetest::Pcm& pcm,
                   const std::vector<uint8_t>& data) {
    std::string path = dir + "/" + name;
    EXPECT_TRUE(wavetest::WriteFile(path, wavetest::Wave(pcm, data)));
    return path;
  }

  std::string Raw(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string path = dir + "/" + name;
    EXPECT_TRUE(wavetest::WriteFile(path, bytes));
    return path;
  }

  // Moves the virtual clock on, running the streamed sounds' refill every frame as the main
  // loop does.
  void RunFrames(int frames, uint32_t msPerFrame = 16) {
    for (int i = 0; i < frames; ++i) {
      host.clock += msPerFrame;
      quor::GetSoundDevice()->UpdateStreamedSounds();
    }
  }

  platform::HeadlessHost host;
  quor::GameNode scene;
  std::string dir;

 private:
  quor::GameNode* savedScene_ = nullptr;
};

// Little-endian 16-bit samples of a byte vector.
inline std::vector<int16_t> Samples(const std::vector<uint8_t>& bytes) {
  std::vector<int16_t> out(bytes.size() / 2);
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  return out;
}

}  // namespace soundtest
