// A named on-screen box that shows a value (a real number, an unsigned integer or a text)
// in its own font and colour, laid out one character at a time in one of five draw modes,
// with optional frame, scroll arrows, text effect, state machine and per-frame update.
#pragma once

#include <cstdint>

#include "engine/core/class_record.h"
#include "engine/scene/game_tables.h"
#include "engine/core/node.h"
#include "engine/core/rect.h"
#include "engine/scene/state_machine.h"

namespace platform {
class Font;
}

namespace quor {

namespace box_links {
class TextDevice;
}

class Map;
class Sound;
class Variable;

using VariableUpdateFunction = void (*)(Variable* box);

// What the box's font is made from (the fields of the original system's font record that
// matter here).
struct FontDescription {
  int32_t height = 0;  // pixels; negative: character height
  int32_t width = 0;   // pixels; average character width, sign ignored
  int32_t escapement = 0;
  int32_t orientation = 0;
  int32_t weight = 100;
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strikeOut = 0;
  uint8_t charSet = 1;
  uint8_t outPrecision = 0;
  uint8_t clipPrecision = 0;
  uint8_t quality = 0;
  uint8_t pitchAndFamily = 0;
  char faceName[32] = "Arial";
};

enum VariableValueType : uint32_t { kRealValue = 0, kIntegerValue = 1, kTextValue = 2 };

enum VariableDrawMode : int32_t {
  kWordWrap = 0,
  kCharacterWrap = 1,
  kHorizontalScroll = 2,
  kVerticalScroll = 3,
  kBothWaysScroll = 4,
};

enum VariableTextEffect : int32_t {
  kNoEffect = 0,
  kTypewriter = 1,
  kLineByLine = 2,
  kScrambleAndSettle = 3,
  kRandomReveal = 4,
  kOrderedReveal = 5,
};

// Pixels per logical inch of the screen the boxes are drawn on.
constexpr int32_t kLogicalPixelsPerInch = 96;

class Variable : public Node {
 public:
  // The fewest bytes a saved box takes (a number box of the frame-rate kind, which has no
  // machine indices): a count of boxes is held to what the rest of a file can describe.
  static constexpr uint32_t kSmallestSavedRecord = 408;
  // The largest font a saved box may ask for, in points: a letter as high as the screen.
  static constexpr int32_t kLargestSavedPoints = 360;
  // Spacings, margins, arrow sizes and scroll steps of a saved box, in pixels or characters.
  static constexpr int32_t kLargestSavedLayout = 2048;

  Variable();
  explicit Variable(int value);
  Variable(const Variable& other);
  Variable& operator=(const Variable& other);
  ~Variable() override;

  Node* Clone() const override { return new Variable(*this); }
  void Load(ObjectStream& stream) override;
  void Save(ObjectStream& stream) override;
  const ClassRecord& GetClassRecord() const override { return VariableClassRecord; }

  // Every field to its default; reseeds the random generator from the calendar.
  void Reset();

  // --- properties ---
  void SetName(const char* text);
  const char* GetName() const { return name; }
  void SetId(uint32_t value) { id = value; }
  uint32_t GetId() const { return id; }
  void SetVisible(uint8_t value) { visible = value; }
  void SetShowFrame(uint8_t value) { showFrame = value; }
  void SetWorldCoordinates(uint8_t value) { worldCoordinates = value; }
  void SetTextColor(uint32_t color) { textColor = color; }
  void SetLineSpacing(int32_t value) { lineSpacing = value; }
  void SetLetterSpacing(int32_t value) { letterSpacing = value; }
  void SetMarginX(int32_t value) { marginX = value; }
  void SetMarginY(int32_t value) { marginY = value; }
  void SetKeepLeadingSpaces(uint8_t value) { keepLeadingSpaces = value; }
  // Stored as given; modes 0 and 1 have no arrows, so they keep no room for them.
  void SetDrawMode(int32_t mode);
  void SetRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
  void SetRect(const Rect& rect) { SetRect(rect.left, rect.top, rect.right, rect.bottom); }
  void SetFontFace(const char* face);
  void SetFontWidth(int32_t points);
  void SetFontSize(int32_t points);
  void SetFontWeight(uint32_t weight);
  void SetItalic(int32_t value);
  void SetStrikeOut(int32_t value);
  void SetUnderline(int32_t value);
  // The value becomes the text (null: no text); the scroll returns to the start and the
  // box's effect starts again on the new text.
  void SetText(const char* text);

  // Setters the content never needs but tools and tests do.
  void SetUpdateFunction(VariableUpdateFunction function);
  void SetUpdateBehaviour(BehaviourFunction function);
  void SetTiedMap(Map* map) { tiedMap = map; }
  void SetFrameColor(uint32_t color) { frameColor = color; }
  void SetArrowColor(uint32_t color) { arrowColor = color; }
  void SetDrawUnclipped(uint8_t value) { drawUnclipped = value; }
  void SetWholeNumber(uint8_t value) { wholeNumber = value; }
  void SetScrollSteps(int32_t columns, int32_t lines);
  void SetStepPerPress(uint8_t horizontal, uint8_t vertical);
  void SetScrollKeys(uint32_t right, uint32_t left, uint32_t up, uint32_t down);
  void SetArrowInsets(int32_t x, int32_t y);
  void SetEffectSound(Sound* sound) {
    effectSound = sound;
    savedSoundName_[0] = 0;
  }
  // A real value (type 0), shown after the next ToText.
  void SetReal(double value);
  // An unsigned integer value (type 1).
  void SetInteger(uint32_t value);

