// Saved transitions that are active with a style or mode that none of them knows would
// never end, and every scene switch would wait on them: loading refuses them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/core/object_stream.h"
#include "engine/display/transitions.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

void WriteWipe(const std::string& path, int32_t style, uint8_t active) {
  ObjectStream out(path, true);
  for (uint32_t v : {0x123456u, uint32_t(style), 2u, 10u}) out.WriteLong(v);
  out.WriteByte(active);
  for (float v : {32.0f, 0.0f, 0.0f, 0.0f}) out.WriteLong(v);
  out.WriteLong(int32_t(4));
}

void WriteFade(const std::string& path, int32_t mode, uint8_t active) {
  ObjectStream out(path, true);
  for (int32_t v : {mode, 2, 0, 10}) out.WriteLong(v);
  out.WriteByte(active);
  for (int i = 0; i < 3 * 256; ++i) out.WriteShort(uint16_t(i));
  out.WriteLong(25.5f);
  out.WriteByte(1);
}

TEST(TransitionLoad, AnActiveWipeOfAnUnknownStyleIsRefused) {
  testing_support::TempDir dir;
  for (int32_t style : {-1, 8, 1000}) {
    WriteWipe(dir.File("wipe.bin"), style, 1);
    OpenClose wipe;
    ObjectStream in(dir.File("wipe.bin"), false);
    wipe.Load(in);
    EXPECT_FALSE(in.Good()) << style;
    EXPECT_EQ(wipe.style, OpenClose::Idle);
    EXPECT_FALSE(wipe.IsActive());
  }
  // Idle records and known styles load.
  for (auto [style, active] : {std::pair<int32_t, uint8_t>{-1, 0}, {8, 0}, {7, 1}}) {
    WriteWipe(dir.File("wipe.bin"), style, active);
    OpenClose wipe;
    ObjectStream in(dir.File("wipe.bin"), false);
    wipe.Load(in);
    EXPECT_TRUE(in.Good()) << style;
    EXPECT_EQ(wipe.style, style);
    EXPECT_EQ(wipe.IsActive(), active);
    EXPECT_EQ(wipe.hold, 4);
  }
}

TEST(TransitionLoad, AnActiveFadeOfAnUnknownModeIsRefused) {
  testing_support::TempDir dir;
  for (int32_t mode : {-1, 3, -7}) {
    WriteFade(dir.File("fade.bin"), mode, 1);
    GammaRamp fade;
    ObjectStream in(dir.File("fade.bin"), false);
    fade.Load(in);
    EXPECT_FALSE(in.Good()) << mode;
    EXPECT_EQ(fade.mode, GammaRamp::Idle);
    EXPECT_FALSE(fade.IsActive());
  }
  for (auto [mode, active] : {std::pair<int32_t, uint8_t>{-1, 0}, {3, 0}, {GammaRamp::FadeOut, 1}}) {
    WriteFade(dir.File("fade.bin"), mode, active);
    GammaRamp fade;
    ObjectStream in(dir.File("fade.bin"), false);
    fade.Load(in);
    EXPECT_TRUE(in.Good()) << mode;
    EXPECT_EQ(fade.mode, mode);
    EXPECT_EQ(fade.IsActive(), active);
    EXPECT_EQ(fade.duration, 10);
  }
}

}  // namespace
}  // namespace quor
