#include "engine/display/variable.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/core/random.h"
#include "engine/display/variable_links.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "platform/font.h"
#include "platform/host.h"

namespace quor {

namespace {

// A saved text value longer than this is taken for a damaged file.
constexpr uint32_t kLongestSavedText = 1u << 20;

char* Duplicate(const char* text, size_t n) {
  char* copy = static_cast<char*>(std::malloc(n + 1));
  std::memcpy(copy, text, n);
  copy[n] = 0;
  return copy;
}

char* Duplicate(const char* text) { return text ? Duplicate(text, std::strlen(text)) : nullptr; }

// Copies a zero-terminated text into a field of n bytes, cut to fit and always terminated.
void CopyInto(char* field, size_t n, const char* text) {
  std::memset(field, 0, n);
  size_t length = std::strlen(text);
  std::memcpy(field, text, length < n - 1 ? length : n - 1);
}

void IntersectRect(Rect* out, const Rect& a, const Rect& b) {
  Rect r;
  r.left = a.left > b.left ? a.left : b.left;
  r.top = a.top > b.top ? a.top : b.top;
  r.right = a.right < b.right ? a.right : b.right;
  r.bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
  if (r.left >= r.right || r.top >= r.bottom) r = Rect();
  *out = r;
}

// The engine's one shared default text rectangle.
const Rect kDefaultTextRect = {0, 0, 0, 0};

// Constructed before the program entry, as every engine has one; nothing reads it.
Variable DefaultVariable;

}  // namespace

int32_t PointsToDescriptionPixels(int32_t points) {
  double pixels = static_cast<double>(kLogicalPixelsPerInch * points) * (-1.0 / 72.0);
  return static_cast<int32_t>(pixels);
}

Variable::Variable() : owner(this) { Reset(); }

Variable::Variable(int number) : Variable() {
  valueType = kRealValue;
  value.real = static_cast<double>(number);
  const char* text = ToText();
  displayTextLength = static_cast<uint32_t>(std::strlen(text));
  if (displayTextLength > 0) displayText = Duplicate(text);
}

Variable::Variable(const Variable& other) : Node(other), owner(this) {
  // Only what operator= reads before it writes needs a value here.
  valueType = kIntegerValue;
  value.text = nullptr;
  displayText = nullptr;
  effectSource = nullptr;
  pendingPositions = nullptr;
  *this = other;
}

Variable::~Variable() {
  delete font_;
  std::free(displayText);
  std::free(effectSource);
  delete[] pendingPositions;
  FreeTextValue();
}

void Variable::FreeTextValue() {
  if (valueType == kTextValue) {
    std::free(value.text);
    value.text = nullptr;
  }
}

void Variable::Reset() {
  valueType = kIntegerValue;
  value.real = 0.0;
  value.integer = 0;
  wholeNumber = 1;
  std::memset(numberText, 0, sizeof numberText);
  tiedMap = nullptr;
  id = 0;
  worldCoordinates = 0;
  std::memset(name, 0, sizeof name);
  visible = 1;
  CopyInto(faceName, sizeof faceName, "Arial");
  fontWidth = 6;
  fontSize = 16;
  fontWeight = 100;
  italic = 0;
  strikeOut = 0;
  underline = 0;
  textColor = 0x0070A7BC;
  boxRect = Rect();
  frameColor = 0x00FF00FF;
  arrowColor = 0x00FF00FF;
  showFrame = 0;
  columnOffset = 0;
  lineOffset = 0;
  columnStep = 1;
  lineStep = 1;
  keepLeadingSpaces = 0;
  displayTextLength = 0;
  widestLine = 0;
  textHeight = 0;
  lineCount = 0;
  displayText = nullptr;
  textRect = kDefaultTextRect;
  linesPerBox = 0;
  lineSpacing = 0;
  letterSpacing = 0;
  marginX = 0;
  marginY = 0;
  arrowSize = 16;
  arrowInsetX = 1;
  arrowInsetY = 1;
  rightArrowArea = Rect();
  leftArrowArea = Rect();
  upArrowArea = Rect();
  downArrowArea = Rect();
  drawMode = kWordWrap;
  textEffect = kNoEffect;
  keyRight = 0x4D;
  keyLeft = 0x4B;
  keyUp = 0x4C;
  keyDown = 0x50;
  horizontalStepPerPress = 0;
  verticalStepPerPress = 0;
  drawUnclipped = 1;
  rightLimit = 1;
  downLimit = 1;
  effectSource = nullptr;
  effectInterval = 0;
  effectIntervalCounter = 0;
  effectStepCount = 0;
  effectStepCounter = 0;
  effectPosition = 0;
  effectLine = 0;
  effectSound = nullptr;
  savedSoundName_[0] = 0;
  pendingPositions = nullptr;
  effectDone = 0;
  updateFunction = nullptr;
  updateBehaviour = nullptr;
  stateMachineIndex = -1;
  updateFunctionIndex = -1;

  // Every new box starts the shared sequence again from the calendar; without a host
  // (before the program has one) the sequence is left as it is.
  if (platform::HasHost())
    SeedRandom(static_cast<uint32_t>(platform::CurrentHost().CalendarSeconds()));

  fontDescription = FontDescription();
  fontDescription.height = PointsToDescriptionPixels(fontSize);
  fontDescription.width = PointsToDescriptionPixels(fontWidth);
  fontDescription.weight = fontWeight;
  CopyInto(fontDescription.faceName, sizeof fontDescription.faceName, faceName);
  RecreateFont();
}

Variable& Variable::operator=(const Variable& other) {
  if (this == &other) return *this;
  FreeTextValue();
  stateMachineIndex = other.stateMachineIndex;
  updateFunctionIndex = other.updateFunctionIndex;
  valueType = other.valueType;
  if (valueType == kTextValue)
    value.text = Duplicate(other.value.text);
  else
    value = other.value;
  updateFunction = other.updateFunction;
  updateBehaviour = other.updateBehaviour;
  stateMachine = other.stateMachine;
  wholeNumber = other.wholeNumber;
  std::memcpy(numberText, other.numberText, sizeof numberText);

  std::free(displayText);
  displayText = nullptr;
  std::free(effectSource);
  effectSource = nullptr;
  if (other.displayTextLength > 0) {
    displayText = Duplicate(other.displayText);
    effectSource = Duplicate(other.effectSource);
  }

  tiedMap = other.tiedMap;
  boxRect = other.boxRect;
  textRect = other.textRect;
  rightArrowArea = other.rightArrowArea;
  leftArrowArea = other.leftArrowArea;
  upArrowArea = other.upArrowArea;
  downArrowArea = other.downArrowArea;
  drawMode = other.drawMode;
  textEffect = other.textEffect;
  columnOffset = other.columnOffset;
  lineOffset = other.lineOffset;
  columnStep = other.columnStep;
  lineStep = other.lineStep;
  widestLine = other.widestLine;
  textHeight = other.textHeight;
  lineCount = other.lineCount;
  linesPerBox = other.linesPerBox;
  displayTextLength = other.displayTextLength;
  lineSpacing = other.lineSpacing;
  letterSpacing = other.letterSpacing;
  marginX = other.marginX;
  marginY = other.marginY;
  arrowSize = other.arrowSize;
  arrowInsetX = other.arrowInsetX;
  arrowInsetY = other.arrowInsetY;
  textColor = other.textColor;
  frameColor = other.frameColor;
  arrowColor = other.arrowColor;
  showFrame = other.showFrame;
  keyRight = other.keyRight;
  keyLeft = other.keyLeft;
  keyUp = other.keyUp;
  keyDown = other.keyDown;
  horizontalStepPerPress = other.horizontalStepPerPress;
  verticalStepPerPress = other.verticalStepPerPress;
  drawUnclipped = other.drawUnclipped;
  rightLimit = other.rightLimit;
  downLimit = other.downLimit;
  effectInterval = other.effectInterval;
  effectIntervalCounter = other.effectIntervalCounter;
  effectStepCount = other.effectStepCount;
  effectStepCounter = other.effectStepCounter;
  effectPosition = other.effectPosition;
  effectLine = other.effectLine;
  effectSound = other.effectSound;
  std::memcpy(savedSoundName_, other.savedSoundName_, sizeof savedSoundName_);

  delete[] pendingPositions;
  pendingPositions = nullptr;
  if (other.pendingPositions && effectSource) {
    size_t n = std::strlen(effectSource);
    pendingPositions = new int32_t[n + 1];
    size_t i = 0;
    for (; i < n && other.pendingPositions[i] >= 0; ++i)
      pendingPositions[i] = other.pendingPositions[i];
    for (; i <= n; ++i) pendingPositions[i] = -1;
  }
  effectDone = other.effectDone;
  id = other.id;
  worldCoordinates = other.worldCoordinates;
  std::memcpy(name, other.name, sizeof name);
  std::memcpy(faceName, other.faceName, sizeof faceName);
  fontWidth = other.fontWidth;
  fontSize = other.fontSize;
  fontWeight = other.fontWeight;
  italic = other.italic;
  strikeOut = other.strikeOut;
  underline = other.underline;
  visible = other.visible;
  keepLeadingSpaces = other.keepLeadingSpaces;
  fontDescription = other.fontDescription;
  RecreateFont();
  return *this;
}

void Variable::RecreateFont() {
  delete font_;
  font_ = nullptr;
}

const platform::Font* Variable::GetFont() {
  if (!font_) {
    platform::FontRequest request;
    request.face = fontDescription.faceName;
    request.height = fontDescription.height;
    request.width = fontDescription.width;
    request.weight = fontDescription.weight;
    request.italic = fontDescription.italic != 0;
    request.underline = fontDescription.underline != 0;
    request.strikeOut = fontDescription.strikeOut != 0;
    font_ = platform::Font::Create(request).release();
  }
  return font_;
}

// --- properties ---

void Variable::SetName(const char* text) {
  if (!text) return;
  CopyInto(name, sizeof name, text);
}

void Variable::SetDrawMode(int32_t mode) {
  drawMode = mode;
  if (mode == kWordWrap || mode == kCharacterWrap) arrowSize = 0;
}

void Variable::SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (!tiedMap) {
    quor::SetRect(&textRect, left, top, right, bottom);
  } else if (textRect == kDefaultTextRect) {
    quor::SetRect(&textRect, boxRect.left + 10, boxRect.top + 10, boxRect.right - 10,
            boxRect.bottom - 10);
  } else {
    Rect asked;
    quor::SetRect(&asked, left, top, right, bottom);
    IntersectRect(&textRect, asked, boxRect);
  }
}

