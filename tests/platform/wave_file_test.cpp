#include "platform/wave_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/platform/wave_test_files.h"

namespace {

using platform::WaveChunk;
using platform::WaveFile;
using platform::WaveFormat;
using namespace wavetest;

struct Opened {
  WaveFile file;
  WaveChunk riff, data;
  WaveFormat format;
  bool header = false;
  bool dataFound = false;
};

void Load(const std::string& dir, const std::vector<uint8_t>& bytes, Opened& o) {
  std::string path = dir + "/w.wav";
  ASSERT_TRUE(WriteFile(path, bytes));
  ASSERT_TRUE(o.file.Open(path));
  o.header = platform::ReadWaveHeader(o.file, o.riff, o.format);
  if (o.header) o.dataFound = platform::StartWaveDataRead(o.file, o.data, o.riff);
}

TEST(WaveFile, ReadsPcmHeaderAndDataAfterOtherChunks) {
  std::string dir = ScratchDir("wave_pcm");
  std::vector<uint8_t> fmt = FormatBytes({1, 22050, 8});
  fmt.push_back(0);  // a longer "fmt " chunk: its tail is skipped
  fmt.push_back(0);
  std::vector<uint8_t> data = Pattern(101);
  std::vector<uint8_t> chunks;
  Chunk(chunks, "LIST", Pattern(7));  // odd size: padded
  Chunk(chunks, "fmt ", fmt);
  Chunk(chunks, "fact", {1, 2, 3, 4});
  Chunk(chunks, "data", data);
  Opened o;
  Load(dir, Riff(chunks), o);
  ASSERT_TRUE(o.header);
  EXPECT_EQ(o.format.formatTag, 1);
  EXPECT_EQ(o.format.channels, 1);
  EXPECT_EQ(o.format.samplesPerSecond, 22050u);
  EXPECT_EQ(o.format.bitsPerSample, 8);
  EXPECT_TRUE(o.format.extra.empty());
  EXPECT_TRUE(o.format.IsPlayablePcm());
  ASSERT_TRUE(o.dataFound);
  EXPECT_EQ(o.data.size, 101u);

  std::vector<uint8_t> got(200, 0xEE);
  uint32_t read = 0;
  EXPECT_TRUE(platform::ReadWaveData(o.file, 60, got.data(), o.data, read));
  EXPECT_EQ(read, 60u);
  EXPECT_EQ(o.data.size, 41u);
  EXPECT_TRUE(platform::SkipWaveData(o.file, 1, o.data));
  EXPECT_TRUE(platform::ReadWaveData(o.file, 1000, got.data() + 61, o.data, read));
  EXPECT_EQ(read, 40u);
  EXPECT_EQ(o.data.size, 0u);
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 60, got.begin()));
  EXPECT_TRUE(std::equal(data.begin() + 61, data.end(), got.begin() + 61));
  // An exhausted chunk reads nothing, without failing.
  EXPECT_TRUE(platform::ReadWaveData(o.file, 10, got.data(), o.data, read));
  EXPECT_EQ(read, 0u);
  // A second start reads the whole data again.
  ASSERT_TRUE(platform::StartWaveDataRead(o.file, o.data, o.riff));
  EXPECT_EQ(o.data.size, 101u);
}

TEST(WaveFile, NonPcmFormatKeepsItsExtraBytes) {
  std::string dir = ScratchDir("wave_extra");
  std::vector<uint8_t> fmt = FormatBytes({1, 8000, 4}, 2);
  Put16(fmt, 3);
  fmt.insert(fmt.end(), {7, 8, 9});
  std::vector<uint8_t> chunks;
  Chunk(chunks, "fmt ", fmt);
  Chunk(chunks, "data", Pattern(10));
  Opened o;
  Load(dir, Riff(chunks), o);
  ASSERT_TRUE(o.header);
  EXPECT_EQ(o.format.formatTag, 2);
  EXPECT_EQ(o.format.extra, (std::vector<uint8_t>{7, 8, 9}));
  EXPECT_FALSE(o.format.IsPlayablePcm());

  // Two extra-size bytes of 0: no extra bytes.
  std::vector<uint8_t> fmt0 = FormatBytes({1, 8000, 4}, 2);
  Put16(fmt0, 0);
  chunks.clear();
  Chunk(chunks, "fmt ", fmt0);
  Chunk(chunks, "data", Pattern(10));
  Opened o2;
  Load(dir, Riff(chunks), o2);
  ASSERT_TRUE(o2.header);
  EXPECT_TRUE(o2.format.extra.empty());
  // Extra bytes that would run out of the chunk break the header.
  std::vector<uint8_t> fmtBad = FormatBytes({1, 8000, 4}, 2);
  Put16(fmtBad, 40000);
  chunks.clear();
  Chunk(chunks, "fmt ", fmtBad);
  Chunk(chunks, "data", Pattern(10));
  Opened o3;
  Load(dir, Riff(chunks), o3);
  EXPECT_FALSE(o3.header);
}

