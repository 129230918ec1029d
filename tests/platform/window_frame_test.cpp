#include "platform/window_frame.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/surface.h"

namespace platform {
namespace {

// The bytes of pixel (x, y) of the converted frame, in memory order.
void BytesAt(const WindowFrame& f, int x, int y, uint8_t out[3]) {
  std::memcpy(out, static_cast<const uint8_t*>(f.Pixels()) + y * f.Pitch() + x * 4, 3);
}

// The window's texture takes red, green and blue bytes in that order, so its upload is a
// plain copy; the gamma ramp is applied on the way, and a new size makes a new buffer.
TEST(WindowFrame, HoldsRedGreenBlueBytesWithTheRampApplied) {
  auto frame = Surface::Create(4, 2, PixelFormat::Rgb565());
  frame->Fill(nullptr, frame->MatchColor(0x0000FF));   // red
  frame->PutPixel(3, 1, frame->MatchColor(0xFF0000));  // blue
  WindowFrame converted;
  EXPECT_EQ(converted.Pixels(), nullptr);
  ASSERT_TRUE(converted.Convert(*frame, GammaTable::Identity()));
  uint8_t bytes[3];
  BytesAt(converted, 0, 0, bytes);
  EXPECT_EQ(bytes[0], 255);
  EXPECT_EQ(bytes[1], 0);
  EXPECT_EQ(bytes[2], 0);
  BytesAt(converted, 3, 1, bytes);
  EXPECT_EQ(bytes[0], 0);
  EXPECT_EQ(bytes[2], 255);

  GammaTable half = GammaTable::Identity();
  for (int i = 0; i < 256; ++i) half.red[i] = uint16_t(i / 2 * 255);
  ASSERT_TRUE(converted.Convert(*frame, half));
  BytesAt(converted, 0, 0, bytes);
  EXPECT_EQ(bytes[0], 127);
  BytesAt(converted, 3, 1, bytes);
  EXPECT_EQ(bytes[2], 255) << "the ramp of another channel changed blue";

  auto bigger = Surface::Create(6, 3, PixelFormat::Rgb565());
  ASSERT_TRUE(converted.Convert(*bigger, GammaTable::Identity()));
  EXPECT_EQ(converted.Width(), 6);
  EXPECT_EQ(converted.Height(), 3);
}

}  // namespace
}  // namespace platform