void Variable::SetFontFace(const char* face) {
  CopyInto(faceName, sizeof faceName, face ? face : "Arial");
  CopyInto(fontDescription.faceName, sizeof fontDescription.faceName, faceName);
  RecreateFont();
}

void Variable::SetFontWidth(int32_t points) {
  fontWidth = points;
  fontDescription.width = PointsToDescriptionPixels(points);
  RecreateFont();
}

void Variable::SetFontSize(int32_t points) {
  fontSize = points;
  fontDescription.height = PointsToDescriptionPixels(points);
  RecreateFont();
}

void Variable::SetFontWeight(uint32_t weight) {
  weight -= weight % 100;
  if (weight > 900) weight = 900;
  fontWeight = static_cast<int32_t>(weight);
  fontDescription.weight = fontWeight;
  RecreateFont();
}

void Variable::SetItalic(int32_t v) {
  italic = static_cast<uint32_t>(v) & 0xFF;
  fontDescription.italic = static_cast<uint8_t>(v);
  RecreateFont();
}

void Variable::SetStrikeOut(int32_t v) {
  strikeOut = static_cast<uint32_t>(v) & 0xFF;
  fontDescription.strikeOut = static_cast<uint8_t>(v);
  RecreateFont();
}

void Variable::SetUnderline(int32_t v) {
  underline = static_cast<uint32_t>(v) & 0xFF;
  fontDescription.underline = static_cast<uint8_t>(v);
  RecreateFont();
}