TEST(WaveFile, MalformedFilesFailCleanly) {
  std::string dir = ScratchDir("wave_bad");
  std::vector<uint8_t> good = Wave({}, Pattern(400));
  {
    Opened o;  // a "fmt " chunk of 14 bytes
    std::vector<uint8_t> fmt = FormatBytes({});
    fmt.resize(14);
    std::vector<uint8_t> chunks;
    Chunk(chunks, "fmt ", fmt);
    Chunk(chunks, "data", Pattern(8));
    Load(dir, Riff(chunks), o);
    EXPECT_FALSE(o.header);
  }
  {
    Opened o;  // another form type
    std::vector<uint8_t> chunks;
    Chunk(chunks, "fmt ", FormatBytes({}));
    Load(dir, Riff(chunks, "AVI "), o);
    EXPECT_FALSE(o.header);
  }
  {
    Opened o;  // no "data": the header reads, the data start fails
    std::vector<uint8_t> chunks;
    Chunk(chunks, "fmt ", FormatBytes({}));
    Load(dir, Riff(chunks), o);
    EXPECT_TRUE(o.header);
    EXPECT_FALSE(o.dataFound);
  }
  {
    Opened o;  // no "fmt "
    std::vector<uint8_t> chunks;
    Chunk(chunks, "data", Pattern(8));
    Load(dir, Riff(chunks), o);
    EXPECT_FALSE(o.header);
  }
  // Every truncation of a good file fails or reads only what is there.
  for (size_t cut = 0; cut < 60; ++cut) {
    Opened o;
    Load(dir, std::vector<uint8_t>(good.begin(), good.begin() + cut), o);
    if (o.dataFound) {
      EXPECT_LE(o.data.size, cut);
    }
  }
  {
    Opened o;  // "fmt " claims more than the file
    std::vector<uint8_t> chunks;
    Chunk(chunks, "fmt ", FormatBytes({}), 0x7FFFFFF0);
    Load(dir, Riff(chunks, "WAVE", 0xFFFFFFF0), o);
    EXPECT_TRUE(o.header);  // its 16 bytes are there
    EXPECT_FALSE(o.dataFound);
  }
  {
    Opened o;  // a data chunk and a RIFF chunk far larger than the file are cut to it
    std::vector<uint8_t> chunks;
    Chunk(chunks, "fmt ", FormatBytes({}));
    Chunk(chunks, "data", Pattern(40), 0xFFFFFF00);
    Load(dir, Riff(chunks, "WAVE", 0xFFFFFFF0), o);
    ASSERT_TRUE(o.dataFound);
    EXPECT_EQ(o.data.size, 40u);
    std::vector<uint8_t> got(100);
    uint32_t read = 0;
    EXPECT_TRUE(platform::ReadWaveData(o.file, 100, got.data(), o.data, read));
    EXPECT_EQ(read, 40u);
  }
  WaveFile missing;
  EXPECT_FALSE(missing.Open(dir + "/nothing.wav"));
  // Neither a folder nor a pipe is a wave file; the pipe used to hold the open until a
  // writer came.
  EXPECT_FALSE(missing.Open(dir));
  ASSERT_EQ(mkfifo((dir + "/pipe.wav").c_str(), 0600), 0);
  EXPECT_FALSE(missing.Open(dir + "/pipe.wav"));
}

TEST(WaveFile, PlayableFormatsAgreeWithThemselves) {
  WaveFormat f;
  f.formatTag = 1;
  f.channels = 2;
  f.bitsPerSample = 16;
  f.samplesPerSecond = 44100;
  f.blockAlign = 4;
  f.averageBytesPerSecond = 176400;
  EXPECT_TRUE(f.IsPlayablePcm());
  WaveFormat huge = f;
  huge.averageBytesPerSecond = 0xFFFFFFFF;
  EXPECT_FALSE(huge.IsPlayablePcm());
  WaveFormat badAlign = f;
  badAlign.blockAlign = 3;
  EXPECT_FALSE(badAlign.IsPlayablePcm());
  WaveFormat six = f;
  six.channels = 6;
  six.blockAlign = 12;
  six.averageBytesPerSecond = 44100 * 12;
  EXPECT_FALSE(six.IsPlayablePcm());
}

}  // namespace
