#include "engine/display/open_close.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/core/object_stream.h"
#include "engine/display/display.h"
#include "platform/canvas_regions.h"

namespace quor {

namespace {

// Truncation toward zero that stays defined for any value a saved record can hold.
int Trunc(float v) {
  if (!(v > -2147483648.0f)) return INT32_MIN;
  if (v >= 2147483648.0f) return INT32_MAX;
  return int(v);
}

bool KnownStyle(int32_t style) {
  return style >= OpenClose::BarsCloseSides && style <= OpenClose::CircleOpens;
}

bool HoldsAtTheEnd(int32_t style) {
  return style == OpenClose::BarsCloseSides || style == OpenClose::BarsCloseTopBottom ||
         style == OpenClose::BarsOpenTopBottom || style == OpenClose::RectangleCloses ||
         style == OpenClose::CircleCloses;
}

}  // namespace

void OpenClose::Start(int32_t wipeStyle, uint32_t wipeColor, int32_t frames, int32_t holdFrames) {
  Reset();
  // An unknown style would never end and would hold a scene switch for good.
  if (!KnownStyle(wipeStyle)) return;
  float d = float(frames < 1 ? 1 : frames);
  float halfW = float(DisplayWidth / 2), halfH = float(DisplayHeight / 2);
  float halfDiagonal = std::sqrt(halfW * halfW + halfH * halfH);
  style = wipeStyle;
  color = wipeColor;
  duration = frames < 1 ? 1 : frames;
  hold = HoldsAtTheEnd(wipeStyle) ? holdFrames : 0;
  switch (wipeStyle) {
    case BarsCloseSides:
    case BarsOpenSides:
      step = halfW / d;
      break;
    case BarsCloseTopBottom:
    case BarsOpenTopBottom:
      step = halfH / d;
      break;
    case RectangleCloses:
    case RectangleOpens:
      xStep = halfW / d;
      yStep = halfH / d;
      break;
    case CircleCloses:
      radius = halfDiagonal;
      step = halfDiagonal / d;
      break;
    case CircleOpens:
      step = halfDiagonal / d;
      break;
    default:
      break;
  }
  active = 1;
}

void OpenClose::Step() {
  if (!KnownStyle(style)) return;
  int64_t end = HoldsAtTheEnd(style) ? int64_t(hold) + duration : int64_t(duration);
  if (end < counter) {
    Reset();
    return;
  }
  if (active && counter < INT32_MAX) ++counter;
  Draw();
}

void OpenClose::Draw() {
  if (!BackBuffer) return;
  platform::Canvas canvas(*BackBuffer);
  if (!canvas.Ready()) return;

  const int W = int(DisplayWidth), H = int(DisplayHeight);
  const float fw = float(DisplayWidth), fh = float(DisplayHeight);
  const float halfW = float(DisplayWidth / 2), halfH = float(DisplayHeight / 2);
  const float c = float(counter), n = float(std::min(counter, duration));
  const platform::Region screen = platform::Region::Rectangle(0, 0, W, H);
  auto fillLess = [&](const platform::Region& hole) {
    platform::FillRegion(canvas, platform::Region::Difference(screen, hole), color);
  };

  switch (style) {
    case BarsCloseSides:
      platform::FillRectangle(canvas, 0, 0, Trunc(n * step), H, color);
      platform::FillRectangle(canvas, Trunc(fw - n * step), 0, W, H, color);
      break;
    case BarsOpenSides:
      platform::FillRectangle(canvas, 0, 0, Trunc(halfW - c * step), H, color);
      platform::FillRectangle(canvas, Trunc(halfW + c * step), 0, W, H, color);
      break;
    case BarsCloseTopBottom:
      platform::FillRectangle(canvas, 0, 0, W, Trunc(n * step), color);
      platform::FillRectangle(canvas, 0, Trunc(fh - n * step), W, H, color);
      break;
    case BarsOpenTopBottom:
      platform::FillRectangle(canvas, 0, 0, W, Trunc(halfH - n * step), color);
      platform::FillRectangle(canvas, 0, Trunc(halfH + n * step), W, H, color);
      break;
    case RectangleCloses:
      if (counter > duration)
        platform::FillRegion(canvas, screen, color);
      else
        fillLess(platform::Region::Rectangle(Trunc(c * xStep), Trunc(c * yStep), Trunc(fw - c * xStep),
                                             Trunc(fh - c * yStep)));
      break;
    case RectangleOpens:
      fillLess(platform::Region::Rectangle(Trunc(halfW - c * xStep), Trunc(halfH - c * yStep),
                                           Trunc(halfW + c * xStep), Trunc(halfH + c * yStep)));
      break;
    case CircleCloses:
      if (counter >= duration) {
        platform::FillRegion(canvas, screen, color);
      } else {
        // The box is the circle of radius (radius - c * step) about the screen's centre.
        float a = float(Trunc(radius - halfW)), b = float(Trunc(radius - halfH));
        fillLess(platform::Region::Ellipse(Trunc(c * step - a), Trunc(c * step - b),
                                           Trunc(2 * radius - a - c * step),
                                           Trunc(2 * radius - b - c * step)));
      }
      break;
    case CircleOpens:
      fillLess(platform::Region::Ellipse(Trunc(halfW - c * step), Trunc(halfH - c * step),
                                         Trunc(halfW + c * step), Trunc(halfH + c * step)));
      break;
    default:
      break;
  }
}

void OpenClose::Reset() {
  style = Idle;
  radius = 0;
  counter = 0;
  duration = 0;
  active = 0;
  step = xStep = yStep = 0;
  hold = 0;
  color = 0xFFFFFF;
}

void OpenClose::Save(ObjectStream& stream) {
  stream.WriteLong(color);
  stream.WriteLong(style);
  stream.WriteLong(counter);
  stream.WriteLong(duration);
  stream.WriteByte(active);
  stream.WriteLong(step);
  stream.WriteLong(xStep);
  stream.WriteLong(yStep);
  stream.WriteLong(radius);
  stream.WriteLong(hold);
}

void OpenClose::Load(ObjectStream& stream) {
  OpenClose read(*this);
  stream.ReadLong(&read.color);
  stream.ReadLong(&read.style);
  stream.ReadLong(&read.counter);
  stream.ReadLong(&read.duration);
  stream.ReadByte(&read.active);
  stream.ReadLong(&read.step);
  stream.ReadLong(&read.xStep);
  stream.ReadLong(&read.yStep);
  stream.ReadLong(&read.radius);
  stream.ReadLong(&read.hold);
  // An active wipe of an unknown style would never end and would hold every scene switch.
  if (read.active && !KnownStyle(read.style)) stream.MarkFailed();
  if (!stream.Good()) return;
  *this = read;
}

}  // namespace quor