void Variable::SetText(const char* text) {
  // The argument may be this box's own display text: copy it before anything is freed.
  char* copy = Duplicate(text);
  FreeTextValue();
  valueType = kTextValue;
  value.text = copy;
  std::free(displayText);
  displayText = nullptr;
  columnOffset = 0;
  lineOffset = 0;
  displayTextLength = copy ? static_cast<uint32_t>(std::strlen(copy)) : 0;
  if (displayTextLength > 0) displayText = Duplicate(copy);
  StartTextEffect();
}

void Variable::SetUpdateFunction(VariableUpdateFunction function) {
  updateFunction = function;
  updateBehaviour = nullptr;
}

void Variable::SetUpdateBehaviour(BehaviourFunction function) {
  updateBehaviour = function;
  updateFunction = nullptr;
}

void Variable::SetScrollSteps(int32_t columns, int32_t lines) {
  columnStep = columns;
  lineStep = lines;
}

void Variable::SetStepPerPress(uint8_t horizontal, uint8_t vertical) {
  horizontalStepPerPress = horizontal;
  verticalStepPerPress = vertical;
}

void Variable::SetScrollKeys(uint32_t right, uint32_t left, uint32_t up, uint32_t down) {
  keyRight = right;
  keyLeft = left;
  keyUp = up;
  keyDown = down;
}

