// Text effects: the box's display text is rebuilt from the effect source at every step,
// and the drawing shows whatever the display text holds.
#include <cstdlib>
#include <cstring>

#include "engine/core/random.h"
#include "engine/display/variable.h"
#include "engine/display/variable_links.h"

namespace quor {

namespace {

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetterOrDigit(char c) { return IsUpper(c) || IsLower(c) || IsDigit(c); }
bool IsWhite(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The two-character line-break mark: a backslash followed by "n".
bool IsBreakMark(const char* text, size_t i, size_t n) {
  return i + 1 < n && text[i] == '\\' && text[i + 1] == 'n';
}

// Either character of a line-break mark.
bool InBreakMark(const char* text, size_t i, size_t n) {
  return IsBreakMark(text, i, n) || (i > 0 && IsBreakMark(text, i - 1, n));
}

// A random character of the same kind. Letters come from the first 25 of their case, so a
// scrambled text never shows 'Z' or 'z'.
char RandomOfKind(char c) {
  if (IsUpper(c)) return static_cast<char>('A' + NextRandom() % 25);
  if (IsLower(c)) return static_cast<char>('a' + NextRandom() % 25);
  if (IsDigit(c)) return static_cast<char>('0' + NextRandom() % 10);
  return c;
}

char* Prefix(const char* text, size_t k) {
  size_t n = std::strlen(text);
  if (k > n) k = n;
  char* copy = static_cast<char*>(std::malloc(k + 1));
  std::memcpy(copy, text, k);
  copy[k] = 0;
  return copy;
}

size_t PendingCount(const int32_t* list) {
  size_t count = 0;
  if (list)
    while (list[count] >= 0) ++count;
  return count;
}

// Removes entry k, keeping the order and the closing -1.
void RemovePending(int32_t* list, size_t k) {
  size_t count = PendingCount(list);
  if (k >= count) return;
  std::memmove(list + k, list + k + 1, (count - k) * sizeof(int32_t));
}

bool NeedsSteps(int32_t effect) {
  return effect == kScrambleAndSettle || effect == kRandomReveal || effect == kOrderedReveal;
}

}  // namespace

void Variable::SetTextEffect(int32_t effect) {
  if (textEffect != kNoEffect && effect != kNoEffect) return;
  textEffect = effect;
  StartTextEffect();
}

void Variable::SetTextEffectTiming(int32_t interval, int32_t steps) {
  effectInterval = interval;
  effectIntervalCounter = interval;
  effectStepCount = steps;
  effectStepCounter = steps;
}

void Variable::PlayEffectSound() {
  if (effectSound) box_links::PlaySound(effectSound);
}

void Variable::RebuildPendingPositions() {
  delete[] pendingPositions;
  pendingPositions = nullptr;
  if (!effectSource) return;
  size_t n = std::strlen(effectSource);
  pendingPositions = new int32_t[n + 1];
  for (size_t i = 0; i < n; ++i) pendingPositions[i] = static_cast<int32_t>(i);
  pendingPositions[n] = -1;
}

void Variable::StartTextEffect() {
  if (textEffect < kTypewriter || textEffect > kOrderedReveal) return;
  if (effectInterval == 0) return;
  if (NeedsSteps(textEffect) && effectStepCount == 0) return;
  effectIntervalCounter = effectInterval;
  if (textEffect == kTypewriter) {
    effectPosition = 0;
  } else if (textEffect == kLineByLine) {
    effectPosition = 0;
    effectLine = 0;
  } else {
    effectStepCounter = effectStepCount;
    if (textEffect != kScrambleAndSettle) effectDone = 0;
  }
  std::free(effectSource);
  effectSource = nullptr;
  bool reveal = textEffect == kRandomReveal || textEffect == kOrderedReveal;
  if (!displayText || !displayText[0]) {
    if (reveal) {
      delete[] pendingPositions;
      pendingPositions = nullptr;
    }
    return;
  }
  // The box shows nothing until the first step.
  effectSource = displayText;
  displayText = nullptr;
  if (reveal) RebuildPendingPositions();
}

void Variable::StepTextEffect() {
  if (textEffect < kTypewriter || textEffect > kOrderedReveal) return;
  if (effectInterval == 0) return;
  if (NeedsSteps(textEffect) && effectStepCount == 0) return;
  if (!effectSource) return;
  if (effectIntervalCounter > 0) --effectIntervalCounter;
  if (effectIntervalCounter != 0) return;

  const char* source = effectSource;
  const size_t n = std::strlen(source);
  auto show = [&](size_t k) {
    std::free(displayText);
    displayText = Prefix(source, k);
  };

  switch (textEffect) {
    case kTypewriter: {
      if (effectPosition < 0) effectPosition = 0;
      size_t position = static_cast<size_t>(effectPosition);
      if (position >= n) return;
      if (IsBreakMark(source, position, n)) {
        position += 2;
      } else {
        if (!IsWhite(source[position])) PlayEffectSound();
        position += 1;
      }
      effectPosition = static_cast<int32_t>(position);
      show(position);
      effectIntervalCounter = effectInterval;
      return;
    }
    case kLineByLine: {
      int32_t lines = 1;
      for (size_t i = 0; i < n; ++i)
        if (IsBreakMark(source, i, n)) ++lines;
      if (effectLine >= lines) return;
      size_t position = effectPosition < 0 ? 0 : static_cast<size_t>(effectPosition);
      while (position < n && !IsBreakMark(source, position, n)) ++position;
      if (position < n) {
        ++effectLine;
        position += 2;
        if (position == n) ++effectLine;
      } else {
        ++effectLine;
        position = n;
      }
      effectPosition = static_cast<int32_t>(position);
      show(position);
      PlayEffectSound();
      effectIntervalCounter = effectInterval;
      return;
    }
    case kScrambleAndSettle: {
      if (effectStepCounter <= 0) {
        show(n);
        std::free(effectSource);
        effectSource = nullptr;
        PlayEffectSound();
        return;
      }
      char* scrambled = Prefix(source, n);
      for (size_t i = 0; i < n; ++i) {
        if (IsBreakMark(source, i, n)) {
          ++i;
          continue;
        }
        scrambled[i] = RandomOfKind(source[i]);
        PlayEffectSound();
      }
      std::free(displayText);
      displayText = scrambled;
      effectIntervalCounter = effectInterval;
      --effectStepCounter;
      return;
    }
    default:
      break;
  }

  // Effects 4 and 5: reveal one letter or digit every step count intervals.
  effectIntervalCounter = effectInterval;
  if (effectDone) {
    show(n);
    std::free(effectSource);
    effectSource = nullptr;
    return;
  }
  char* scrambled = Prefix(source, n);
  for (size_t k = 0, count = PendingCount(pendingPositions); k < count; ++k) {
    size_t p = static_cast<size_t>(pendingPositions[k]);
    if (p < n && !InBreakMark(source, p, n)) scrambled[p] = RandomOfKind(source[p]);
  }
  std::free(displayText);
  displayText = scrambled;

  if (effectStepCounter > 0) --effectStepCounter;
  if (effectStepCounter != 0) return;
  effectStepCounter = effectStepCount;

  for (;;) {
    size_t count = PendingCount(pendingPositions);
    if (count == 0) {
      effectDone = 1;
      return;
    }
    size_t k = textEffect == kRandomReveal ? static_cast<size_t>(NextRandom()) % count : 0;
    size_t p = static_cast<size_t>(pendingPositions[k]);
    char c = p < n ? source[p] : 0;
    if (textEffect == kRandomReveal) {
      if (c == '\\' && k + 1 < count &&
          static_cast<size_t>(pendingPositions[k + 1]) < n &&
          source[pendingPositions[k + 1]] == 'n') {
        RemovePending(pendingPositions, k + 1);
        RemovePending(pendingPositions, k);
        continue;
      }
      // The entry before is looked at only when there is one.
      if (c == 'n' && k > 0 && static_cast<size_t>(pendingPositions[k - 1]) < n &&
          source[pendingPositions[k - 1]] == '\\') {
        RemovePending(pendingPositions, k);
        RemovePending(pendingPositions, k - 1);
        continue;
      }
      RemovePending(pendingPositions, k);
      if (IsLetterOrDigit(c)) return;
    } else {
      if (IsBreakMark(source, p, n)) {
        RemovePending(pendingPositions, 0);
        if (PendingCount(pendingPositions) > 0 &&
            static_cast<size_t>(pendingPositions[0]) == p + 1)
          RemovePending(pendingPositions, 0);
        continue;
      }
      RemovePending(pendingPositions, 0);
      if (IsLetterOrDigit(c)) {
        PlayEffectSound();
        return;
      }
    }
  }
}

}  // namespace quor
