#include "platform/standard_midi_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_host.h"
#include "platform/midi_player.h"
#include "tests/support/sample_files.h"
#include "tests/support/temp_dir.h"

namespace {

// True when the reader accepts the file.
bool IsWellFormedMidiFile(const std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> playable;
  return platform::ReadStandardMidiFile(bytes, playable);
}

// The tiny file's track starts after the 14-byte header and the 8-byte track header.
constexpr size_t kTrack = 22;

std::vector<uint8_t> With(std::vector<uint8_t> bytes, size_t at, std::vector<uint8_t> value) {
  for (size_t i = 0; i < value.size(); ++i) bytes[at + i] = value[i];
  return bytes;
}

TEST(StandardMidiFile, RealFilesAreWellFormed) {
  EXPECT_TRUE(IsWellFormedMidiFile(testing_support::TinyMidi()));
  // Running status, and a chunk of another kind before the track.
  std::vector<uint8_t> running = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x80 | 0x67, 40,
                                  'X', 'Y', 'Z', 'W', 0, 0, 0, 1, 7,
                                  'M', 'T', 'r', 'k', 0, 0, 0, 14,
                                  0, 0x90, 60, 100, 10, 62, 100, 0, 0xFF, 0x2F, 0, 1, 2, 3};
  running[12] = 0xE7;  // 25 frames a second, 40 ticks a frame
  EXPECT_TRUE(IsWellFormedMidiFile(running));
}

// The tiny file with one field changed, each a file the synthesizer must never see.
TEST(StandardMidiFile, DamagedHeadersTracksAndEventsAreRefused) {
  const std::vector<uint8_t> good = testing_support::TinyMidi();
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"not a header", With(good, 0, {'R', 'I', 'F', 'F'})},
      {"short header", With(good, 4, {0, 0, 0, 4})},
      {"format 3", With(good, 8, {0, 3})},
      {"no tracks", With(good, 10, {0, 0})},
      {"format 0 of two tracks", With(good, 10, {0, 2})},
      {"division 0", With(good, 12, {0, 0})},
      {"23 frames a second", With(good, 12, {0xE9, 10})},
      {"track longer than the file", With(good, 18, {0, 0, 1, 0})},
      {"track named but missing", With(good, 14, {'M', 'T', 'r', 'x'})},
      {"data byte with the top bit", With(good, kTrack + 5, {0x90})},
      {"running status with none before", With(good, kTrack + 1, {0x40})},
      {"a five-byte delta", With(good, kTrack + 7, {0x83, 0x80, 0x80, 0x80, 0x80})},
      {"meta longer than the track", With(good, kTrack + 15, {0x7F})},
      {"a real-time message", With(good, kTrack + 1, {0xF8})},
      {"cut inside an event", std::vector<uint8_t>(good.begin(), good.end() - 5)},
  };
  for (const Case& c : cases) EXPECT_FALSE(IsWellFormedMidiFile(c.bytes)) << c.what;
}

// Chunks of other kinds are legal between tracks, but the synthesizer reads any chunk
// after the header as a track header and looped for ever on two of them in a row: what it
// is given holds the header and the tracks alone.
TEST(StandardMidiFile, TheSynthesizerIsGivenTheHeaderAndTracksAlone) {
  const std::vector<uint8_t> good = testing_support::TinyMidi();
  std::vector<uint8_t> file(good.begin(), good.begin() + 14);
  file[7] = 8;  // a header two bytes longer than its six
  file.insert(file.end(), {0, 0});
  // Two chunks of no known kind (the second one's id not even letters), then the track.
  file.insert(file.end(), {0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xF8, 0, 0, 0, 2, 'a', 'b'});
  file.insert(file.end(), good.begin() + 14, good.end());
  file.insert(file.end(), {'t', 'a', 'i', 'l'});
  std::vector<uint8_t> playable;
  ASSERT_TRUE(platform::ReadStandardMidiFile(file, playable));
  EXPECT_EQ(playable, good);
}

// The file the fuzzer found: two empty tracks with two such chunks between them. It used
// to hang the game inside the synthesizer's first block.
TEST(StandardMidiFile, TwoForeignChunksInARowPlayAndEnd) {
  std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0, 0x60,
                               'M', 'T', 'r', 'k', 0, 0, 0, 0,
                               0, 0, 0, 0, 0, 0, 0, 0,
                               0xFF, 0xFF, 0xFF, 0xF8, 0, 0, 0, 0,
                               'M', 'T', 'r', 'k', 0, 0, 0, 0};
  testing_support::TempDir dir;
  testing_support::WriteBytes(dir.File("hang.mid"), file);
  platform::HeadlessHost host;
  platform::InstallHost(&host);
  {
    platform::MidiPerformance music(host.Audio().GetMixer());
    ASSERT_TRUE(music.LoadSegment(dir.File("hang.mid")));
    music.Play();
    host.clock += 200;
    music.IsPlaying();
    music.Stop();
  }
  platform::InstallHost(nullptr);
}

}  // namespace
