#include "platform/window_frame.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
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

// Every 16-bit value shows as SDL converts it into the window's format and the ramp then
// maps each byte, whichever way the conversion goes. Rows of 250 pixels leave 26 over a
// multiple of 32, which a vector loop does not cover.
TEST(WindowFrame, ShowsEverySixteenBitValueAsSdlConvertsItThroughTheRamp) {
  GammaTable curved;
  for (int i = 0; i < 256; ++i) {
    curved.red[i] = uint16_t((255 - i) * 255);
    curved.green[i] = uint16_t(std::min(65535, i * i));
    curved.blue[i] = uint16_t(i * 128);
  }
  constexpr int kWidth = 250, kHeight = 263;  // every value at least once
  for (const PixelFormat& format : {PixelFormat::Rgb565(), PixelFormat::Rgb555()}) {
    auto frame = Surface::Create(kWidth, kHeight, format);
    SDL_Surface* plain = SDL_CreateRGBSurface(0, kWidth, kHeight, 16, format.redMask,
                                              format.greenMask, format.blueMask, 0);
    SDL_Surface* expected =
        SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, WindowFrame::PixelFormat());
    ASSERT_TRUE(frame && plain && expected);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const uint16_t p = uint16_t(y * kWidth + x);
        frame->PutPixel(x, y, p);
        std::memcpy(static_cast<uint8_t*>(plain->pixels) + y * plain->pitch + x * 2, &p, 2);
      }
    ASSERT_EQ(SDL_BlitSurface(plain, nullptr, expected, nullptr), 0);
    for (const GammaTable& ramp : {GammaTable::Identity(), curved}) {
      const uint16_t* channels[3] = {ramp.red, ramp.green, ramp.blue};
      WindowFrame converted;
      ASSERT_TRUE(converted.Convert(*frame, ramp));
      int wrong = 0;
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
          uint8_t bytes[3];
          BytesAt(converted, x, y, bytes);
          const uint8_t* sdl =
              static_cast<uint8_t*>(expected->pixels) + y * expected->pitch + x * 4;
          for (int c = 0; c < 3; ++c)
            if (bytes[c] != GammaTable::Level(channels[c][sdl[c]]) && ++wrong <= 5)
              ADD_FAILURE() << "value " << y * kWidth + x << " channel " << c << ": "
                            << int(bytes[c]) << " shown";
        }
      EXPECT_EQ(wrong, 0) << "red mask " << format.redMask;
    }
    SDL_FreeSurface(plain);
    SDL_FreeSurface(expected);
  }
}

}  // namespace
}  // namespace platform