void Variable::SetArrowInsets(int32_t x, int32_t y) {
  arrowInsetX = x;
  arrowInsetY = y;
}

void Variable::SetReal(double v) {
  FreeTextValue();
  valueType = kRealValue;
  value.real = v;
}

void Variable::SetInteger(uint32_t v) {
  FreeTextValue();
  valueType = kIntegerValue;
  value.real = 0.0;
  value.integer = v;
}

const char* Variable::ToText() {
  switch (valueType) {
    case kRealValue:
      if (wholeNumber) {
        double rounded = std::round(value.real);  // halves away from zero
        if (rounded == 0.0)
          std::snprintf(numberText, sizeof numberText, "0");
        else
          std::snprintf(numberText, sizeof numberText, "%.0f", rounded);
      } else {
        std::snprintf(numberText, sizeof numberText, "%.7g", value.real);
      }
      return numberText;
    case kIntegerValue:
      std::snprintf(numberText, sizeof numberText, "%u", value.integer);
      return numberText;
    case kTextValue:
      return value.text ? value.text : "";
    default:
      return "";
  }
}

void Variable::RunUpdateFunction() {
  if (updateFunction)
    updateFunction(this);
  else if (updateBehaviour)
    updateBehaviour(this);
}

// --- saved record ---

void Variable::Save(ObjectStream& stream) {
  stream.Write(name, 50);
  bool frameRateBox = std::strcmp(name, "FPS") == 0;
  if (!frameRateBox) {
    stream.WriteLong(stateMachineIndex);
    if (stateMachineIndex >= 0) stateMachine.Save(stream);
    stream.WriteLong(updateFunctionIndex);
  }
  stream.WriteLong(valueType);
  if (valueType == kRealValue) {
    stream.WriteDouble(value.real);
  } else if (valueType == kIntegerValue) {
    stream.WriteLong(value.integer);
  } else if (valueType == kTextValue) {
    uint32_t n = value.text ? static_cast<uint32_t>(std::strlen(value.text)) : 0;
    stream.WriteLong(n);
    if (n > 0) stream.Write(value.text, n);
  }
  stream.WriteByte(wholeNumber);
  stream.WriteLong(id);
  stream.Write(numberText, 50);
  stream.WriteByte(tiedMap ? 1 : 0);
  if (tiedMap) {
    char mapName[32] = {};
    CopyInto(mapName, sizeof mapName, box_links::MapName(tiedMap));
    stream.WriteName(mapName);
  }
  stream.WriteByte(worldCoordinates);
  stream.WriteByte(visible);
  stream.WriteName(faceName);
  stream.WriteLong(fontWidth);
  stream.WriteLong(fontSize);
  stream.WriteLong(fontWeight);
  stream.WriteLong(italic);
  stream.WriteLong(strikeOut);
  stream.WriteLong(underline);
  stream.WriteLong(textColor);
  stream.WriteRect(boxRect);
  stream.WriteLong(frameColor);
  stream.WriteLong(arrowColor);
  stream.WriteByte(showFrame);
  stream.WriteLong(columnOffset);
  stream.WriteLong(lineOffset);
  stream.WriteLong(columnStep);
  stream.WriteLong(lineStep);
  stream.WriteByte(keepLeadingSpaces);
  stream.WriteLong(widestLine);
  stream.WriteLong(textHeight);
  stream.WriteLong(lineCount);
  stream.WriteRect(textRect);
  stream.WriteRect(rightArrowArea);
  stream.WriteRect(leftArrowArea);
  stream.WriteRect(upArrowArea);
  stream.WriteRect(downArrowArea);
  stream.WriteLong(linesPerBox);
  stream.WriteLong(lineSpacing);
  stream.WriteLong(letterSpacing);
  stream.WriteLong(marginX);
  stream.WriteLong(marginY);
  stream.WriteLong(arrowSize);
  stream.WriteLong(arrowInsetX);
  stream.WriteLong(arrowInsetY);
  stream.WriteLong(displayTextLength);
  stream.WriteByte(effectSource ? 1 : 0);
  stream.WriteLong(effectPosition);
  stream.WriteLong(drawMode);
  stream.WriteLong(textEffect);
  stream.WriteLong(keyRight);
  stream.WriteLong(keyLeft);
  stream.WriteLong(keyUp);
  stream.WriteLong(keyDown);
  stream.WriteByte(horizontalStepPerPress);
  stream.WriteByte(verticalStepPerPress);
  stream.WriteByte(drawUnclipped);
  stream.WriteLong(rightLimit);
  stream.WriteLong(downLimit);
  stream.WriteLong(effectInterval);
  stream.WriteLong(effectIntervalCounter);
  stream.WriteLong(effectStepCount);
  stream.WriteLong(effectStepCounter);
  stream.WriteLong(effectLine);
  stream.WriteByte(effectSound ? 1 : 0);
  if (effectSound) {
    char soundName[32] = {};
    CopyInto(soundName, sizeof soundName, box_links::SoundName(effectSound));
    stream.WriteName(soundName);
  }
  stream.WriteByte(effectDone);
}

