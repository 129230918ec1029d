// Drawing and scrolling of text boxes: every character is measured and drawn alone, laid
// out by the box's draw mode; frames and scroll arrows are drawn as world lines after.
#include <cstring>
#include <functional>

#include "engine/display/variable.h"
#include "engine/display/variable_links.h"
#include "platform/host.h"

namespace quor {

namespace {

using box_links::TextDevice;

// Longest word measured for word wrap, and longest line measured for the widest line.
constexpr size_t kLongestWord = 147;
constexpr size_t kLongestLine = 2999;

bool IsWhite(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsBreakMark(const char* text, size_t i, size_t n) {
  return i + 1 < n && text[i] == '\\' && text[i + 1] == 'n';
}

int32_t Width(TextDevice& device, const char* text, size_t n) {
  int32_t w = 0, h = 0;
  if (!device.Measure(text, n, &w, &h)) return 0;
  return w;
}

bool Intersects(const Rect& a, const Rect& b) {
  return a.left < a.right && a.top < a.bottom && b.left < b.right && b.top < b.bottom &&
         a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool PointIn(const Rect& r, int32_t x, int32_t y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void ShowCharacterError() {
  if (platform::HasHost())
    platform::CurrentHost().ShowMessageBox("An error occurs while getting a character width.",
                                           "Error displaying character",
                                           platform::MessageBoxIcon::Stop);
  box_links::RequestQuit();
}

// The word-wrapped or character-wrapped layout, walked from the first character. Lines are
// numbered from 0; the walk stops at the end of the text or once `lineLimit` lines have
// ended. Every line takes at least one character, so a box too narrow for any character
// still comes to the end of its text.
struct WrapLayout {
  const char* text;
  size_t n;
  bool wordWrap;
  bool keepLeadingSpaces;
  int32_t marginX;
  int32_t letterSpacing;
  int32_t lineWidth;  // a character fits while its right end is at most this
  TextDevice* device;

  // Called for each character placed: its index, right end x, width and line.
  std::function<void(size_t, int32_t, int32_t, int32_t)> place;
  // Called when a character cannot be measured; false stops the walk there.
  std::function<bool()> measureFailed;

  // Returns the number of lines ended (by marks or by wrapping).
  int32_t Walk(int32_t lineLimit) {
    int32_t line = 0;
    int32_t x = marginX;
    bool lineStart = true;
    bool lineTookNothing = true;
    auto endLine = [&]() {
      ++line;
      x = marginX;
      lineStart = true;
      lineTookNothing = true;
    };
    size_t i = 0;
    while (i < n && line < lineLimit) {
      if (IsBreakMark(text, i, n)) {
        i += 2;
        endLine();
        continue;
      }
      char c = text[i];
      if (wordWrap && !lineStart && !IsWhite(c) && (i == 0 || IsWhite(text[i - 1]))) {
        size_t end = i;
        while (end < n && end - i < kLongestWord && !IsWhite(text[end]) &&
               !IsBreakMark(text, end, n))
          ++end;
        int32_t word = Width(*device, text + i, end - i) +
                       letterSpacing * static_cast<int32_t>(end - i);
        if (x + word > lineWidth) {
          endLine();
          continue;
        }
      }
      if (lineStart && !keepLeadingSpaces && IsWhite(c)) {
        ++i;
        continue;
      }
      int32_t w = Width(*device, text + i, 1);
      if (w == 0) {
        if (measureFailed && !measureFailed()) return line;
        // A character that cannot be measured even on a fresh line is passed over.
        if (lineTookNothing) ++i;
        endLine();
        continue;
      }
      int32_t next = lineStart ? x + w : x + letterSpacing + w;
      if (next > lineWidth && !lineTookNothing) {
        endLine();
        continue;
      }
      // A character wider than the whole line stands alone on it.
      x = next;
      lineStart = false;
      lineTookNothing = false;
      if (place) place(i, x, w, line);
      ++i;
    }
    return line;
  }
};

}  // namespace

void Variable::Draw() {
  if (!tiedMap && visible) RunDrawing();
}

void Variable::DrawOnMap() {
  if (tiedMap && visible) RunDrawing();
}

void Variable::RunDrawing() {
  bool drawText = true;
  if (drawUnclipped == 0) {
    auto place = [&](int32_t v, bool horizontal) -> int32_t {
      float view = horizontal ? box_links::ViewLeft() : box_links::ViewTop();
      if (!worldCoordinates) {
        if (!tiedMap) return v;
        return v + (horizontal ? box_links::MapScreenX(tiedMap) : box_links::MapScreenY(tiedMap));
      }
      if (!tiedMap) return static_cast<int32_t>(static_cast<float>(v) - view);
      float origin = horizontal ? box_links::MapWorldX(tiedMap) : box_links::MapWorldY(tiedMap);
      return static_cast<int32_t>(origin + static_cast<float>(v) - view);
    };
    boxRect.left = place(textRect.left, true);
    boxRect.top = place(textRect.top, false);
    boxRect.right = place(textRect.right, true);
    boxRect.bottom = place(textRect.bottom, false);
    Rect view{0, 0, box_links::ViewWidth(), box_links::ViewHeight()};
    drawText = Intersects(boxRect, view);
  }

  if (drawText) {
    TextDevice* device = box_links::OpenTextDevice(this);
    if (!device) {
      if (platform::HasHost())
        platform::CurrentHost().ShowMessageBox("Error getting DC.", "Error...",
                                               platform::MessageBoxIcon::Stop);
      box_links::RequestQuit();
    } else {
      LayOutText(*device);
      box_links::CloseTextDevice(device);
    }
  }

  if (showFrame) DrawFrame();
  if (drawMode != kWordWrap && drawMode != kCharacterWrap) DrawArrows();
}

void Variable::LayOutText(box_links::TextDevice& device) {
  int32_t w = 0, h = 0;
  if (!device.Measure("x", 1, &w, &h)) h = 0;
  const int32_t rowHeight = h + lineSpacing;
  linesPerBox =
      rowHeight == 0 ? 0 : (textRect.bottom - textRect.top - arrowSize - marginY) / rowHeight;
  const int32_t lineWidth = textRect.right - textRect.left - 2;

  const char* text = displayText ? displayText : "";
  const size_t n = std::strlen(text);
  const bool marksOnly = drawMode == kHorizontalScroll || drawMode == kBothWaysScroll;

  WrapLayout wrap{text, n, drawMode != kCharacterWrap, keepLeadingSpaces != 0, marginX,
                  letterSpacing, lineWidth, &device, nullptr, nullptr};

  // Line count.
  if (n == 0) {
    lineCount = 0;
  } else if (marksOnly) {
    int32_t marks = 0;
    for (size_t i = 0; i < n; ++i)
      if (IsBreakMark(text, i, n)) ++marks;
    lineCount = marks + 1;
  } else if (drawMode == kVerticalScroll) {
    WrapLayout count = wrap;
    count.wordWrap = true;
    count.measureFailed = [] { return false; };
    lineCount = count.Walk(INT32_MAX) + 1;
  }

  // Widest line, measured from the first line whatever the scroll.
  widestLine = 0;
  if (n > 0 && marksOnly) {
    int32_t lines = drawMode == kHorizontalScroll ? linesPerBox : lineCount;
    size_t start = 0;
    for (int32_t line = 0; line < lines && start <= n; ++line) {
      size_t end = start;
      while (end < n && !IsBreakMark(text, end, n)) ++end;
      size_t from = start + static_cast<size_t>(columnOffset > 0 ? columnOffset : 0);
      if (from > end) from = end;
      size_t length = end - from;
      if (length > kLongestLine) length = kLongestLine;
      int32_t width = Width(device, text + from, length) +
                      letterSpacing * static_cast<int32_t>(length) + marginX;
      if (width > widestLine) widestLine = width;
      if (end >= n) break;
      start = end + 2;
    }
  }

  StepTextEffect();
  ScrollByInput();

  // The effect may have changed the text.
  text = displayText ? displayText : "";
  const size_t shown = std::strlen(text);

  auto drawAt = [&](int32_t dx, int32_t dy, char c) {
    int32_t x, y;
    bool mapRelativeWorld = tiedMap && (worldCoordinates || drawMode == kWordWrap);
    // A box fixed on the screen but tied to a map keeps that map from scrolling apart.
    if (tiedMap && !worldCoordinates) box_links::SetMapScrollFactors(tiedMap, 1.0f, 1.0f);
    if (!tiedMap && !worldCoordinates) {
      x = textRect.left + dx;
      y = textRect.top + dy;
    } else if (!tiedMap) {
      x = static_cast<int32_t>(static_cast<float>(textRect.left + dx) - box_links::ViewLeft());
      y = static_cast<int32_t>(static_cast<float>(textRect.top + dy) - box_links::ViewTop());
    } else if (mapRelativeWorld) {
      x = static_cast<int32_t>(box_links::MapWorldX(tiedMap) + static_cast<float>(dx) +
                               static_cast<float>(textRect.left) - box_links::ViewLeft());
      y = static_cast<int32_t>(box_links::MapWorldY(tiedMap) + static_cast<float>(dy) +
                               static_cast<float>(textRect.top) - box_links::ViewTop());
    } else {
      x = box_links::MapScreenX(tiedMap) + dx + textRect.left;
      y = box_links::MapScreenY(tiedMap) + dy + textRect.top;
    }
    device.DrawCharacter(x, y, c);
  };

  if (drawMode == kWordWrap || drawMode == kCharacterWrap || drawMode == kVerticalScroll) {
    if (linesPerBox >= 1 && shown > 0) {
      int32_t firstLine = drawMode == kVerticalScroll ? (lineOffset > 0 ? lineOffset : 0) : 0;
      WrapLayout draw = wrap;
      draw.text = text;
      draw.n = shown;
      draw.place = [&](size_t i, int32_t x, int32_t cw, int32_t line) {
        if (line < firstLine) return;
        drawAt(x - cw, marginY + (line - firstLine) * rowHeight, text[i]);
      };
      if (drawMode == kCharacterWrap)
        draw.measureFailed = [] {
          ShowCharacterError();
          return true;
        };
      draw.Walk(firstLine + linesPerBox);
    }
  } else if (marksOnly) {
    size_t i = 0;
    if (drawMode == kBothWaysScroll)
      for (int32_t k = 0; k < lineOffset && i < shown; ++k) {
        while (i < shown && !IsBreakMark(text, i, shown)) ++i;
        i = i < shown ? i + 2 : shown;
      }
    for (int32_t line = 0; line < linesPerBox && i < shown; ++line) {
      for (int32_t k = 0; k < columnOffset && i < shown && !IsBreakMark(text, i, shown); ++k) ++i;
      int32_t x = 0;
      bool first = true;
      while (i < shown && !IsBreakMark(text, i, shown)) {
        int32_t cw = Width(device, text + i, 1);
        if (cw == 0) {
          // The rest of a line whose character cannot be measured is not drawn.
          while (i < shown && !IsBreakMark(text, i, shown)) ++i;
          break;
        }
        x = first ? marginX + cw : x + letterSpacing + cw;
        first = false;
        if (x <= lineWidth) drawAt(x - cw, marginY + line * rowHeight, text[i]);
        ++i;
      }
      if (IsBreakMark(text, i, shown)) i += 2;
    }
  }

  // Text height, for the down arrow.
  if (drawMode == kBothWaysScroll || drawMode == kVerticalScroll) {
    textHeight = 0;
    if (shown > 0 && lineOffset < lineCount) {
      int32_t offset = lineOffset > 0 ? lineOffset : 0;
      int32_t most = lineCount - offset;
      int32_t ends = 0;
      if (drawMode == kBothWaysScroll) {
        size_t i = 0;
        bool exists = true;
        for (int32_t k = 0; k < offset; ++k) {
          while (i < shown && !IsBreakMark(text, i, shown)) ++i;
          if (i >= shown) {
            exists = false;
            break;
          }
          i += 2;
        }
        for (; exists && i < shown && ends < most; ++i)
          if (IsBreakMark(text, i, shown)) {
            ++ends;
            ++i;
          }
        if (exists) textHeight = arrowSize + marginY + h + ends * rowHeight;
      } else {
        WrapLayout measure = wrap;
        measure.text = text;
        measure.n = shown;
        measure.measureFailed = [] {
          ShowCharacterError();
          return true;
        };
        int32_t total = measure.Walk(offset + most);
        if (total >= offset) {
          ends = total - offset;
          textHeight = arrowSize + marginY + h + ends * rowHeight;
        }
      }
    }
  }
}

// --- frame and arrows ---

void Variable::WorldOffset(float* x, float* y) const {
  if (tiedMap) {
    *x = box_links::MapWorldX(tiedMap);
    *y = box_links::MapWorldY(tiedMap);
  } else if (worldCoordinates) {
    *x = 0.0f;
    *y = 0.0f;
  } else {
    *x = box_links::ViewLeft();
    *y = box_links::ViewTop();
  }
}

void Variable::DrawFrame() {
  float ox, oy;
  WorldOffset(&ox, &oy);
  float l = textRect.left + ox, t = textRect.top + oy;
  float r = textRect.right + ox, b = textRect.bottom + oy;
  box_links::DrawWorldLine(l, t, r, t, frameColor);
  box_links::DrawWorldLine(r, t, r, b, frameColor);
  box_links::DrawWorldLine(r, b, l, b, frameColor);
  box_links::DrawWorldLine(l, b, l, t, frameColor);
}

void Variable::DrawArrows() {
  float ox, oy;
  WorldOffset(&ox, &oy);
  const int32_t s = arrowSize;
  const int32_t right = textRect.right - arrowInsetX;
  const int32_t bottom = textRect.bottom - arrowInsetY;
  const int32_t half = s / 2, quarter = s / 4, threeQuarters = (3 * s) / 4;

  // A triangle from its tip and the two ends of its base; its area is their bounds.
  auto arrow = [&](int32_t tipX, int32_t tipY, int32_t ax, int32_t ay, int32_t bx, int32_t by,
                   const Rect& bounds, Rect* area) {
    box_links::DrawWorldLine(ax + ox, ay + oy, tipX + ox, tipY + oy, arrowColor);
    box_links::DrawWorldLine(tipX + ox, tipY + oy, bx + ox, by + oy, arrowColor);
    box_links::DrawWorldLine(bx + ox, by + oy, ax + ox, ay + oy, arrowColor);
    area->left = static_cast<int32_t>(bounds.left + ox);
    area->top = static_cast<int32_t>(bounds.top + oy);
    area->right = static_cast<int32_t>(bounds.right + ox);
    area->bottom = static_cast<int32_t>(bounds.bottom + oy);
  };
  auto rightArrow = [&] {
    arrow(right, bottom - half, right - quarter, bottom - threeQuarters, right - quarter,
          bottom - quarter, Rect{right - quarter, bottom - threeQuarters, right, bottom - quarter},
          &rightArrowArea);
  };
  auto leftArrow = [&] {
    arrow(right - s, bottom - half, right - threeQuarters, bottom - threeQuarters,
          right - threeQuarters, bottom - quarter,
          Rect{right - s, bottom - threeQuarters, right - threeQuarters, bottom - quarter},
          &leftArrowArea);
  };
  auto upArrow = [&] {
    arrow(right - half, bottom - s, right - threeQuarters, bottom - threeQuarters,
          right - quarter, bottom - threeQuarters,
          Rect{right - threeQuarters, bottom - s, right - quarter, bottom - threeQuarters},
          &upArrowArea);
  };
  auto downArrow = [&] {
    arrow(right - half, bottom, right - threeQuarters, bottom - quarter, right - quarter,
          bottom - quarter, Rect{right - threeQuarters, bottom - quarter, right - quarter, bottom},
          &downArrowArea);
  };

  if (columnOffset != 0) leftArrow();
  if (lineOffset != 0) upArrow();
  rightLimit = columnOffset + columnStep;
  downLimit = lineOffset + lineStep;
  if (widestLine > (textRect.right - textRect.left) - 1)
    rightArrow();
  else
    rightLimit = columnOffset;
  if (textHeight > textRect.bottom - textRect.top - 1)
    downArrow();
  else
    downLimit = lineOffset;
}

// --- scrolling ---

void Variable::ScrollRight() {
  if (columnOffset >= rightLimit || rightLimit - columnOffset < columnStep)
    columnOffset = rightLimit;
  else
    columnOffset += columnStep;
}

void Variable::ScrollLeft() {
  if (columnOffset <= 0 || columnOffset < columnStep)
    columnOffset = 0;
  else
    columnOffset -= columnStep;
}

void Variable::ScrollDown() {
  if (lineOffset >= downLimit || downLimit - lineOffset < lineStep)
    lineOffset = downLimit;
  else
    lineOffset += lineStep;
}

void Variable::ScrollUp() {
  if (lineOffset <= 0 || lineOffset < lineStep)
    lineOffset = 0;
  else
    lineOffset -= lineStep;
}

void Variable::ScrollByInput() {
  const bool horizontal = drawMode == kHorizontalScroll || drawMode == kBothWaysScroll;
  const bool vertical = drawMode == kVerticalScroll || drawMode == kBothWaysScroll;

  const int32_t mx = static_cast<int32_t>(box_links::MouseWorldX());
  const int32_t my = static_cast<int32_t>(box_links::MouseWorldY());
  auto button = [](uint8_t perPress) {
    return perPress ? box_links::MouseButtonPressed(0) : box_links::MouseButtonDown(0);
  };
  if (horizontal && PointIn(rightArrowArea, mx, my)) {
    if (button(horizontalStepPerPress)) ScrollRight();
  } else if (horizontal && PointIn(leftArrowArea, mx, my)) {
    if (button(horizontalStepPerPress)) ScrollLeft();
  } else if (vertical && PointIn(upArrowArea, mx, my)) {
    if (button(verticalStepPerPress)) ScrollUp();
  } else if (vertical && PointIn(downArrowArea, mx, my)) {
    if (button(verticalStepPerPress)) ScrollDown();
  }

  auto key = [](uint8_t perPress, uint32_t code) {
    return perPress ? box_links::KeyPressed(code) : box_links::KeyDown(code);
  };
  bool horizontalDone = false;
  if (horizontal && key(horizontalStepPerPress, keyRight)) {
    ScrollRight();
    horizontalDone = horizontalStepPerPress != 0;
  }
  if (!horizontalDone && horizontal && key(horizontalStepPerPress, keyLeft)) ScrollLeft();
  if (vertical && key(verticalStepPerPress, keyDown)) ScrollDown();
  if (vertical && key(verticalStepPerPress, keyUp)) ScrollUp();
}

}  // namespace quor
