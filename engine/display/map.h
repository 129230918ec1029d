// A scene's background bitmap, drawn every frame through the scene's view, and the owner
// of the scene's static collision outlines, which it files into a grid of square cells so
// that a sprite only tests the outlines near it. A map is also a drawing layer: its
// sprites are drawn right after it.
//
// Five kinds differ in how the bitmap relates to the view: a master map is the whole
// world; a standard map is placed in the world (and may drift or follow the view by a
// factor); a wrapped map travels across the view and re-enters at the other side; a
// continuous wrapped map cycles inside the view; a big wrapped map (larger than the view)
// scrolls endlessly in both directions.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/core/class_record.h"
#include "engine/core/dynamic_array.h"
#include "engine/scene/game_tables.h"
#include "engine/core/node.h"
#include "engine/core/node_list.h"
#include "engine/core/rect.h"
#include "engine/scene/state_machine.h"

namespace platform {
class Surface;
}

namespace quor {

class CollisionSegment;
class Variable;

enum MapKind : int32_t {
  MasterMap = 0,
  StandardMap = 1,
  WrappedMap = 2,
  ContinuousWrappedMap = 3,
  BigWrappedMap = 4,
};

// The side in pixels of a collision-grid cell unless a map is given another.
constexpr int32_t CompositionConstant = 128;

class Map : public Node {
 public:
  // Slots of the working rectangles, in their saved order.
  enum RectSlot : int32_t {
    kSourceRect = 0,
    kSourceA = 1,
    kSourceB = 2,  // a wrapped map keeps its home rectangle here
    kSourceC = 3,
    kSourceD = 4,
    kDestA = 5,
    kDestB = 6,  // a wrapped map keeps its moved piece here
    kDestC = 7,  // the single piece of a fitting continuous map
    kDestD = 8,
    kRectCount = 9,
  };
  // The blit flags as saved: wait, and wait with the source colour key.
  static constexpr uint32_t kBlitWait = 0x01000000;
  static constexpr uint32_t kBlitWaitKeySource = 0x01008000;
  // How many tied text boxes the scene start gives one map.
  static constexpr uint32_t kMaxTiedVariables = 30;

  // Which drawing the map does; None until its bitmap loaded and passed its kind's rule.
  enum class Display : uint8_t {
    None,
    Master,
    Standard,
    Wrapped,
    ContinuousFitting,
    ContinuousExceeding,
    BigWrapped,
  };

  // All defaults: a standard map with no bitmap that draws nothing.
  Map();
  // Loads the bitmap as the kind says, at the world position (x, y) (a master map stays at
  // the origin). A bitmap that is missing or breaks the kind's size rule is reported, the
  // program is asked to quit and the map draws nothing. A kind above 4 keeps the defaults.
  Map(const char* name, const char* file, int32_t kind, int32_t depth, int32_t x, int32_t y);
  // Everything copied (shapes, grid, tied boxes, state machine); the bitmap is loaded anew
  // with the colour key set now.
  Map(const Map& other);
  Map& operator=(const Map&) = delete;
  ~Map() override;

  Node* Clone() const override { return new Map(*this); }
  void Load(ObjectStream& stream) override;
  void Save(ObjectStream& stream) override;
  const ClassRecord& GetClassRecord() const override { return MapClassRecord; }

  // Every field back to its default (the surface and grid are freed).
  void Reset();

  // The loaders behind the constructor; each resets the map first.
  void LoadMasterMap(const char* name, const char* file, int32_t depth);
  void LoadStandardMap(const char* name, const char* file, int32_t depth, int32_t x, int32_t y);
  void LoadWrappedMap(const char* name, const char* file, int32_t depth, int32_t x, int32_t y);
  void LoadContinuousWrappedMap(const char* name, const char* file, int32_t depth, int32_t x,
                                int32_t y);
  void LoadBigWrappedMap(const char* name, const char* file, int32_t depth, int32_t x,
                         int32_t y);

  // --- settings ---
  void SetId(uint32_t value) { id = value; }
  uint32_t GetId() const { return id; }
  const char* GetName() const { return name; }
  // The name sprites and text boxes find the map by (at most 31 characters kept).
  void SetName(const char* value);
  const char* GetFile() const { return file; }
  void SetVisible(uint8_t value) { visible = value; }
  uint8_t IsVisible() const { return visible; }
  void SetScrollFactorX(float value) { scrollFactorX = value; }
  void SetScrollFactorY(float value) { scrollFactorY = value; }
  void SetAutoScrollX(float value) { driftX = value; }
  void SetAutoScrollY(float value) { driftY = value; }
  // Takes effect when the bitmap is next loaded (the scene's copy of the map does).
  void SetColorKey(uint32_t color) { colorKey = color; }
  void SetUseColorKey(bool use) { blitFlags = use ? kBlitWaitKeySource : kBlitWait; }
  void SetShowCollisionShapes(uint8_t value) { showShapes = value; }
  // Refuses (with a box and a quit request) a value that is odd, 0 or below 64.
  void SetCompositionConstant(int32_t value);
  // The machine becomes a copy of the template of the index (none for a negative one).
  void SetStateMachine(int32_t index);
  // The update function becomes the behaviour of the index (none for a negative one).
  void SetUpdateFunction(int32_t index);