void Variable::Load(ObjectStream& stream) {
  std::memset(name, 0, sizeof name);
  stream.Read(name, 50);
  name[sizeof name - 1] = 0;
  if (std::strcmp(name, "FPS") == 0) {
    CopyInto(name, sizeof name, "FPS_COPY");
    SetUpdateFunction(box_links::FpsUpdateFunction());
    stateMachineIndex = -1;
    updateFunctionIndex = -1;
  } else {
    stream.ReadLong(&stateMachineIndex);
    if (stateMachineIndex >= 0) {
      if (const StateMachine* model = SelectStateMachine(stateMachineIndex))
        stateMachine = *model;
      stateMachine.Load(stream);
    }
    stream.ReadLong(&updateFunctionIndex);
    if (updateFunctionIndex >= 0) SetUpdateBehaviour(SelectBehaviour(updateFunctionIndex));
  }

  uint32_t type = kIntegerValue;
  stream.ReadLong(&type);
  FreeTextValue();
  valueType = type;
  value.real = 0.0;
  if (type == kRealValue) {
    stream.ReadDouble(&value.real);
  } else if (type == kIntegerValue) {
    stream.ReadLong(&value.integer);
  } else if (type == kTextValue) {
    value.text = nullptr;
    uint32_t n = stream.ReadCount(1);
    if (n > kLongestSavedText) {
      stream.MarkFailed();
      n = 0;
    }
    if (n > 0) {
      char* text = static_cast<char*>(std::calloc(n + 1, 1));
      stream.Read(text, n);
      // A zero inside the saved characters ends the text, as it would have in memory.
      value.text = text;
    }
  }
  stream.ReadByte(&wholeNumber);
  stream.ReadLong(&id);
  stream.Read(numberText, 50);
  numberText[50] = 0;

  uint8_t mapPresent = 0;
  stream.ReadByte(&mapPresent);
  tiedMap = nullptr;
  if (mapPresent) {
    char mapName[32] = {};
    stream.ReadName(mapName);
    if (stream.Good()) tiedMap = box_links::FindMapByName(mapName);
  }
  stream.ReadByte(&worldCoordinates);
  stream.ReadByte(&visible);
  stream.Read(faceName, 32);
  faceName[sizeof faceName - 1] = 0;
  // The drawing adds, subtracts and multiplies sizes, places and spacings in 32 bits;
  // within these bounds nothing it forms can overflow.
  const int32_t points = kLargestSavedPoints, layout = kLargestSavedLayout;
  const int32_t place = kLargestSavedWhole;
  stream.ReadWhole(&fontWidth, -points, points);
  stream.ReadWhole(&fontSize, -points, points);
  stream.ReadWhole(&fontWeight, 0, 1000);
  stream.ReadLong(&italic);
  stream.ReadLong(&strikeOut);
  stream.ReadLong(&underline);
  stream.ReadLong(&textColor);
  stream.ReadRect(&boxRect, place);
  stream.ReadLong(&frameColor);
  stream.ReadLong(&arrowColor);
  stream.ReadByte(&showFrame);
  stream.ReadWhole(&columnOffset, -place, place);
  stream.ReadWhole(&lineOffset, -place, place);
  stream.ReadWhole(&columnStep, -layout, layout);
  stream.ReadWhole(&lineStep, -layout, layout);
  stream.ReadByte(&keepLeadingSpaces);
  for (int32_t* measured : {&widestLine, &textHeight, &lineCount})
    stream.ReadWhole(measured, -place, place);
  for (Rect* r : {&textRect, &rightArrowArea, &leftArrowArea, &upArrowArea, &downArrowArea})
    stream.ReadRect(r, place);
  stream.ReadWhole(&linesPerBox, -place, place);
  for (int32_t* spacing : {&lineSpacing, &letterSpacing, &marginX, &marginY, &arrowSize,
                           &arrowInsetX, &arrowInsetY})
    stream.ReadWhole(spacing, -layout, layout);
  stream.ReadLong(&displayTextLength);

  // The value's text is the only source the effect and display texts can be rebuilt from;
  // saved lengths are held to it.
  const char* full = ToText();
  size_t fullLength = std::strlen(full);
  if (displayTextLength > fullLength) displayTextLength = static_cast<uint32_t>(fullLength);

  uint8_t sourcePresent = 0;
  stream.ReadByte(&sourcePresent);
  std::free(effectSource);
  effectSource = nullptr;
  if (sourcePresent == 1) effectSource = Duplicate(full, displayTextLength);

  stream.ReadLong(&effectPosition);
  std::free(displayText);
  displayText = nullptr;
  size_t sourceLength = effectSource ? std::strlen(effectSource) : 0;
  if (effectPosition < 0) effectPosition = 0;
  if (static_cast<size_t>(effectPosition) > sourceLength)
    effectPosition = static_cast<int32_t>(sourceLength);
  if (effectPosition > 0)
    displayText = Duplicate(effectSource, static_cast<size_t>(effectPosition));
  else if (displayTextLength > 0)
    displayText = Duplicate(full, displayTextLength);

  stream.ReadLong(&drawMode);
  stream.ReadLong(&textEffect);
  stream.ReadLong(&keyRight);
  stream.ReadLong(&keyLeft);
  stream.ReadLong(&keyUp);
  stream.ReadLong(&keyDown);
  stream.ReadByte(&horizontalStepPerPress);
  stream.ReadByte(&verticalStepPerPress);
  stream.ReadByte(&drawUnclipped);
  stream.ReadLong(&rightLimit);
  stream.ReadLong(&downLimit);
  stream.ReadLong(&effectInterval);
  stream.ReadLong(&effectIntervalCounter);
  stream.ReadLong(&effectStepCount);
  stream.ReadLong(&effectStepCounter);
  stream.ReadLong(&effectLine);
  uint8_t soundPresent = 0;
  stream.ReadByte(&soundPresent);
  effectSound = nullptr;
  savedSoundName_[0] = 0;
  if (soundPresent) {
    char soundName[32] = {};
    stream.ReadName(soundName);
    if (stream.Good()) effectSound = box_links::FindSoundByName(soundName);
    if (!effectSound) CopyInto(savedSoundName_, sizeof savedSoundName_, soundName);
  }
  stream.ReadByte(&effectDone);
  // What a damaged record holds must not reach the font.
  if (!stream.Good()) return;

  delete[] pendingPositions;
  pendingPositions = nullptr;
  if ((textEffect == kRandomReveal || textEffect == kOrderedReveal) && effectSource)
    RebuildPendingPositions();

  fontDescription = FontDescription();
  fontDescription.height = PointsToDescriptionPixels(fontSize);
  fontDescription.width = PointsToDescriptionPixels(fontWidth);
  fontDescription.weight = fontWeight;
  fontDescription.italic = static_cast<uint8_t>(italic);
  fontDescription.underline = static_cast<uint8_t>(underline);
  fontDescription.strikeOut = static_cast<uint8_t>(strikeOut);
  CopyInto(fontDescription.faceName, sizeof fontDescription.faceName, faceName);
  RecreateFont();
}