  // The value as text (numbers are written into the number text).
  const char* ToText();

  // --- text effects ---
  // Refused while another effect is set; 0 clears the effect and starts nothing.
  void SetTextEffect(int32_t effect);
  void SetTextEffectTiming(int32_t interval, int32_t steps);
  void StartTextEffect();
  void StepTextEffect();
  void PlayEffectSound();
  // Finds the effect sound a load named among the current scene's sounds, when the load
  // could not (the scene's sounds come after its boxes in a saved game).
  void ReconnectEffectSound();

  // --- per frame ---
  // Draws the box when it is visible and not tied to a map.
  void Draw();
  // Draws the box when it is visible and tied to a map (called by the map).
  void DrawOnMap();
  void RunUpdateFunction();

  // One scroll action in each direction, held to the limits of the last drawing.
  void ScrollRight();
  void ScrollLeft();
  void ScrollDown();
  void ScrollUp();

  // The font made from the description, made on first use (null when no face exists).
  const platform::Font* GetFont();

  // --- fields, in the order they are documented ---
  uint32_t valueType;
  union {
    double real;
    uint32_t integer;
    char* text;
  } value;
  uint8_t wholeNumber;
  char numberText[51];
  Map* tiedMap;
  uint32_t id;
  uint8_t worldCoordinates;
  char name[50];
  uint8_t visible;
  FontDescription fontDescription;
  char faceName[32];
  int32_t fontWidth;
  int32_t fontSize;
  int32_t fontWeight;
  uint32_t italic;
  uint32_t strikeOut;
  uint32_t underline;
  uint32_t textColor;
  Rect boxRect;
  uint32_t frameColor;
  uint32_t arrowColor;
  uint8_t showFrame;
  int32_t columnOffset;
  int32_t lineOffset;
  int32_t columnStep;
  int32_t lineStep;
  uint8_t keepLeadingSpaces;
  uint32_t displayTextLength;
  int32_t widestLine;
  int32_t textHeight;
  int32_t lineCount;
  char* displayText;
  Rect textRect;
  int32_t linesPerBox;
  int32_t lineSpacing;
  int32_t letterSpacing;
  int32_t marginX;
  int32_t marginY;
  int32_t arrowSize;
  int32_t arrowInsetX;
  int32_t arrowInsetY;
  Rect rightArrowArea;
  Rect leftArrowArea;
  Rect upArrowArea;
  Rect downArrowArea;
  int32_t drawMode;
  int32_t textEffect;
  uint32_t keyRight;
  uint32_t keyLeft;
  uint32_t keyUp;
  uint32_t keyDown;
  uint8_t horizontalStepPerPress;
  uint8_t verticalStepPerPress;
  uint8_t drawUnclipped;
  int32_t rightLimit;
  int32_t downLimit;
  // effect fields
  char* effectSource;
  int32_t effectInterval;
  int32_t effectIntervalCounter;
  int32_t effectStepCount;
  int32_t effectStepCounter;
  int32_t effectPosition;
  int32_t effectLine;
  Sound* effectSound;
  int32_t* pendingPositions;
  uint8_t effectDone;
  // owner and per-frame work
  Variable* owner;
  StateMachine stateMachine;
  VariableUpdateFunction updateFunction;
  // An update taken from the behaviour table (which drives any object through Node*).
  BehaviourFunction updateBehaviour;
  int32_t stateMachineIndex;
  int32_t updateFunctionIndex;

 private:
  // Drops the font so that the next use makes it again from the description.
  void RecreateFont();
  void FreeTextValue();
  void RebuildPendingPositions();
  void RunDrawing();
  void LayOutText(box_links::TextDevice& device);
  void ScrollByInput();
  // Where the box's rectangle lies in the world: added to its corners for world lines.
  void WorldOffset(float* x, float* y) const;
  void DrawFrame();
  void DrawArrows();

  platform::Font* font_ = nullptr;
  // The effect sound's name as the load read it, until the sound is found.
  char savedSoundName_[32] = {};
};

// Ties every box of the current scene that names a map to that map, at most mostPerMap a
// map. A scene switch ties 30; a loaded scene ties all the boxes of its list, and only
// those, once the list is whole: a box that the scene drops or that a sprite carries must
// leave no pointer in a map that outlives it.
void AttachVariablesToMaps(uint32_t mostPerMap = 30);

// The frame-rate box's update function: F11 shows or hides the box, and every 15th frame
// it takes the scene's measured rate.
void UpdateFpsText(Variable* box);

// Reconnects the effect sounds of the current scene's boxes and of the boxes its sprites
// carry, once a load has read the scene's sounds.
void ReconnectEffectSounds();

// Device-independent description size in pixels for a point size at the screen's density.
int32_t PointsToDescriptionPixels(int32_t points);

}  // namespace quor