  uint32_t GetWidth() const { return width; }
  uint32_t GetHeight() const { return height; }
  // A standard map's place; 0 for every other kind.
  int32_t GetScreenX() const { return kind == StandardMap ? screenX : 0; }
  int32_t GetScreenY() const { return kind == StandardMap ? screenY : 0; }
  float GetWorldX() const { return kind == StandardMap ? worldX : 0.0f; }
  float GetWorldY() const { return kind == StandardMap ? worldY : 0.0f; }
  bool IsMasterMap() const { return master != 0; }
  int32_t GetDepth() const { return depth; }
  int32_t GetCompositionConstant() const { return compositionConstant; }
  int32_t GetKind() const { return kind; }
  Display GetDisplay() const { return display; }
  platform::Surface* GetSurface() const { return surface.get(); }

  // --- collision outlines ---
  // A copy goes to the head of the outline list, unless the segment is a single point.
  void AddCollisionSegment(const CollisionSegment& segment);
  // Files every outline into each grid cell it reaches (a copy per cell).
  void BuildCollisionGrid();
  int32_t GetGridColumns() const { return gridColumns; }
  int32_t GetGridRows() const { return gridRows; }
  // The outlines of a cell, or null for a cell outside the grid (or no grid).
  NodeList* GetGridCell(int32_t column, int32_t row) const;

  // --- tied text boxes ---
  // Appends a box the map draws with itself; the limit is the caller's to keep.
  void TieVariable(Variable* box) { textBoxes.Add(box); }
  uint32_t GetTiedVariableCount() const { return textBoxes.Size(); }
  Variable* GetTiedVariable(uint32_t i) const { return i < textBoxes.Size() ? textBoxes[i] : nullptr; }

  // --- per frame ---
  // The map's own update function, when it has one.
  void RunUpdateFunction();
  // Draws the bitmap as the kind says, the outlines when asked, then the tied boxes.
  void Render();
  // The bitmap dropped and loaded again (after lost surfaces and display switches).
  void ReleaseSurface();
  void ReloadSurface();

  // --- fields, in their documented order ---
  uint32_t id = 0;
  char name[32] = {};
  char file[256] = {};
  uint8_t master = 0;
  uint32_t height = 0, width = 0;
  float worldX = 0.0f, worldY = 0.0f;
  int32_t screenX = 0, screenY = 0;
  int32_t periodX = 0, periodY = 0;
  int32_t wrapX = 0, wrapY = 0;
  float wrapFX = 0.0f, wrapFY = 0.0f;
  int32_t roomX = 0, roomY = 0;
  int32_t spareX = 0, spareY = 0;
  int32_t depth = 0;
  uint8_t visible = 1;
  float scrollFactorX = 0.0f, scrollFactorY = 0.0f;
  float driftX = 0.0f, driftY = 0.0f;
  uint32_t colorKey = 0;
  Rect rects[kRectCount];
  uint32_t blitFlags = kBlitWait;
  std::unique_ptr<platform::Surface> surface;
  int32_t kind = StandardMap;
  uint8_t exceeds = 0;
  Display display = Display::None;
  uint32_t reserved0 = 0, reserved1 = 512;
  uint8_t showShapes = 0;
  int32_t compositionConstant = CompositionConstant;
  StateMachine stateMachine;
  int32_t stateMachineIndex = -1;
  BehaviourFunction updateFunction = nullptr;
  int32_t updateFunctionIndex = -1;
  NodeList circles;
  NodeList segments;
  DynamicArray<Variable*> textBoxes;

 private:
  // Common start of every loader: reset, then the depth, file and name.
  void BeginLoad(const char* name, const char* file, int32_t depth);
  // The world and screen position, the bitmap and its size; false (after the box and the
  // quit request) when there is no bitmap.
  bool PlaceAndLoadBitmap(int32_t kindCaptionIndex, float x, float y, bool halfViewBack);
  void FreeGrid();
  void AllocateGrid(int32_t columns, int32_t rows);
  // The drawings of the kinds.
  void DisplayMaster();
  void DisplayStandard();
  void DisplayWrapped();
  void DisplayContinuousFitting();
  void DisplayContinuousExceeding();
  void DisplayBigWrapped();
  // One blit of the bitmap, retried once after lost surfaces; returns the result code.
  uint32_t BlitPiece(const Rect* destination, const Rect& source);
  // Blits the first `count` destination and source pairs (A, B, C, D) in order; the last
  // blit's result is the one reported.
  void DrawPieces(int32_t count);

  // Columns of rows of cells, gridColumns x gridRows, column-major.
  std::unique_ptr<NodeList[]> grid_;
  int32_t gridColumns = 0;
  int32_t gridRows = 0;
};

// The map of the current scene whose name equals name exactly, or null.
Map* FindMapByName(const char* name);

}  // namespace quor