void Variable::ReconnectEffectSound() {
  if (!savedSoundName_[0]) return;
  effectSound = box_links::FindSoundByName(savedSoundName_);
  savedSoundName_[0] = 0;
}

void ReconnectEffectSounds() {
  if (!CurrentGameNode) return;
  NodeList& boxes = CurrentGameNode->variables;
  for (Node* node = boxes.GetHead(); node && !node->IsEnd(); node = node->GetNext())
    static_cast<Variable*>(node)->ReconnectEffectSound();
  for (NodeList& layer : CurrentGameNode->layers) {
    for (Node* node = layer.GetHead(); node && !node->IsEnd(); node = node->GetNext()) {
      // A loaded layer holds sprites only; anything else is passed over, not trusted.
      if (!IsA<Sprite>(node)) continue;
      DynamicArray<Variable>& carried = static_cast<Sprite*>(node)->variables;
      for (uint32_t i = 0; i < carried.Size(); ++i) carried.At(i)->ReconnectEffectSound();
    }
  }
}

void AttachVariablesToMaps(uint32_t mostPerMap) {
  if (!CurrentGameNode) return;
  NodeList& boxes = CurrentGameNode->variables;
  for (Node* node = boxes.GetHead(); node && !node->IsEnd(); node = node->GetNext()) {
    Variable* box = static_cast<Variable*>(node);
    if (box->tiedMap && box_links::MapTiedCount(box->tiedMap) < mostPerMap)
      box_links::TieToMap(box->tiedMap, box);
  }
}

}  // namespace quor
