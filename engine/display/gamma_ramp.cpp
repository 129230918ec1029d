#include "engine/display/gamma_ramp.h"

#include <cstdint>

#include "engine/core/object_stream.h"
#include "engine/display/display.h"

namespace quor {

namespace {

// A ramp entry from its product: the display takes 16 bits, so larger products (a scale
// that overshoots) stay at full brightness instead of wrapping round to dark.
uint16_t RampEntry(float product) {
  if (!(product > 0)) return 0;
  if (product >= 65535.0f) return 65535;
  return uint16_t(product);
}

void WriteRamp(ObjectStream& stream, const platform::GammaTable& ramp) {
  for (uint16_t v : ramp.red) stream.WriteShort(v);
  for (uint16_t v : ramp.green) stream.WriteShort(v);
  for (uint16_t v : ramp.blue) stream.WriteShort(v);
}

void ReadRamp(ObjectStream& stream, platform::GammaTable& ramp) {
  for (uint16_t& v : ramp.red) stream.ReadShort(&v);
  for (uint16_t& v : ramp.green) stream.ReadShort(&v);
  for (uint16_t& v : ramp.blue) stream.ReadShort(&v);
}

bool KnownMode(int32_t mode) {
  return mode == GammaRamp::Wait || mode == GammaRamp::FadeIn || mode == GammaRamp::FadeOut;
}

}  // namespace

GammaRamp::GammaRamp()
    : savedRamp(platform::GammaTable::Identity()), workingRamp(platform::GammaTable::Identity()) {}

void GammaRamp::ClearState() {
  counter = duration = hold = 0;
  active = 0;
  mode = Idle;
  scale = 0;
  restore = 1;
}

void GammaRamp::Start(int32_t startMode, int32_t frames, int32_t holdFrames, uint8_t restoreAtEnd) {
  // An unknown mode would never end and would hold a scene switch for good.
  if (!KnownMode(startMode)) return;
  mode = startMode;
  duration = frames < 1 ? 1 : frames;
  hold = startMode == FadeOut ? holdFrames : 0;
  restore = startMode == FadeOut ? restoreAtEnd : 1;
  // Full brightness at a whole duration: a fade in ends on the identity ramp.
  scale = 255.0f / float(duration);
  counter = 0;
  active = 1;
}

void GammaRamp::WriteScaled(int64_t frames) {
  for (int i = 0; i < 256; ++i) {
    uint16_t v = RampEntry(float(int64_t(i) * frames) * scale);
    workingRamp.red[i] = workingRamp.green[i] = workingRamp.blue[i] = v;
  }
  GammaControl->SetGammaRamp(workingRamp);
}

void GammaRamp::Step() {
  if (!GammaControl) {
    ClearState();
    return;
  }
  int64_t count = counter;
  switch (mode) {
    case Wait:
      if (duration < count)
        Reset();
      else if (active && counter < INT32_MAX)
        ++counter;
      break;
    case FadeIn:
      if (int64_t(duration) - 1 < count) {
        Reset();
      } else if (active && counter < INT32_MAX) {
        ++counter;
        WriteScaled(counter);
      }
      break;
    case FadeOut:
      if (int64_t(hold) + duration < count) {
        Reset();
      } else if (active && counter < INT32_MAX) {
        ++counter;
        if (counter < duration) WriteScaled(int64_t(duration) - counter);
      }
      break;
    default:
      break;
  }
}

void GammaRamp::Reset() {
  if (GammaControl && !(mode == FadeOut && restore == 0)) GammaControl->SetGammaRamp(savedRamp);
  ClearState();
}

void GammaRamp::Save(ObjectStream& stream) {
  stream.WriteLong(mode);
  stream.WriteLong(counter);
  stream.WriteLong(hold);
  stream.WriteLong(duration);
  stream.WriteByte(active);
  WriteRamp(stream, workingRamp);
  stream.WriteLong(scale);
  stream.WriteByte(restore);
}

void GammaRamp::Load(ObjectStream& stream) {
  GammaRamp read(*this);
  stream.ReadLong(&read.mode);
  stream.ReadLong(&read.counter);
  stream.ReadLong(&read.hold);
  stream.ReadLong(&read.duration);
  stream.ReadByte(&read.active);
  ReadRamp(stream, read.workingRamp);
  stream.ReadLong(&read.scale);
  stream.ReadByte(&read.restore);
  // An active fade of an unknown mode would never end and would hold every scene switch.
  if (read.active && !KnownMode(read.mode)) stream.MarkFailed();
  if (!stream.Good()) return;
  mode = read.mode;
  counter = read.counter;
  hold = read.hold;
  duration = read.duration;
  active = read.active;
  workingRamp = read.workingRamp;
  scale = read.scale;
  restore = read.restore;
}

}  // namespace quor
