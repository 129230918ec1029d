#include "engine/display/map.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/display/bitmap.h"
#include "engine/display/display.h"
#include "engine/display/map_view.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/game_node.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/surface.h"

namespace quor {

namespace {

// A saved map larger than this on a side is taken for a damaged file: no bitmap the game
// draws comes near it, and the grid it would ask for would not fit in memory.
constexpr uint32_t kLargestSavedSide = 65536;


const char* const kKindCaptions[] = {
    "Master map error .",
    "Standard map error .",
    "Wrapped map error .",
    "Continuous wrapped map error .",
    "Big wrapped map error .",
};

void CopyName(char* target, size_t size, const char* source) {
  std::memset(target, 0, size);
  if (source) std::memcpy(target, source, strnlen(source, size - 1));
}

void ErrorBox(const char* format, const char* file, const char* caption) {
  char text[512];
  std::snprintf(text, sizeof text, format, file);
  platform::CurrentHost().ShowMessageBox(text, caption, platform::MessageBoxIcon::Stop);
}

Rect WholeBitmap(uint32_t width, uint32_t height) {
  Rect r;
  SetRect(&r, 0, 0, static_cast<int32_t>(width), static_cast<int32_t>(height));
  return r;
}

}  // namespace

Map::Map() { Reset(); }

Map::Map(const char* mapName, const char* fileName, int32_t mapKind, int32_t mapDepth,
         int32_t x, int32_t y) {
  Reset();
  switch (mapKind) {
    case MasterMap:
      LoadMasterMap(mapName, fileName, mapDepth);
      break;
    case StandardMap:
      LoadStandardMap(mapName, fileName, mapDepth, x, y);
      break;
    case WrappedMap:
      LoadWrappedMap(mapName, fileName, mapDepth, x, y);
      break;
    case ContinuousWrappedMap:
      LoadContinuousWrappedMap(mapName, fileName, mapDepth, x, y);
      break;
    case BigWrappedMap:
      LoadBigWrappedMap(mapName, fileName, mapDepth, x, y);
      break;
    default:
      return;  // an unknown kind stays a default map that draws nothing
  }
  kind = mapKind;
}

Map::Map(const Map& other)
    : Node(other),
      id(other.id),
      master(other.master),
      height(other.height),
      width(other.width),
      worldX(other.worldX),
      worldY(other.worldY),
      screenX(other.screenX),
      screenY(other.screenY),
      periodX(other.periodX),
      periodY(other.periodY),
      wrapX(other.wrapX),
      wrapY(other.wrapY),
      wrapFX(other.wrapFX),
      wrapFY(other.wrapFY),
      roomX(other.roomX),
      roomY(other.roomY),
      spareX(other.spareX),
      spareY(other.spareY),
      depth(other.depth),
      visible(other.visible),
      scrollFactorX(other.scrollFactorX),
      scrollFactorY(other.scrollFactorY),
      driftX(other.driftX),
      driftY(other.driftY),
      colorKey(other.colorKey),
      blitFlags(other.blitFlags),
      kind(other.kind),
      exceeds(other.exceeds),
      display(other.display),
      reserved0(other.reserved0),
      reserved1(other.reserved1),
      showShapes(other.showShapes),
      compositionConstant(other.compositionConstant),
      stateMachine(other.stateMachine),
      stateMachineIndex(other.stateMachineIndex),
      updateFunction(other.updateFunction),
      updateFunctionIndex(other.updateFunctionIndex),
      circles(other.circles),
      segments(other.segments),
      textBoxes(other.textBoxes) {
  std::memcpy(name, other.name, sizeof name);
  std::memcpy(file, other.file, sizeof file);
  for (int i = 0; i < kRectCount; ++i) rects[i] = other.rects[i];
  if (other.grid_) {
    AllocateGrid(other.gridColumns, other.gridRows);
    for (int32_t i = 0; i < gridColumns * gridRows; ++i) grid_[i] = other.grid_[i];
  }
  // The copy keys the picture on its own colour (the content sets it after the original
  // loaded); the picture itself is the original's, not read and decoded once more.
  if (DirectDrawObject && other.surface && !other.surface->IsLost())
    surface = CopyBitmapSurface(*other.surface, colorKey);
  else
    ReloadSurface();
}

Map::~Map() { FreeGrid(); }

void Map::Reset() {
  id = 0;
  std::memset(name, 0, sizeof name);
  std::memset(file, 0, sizeof file);
  master = 0;
  height = width = 0;
  worldX = worldY = 0.0f;
  screenX = screenY = 0;
  periodX = periodY = 0;
  wrapX = wrapY = 0;
  wrapFX = wrapFY = 0.0f;
  roomX = roomY = 0;
  spareX = spareY = 0;
  depth = 0;
  visible = 1;
  scrollFactorX = scrollFactorY = 0.0f;
  driftX = driftY = 0.0f;
  colorKey = 0;
  for (Rect& r : rects) r = Rect();
  blitFlags = kBlitWait;
  surface.reset();
  kind = StandardMap;
  exceeds = 0;
  display = Display::None;
  reserved0 = 0;
  reserved1 = 512;
  showShapes = 0;
  compositionConstant = CompositionConstant;
  stateMachine = StateMachine();
  stateMachineIndex = -1;
  updateFunction = nullptr;
  updateFunctionIndex = -1;
  circles.DeleteAll();
  segments.DeleteAll();
  textBoxes.Clear();
  FreeGrid();
}

// --- loading ---

void Map::BeginLoad(const char* mapName, const char* fileName, int32_t mapDepth) {
  Reset();
  depth = mapDepth;
  CopyName(file, sizeof file, fileName);
  CopyName(name, sizeof name, mapName);
}

bool Map::PlaceAndLoadBitmap(int32_t mapKind, float x, float y, bool halfViewBack) {
  const MapView view = CurrentMapView();
  worldX = x;
  worldY = y;
  if (halfViewBack) {
    worldX -= view.width * 0.5f;
    worldY -= view.height * 0.5f;
  }
  screenX = static_cast<int32_t>(worldX - view.left);
  screenY = static_cast<int32_t>(worldY - view.top);
  if (mapKind == MasterMap) CopyName(PaletteName, sizeof PaletteName, file);

  surface = LoadMapBitmap(file, colorKey);
  if (!surface) {
    std::string path = std::string(BitmapDirectory) + file;
    if (!platform::FileExists(path))
      ErrorBox("The bitmap file %s does not exist .", file, kKindCaptions[mapKind]);
    QuitRequested = 1;
    return false;
  }
  width = static_cast<uint32_t>(surface->Width());
  height = static_cast<uint32_t>(surface->Height());
  return true;
}

void Map::LoadMasterMap(const char* mapName, const char* fileName, int32_t mapDepth) {
  BeginLoad(mapName, fileName, mapDepth);
  master = 1;
  if (!PlaceAndLoadBitmap(MasterMap, 0.0f, 0.0f, false)) return;
  const MapView view = CurrentMapView();
  if (!(static_cast<float>(width) >= view.width && static_cast<float>(height) >= view.height)) {
    ErrorBox(
        "The bitmap file %s to be a master map must have its width >= viewport width \n"
        "and its height >= viewport height .",
        file, kKindCaptions[MasterMap]);
    QuitRequested = 1;
    return;
  }
  display = Display::Master;
}

void Map::LoadStandardMap(const char* mapName, const char* fileName, int32_t mapDepth,
                          int32_t x, int32_t y) {
  BeginLoad(mapName, fileName, mapDepth);
  if (!PlaceAndLoadBitmap(StandardMap, static_cast<float>(x), static_cast<float>(y), false))
    return;
  const MapView view = CurrentMapView();
  roomX = view.sceneWidth - static_cast<int32_t>(width);
  roomY = view.sceneHeight - static_cast<int32_t>(height);
  if (roomX < 0) roomX = 0;
  if (roomY < 0) roomY = 0;
  rects[kSourceRect] = WholeBitmap(width, height);
  display = Display::Standard;
}

void Map::LoadWrappedMap(const char* mapName, const char* fileName, int32_t mapDepth,
                         int32_t x, int32_t y) {
  BeginLoad(mapName, fileName, mapDepth);
  if (!PlaceAndLoadBitmap(WrappedMap, static_cast<float>(x), static_cast<float>(y), true))
    return;
  const MapView view = CurrentMapView();
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  if (w > view.width && h > view.height) {
    ErrorBox("You must use the big wrapped map for %s .", file, kKindCaptions[WrappedMap]);
    QuitRequested = 1;
    return;
  }
  rects[kSourceRect] = WholeBitmap(width, height);
  Rect& home = rects[kSourceB];
  const int32_t halfW = static_cast<int32_t>(view.width * 0.5f);
  const int32_t halfH = static_cast<int32_t>(view.height * 0.5f);
  SetRect(&home, halfW, halfH, halfW + static_cast<int32_t>(width),
          halfH + static_cast<int32_t>(height));
  wrapX = -screenX;
  wrapY = -screenY;
  wrapFX = static_cast<float>(wrapX);
  wrapFY = static_cast<float>(wrapY);
  periodX = static_cast<int32_t>(view.width + w);
  periodY = static_cast<int32_t>(view.height + h);
  display = Display::Wrapped;
}

void Map::LoadContinuousWrappedMap(const char* mapName, const char* fileName, int32_t mapDepth,
                                   int32_t x, int32_t y) {
  BeginLoad(mapName, fileName, mapDepth);
  if (!PlaceAndLoadBitmap(ContinuousWrappedMap, static_cast<float>(x), static_cast<float>(y),
                          false))
    return;
  const MapView view = CurrentMapView();
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  if (w > view.width && h > view.height) {
    ErrorBox("You must use the big wrapped map for %s .", file,
             kKindCaptions[ContinuousWrappedMap]);
    QuitRequested = 1;
    return;
  }
  if (w <= view.width && h <= view.height) {
    display = Display::ContinuousFitting;
    wrapX = screenX;
    wrapY = screenY;
  } else {
    display = Display::ContinuousExceeding;
    exceeds = 1;
    wrapX = -screenX;
    wrapY = -screenY;
  }
  wrapFX = static_cast<float>(wrapX);
  wrapFY = static_cast<float>(wrapY);
  roomX = view.sceneWidth - static_cast<int32_t>(width);
  roomY = view.sceneHeight - static_cast<int32_t>(height);
  if (roomX < 0) roomX = 0;
  if (roomY < 0) roomY = 0;
  spareX = static_cast<int32_t>(view.width - w);
  spareY = static_cast<int32_t>(view.height - h);
  rects[kSourceRect] = WholeBitmap(width, height);
}

void Map::LoadBigWrappedMap(const char* mapName, const char* fileName, int32_t mapDepth,
                            int32_t x, int32_t y) {
  BeginLoad(mapName, fileName, mapDepth);
  if (!PlaceAndLoadBitmap(BigWrappedMap, static_cast<float>(x), static_cast<float>(y), false))
    return;
  const MapView view = CurrentMapView();
  if (!(static_cast<float>(width) > view.width && static_cast<float>(height) > view.height)) {
    ErrorBox(
        "The width of the %s must be > viewport width \n"
        "and the height must be  > viewport height .",
        file, kKindCaptions[BigWrappedMap]);
    QuitRequested = 1;
    return;
  }
  wrapX = -screenX;
  wrapY = -screenY;
  wrapFX = static_cast<float>(wrapX);
  wrapFY = static_cast<float>(wrapY);
  rects[kSourceRect] = WholeBitmap(width, height);
  display = Display::BigWrapped;
}

void Map::ReleaseSurface() { surface.reset(); }

void Map::ReloadSurface() { surface = LoadMapBitmap(file, colorKey); }

// --- settings ---

void Map::SetName(const char* value) { CopyName(name, sizeof name, value); }

void Map::SetCompositionConstant(int32_t value) {
  const char* text = nullptr;
  if (value % 2 != 0 || value == 0)
    text = "The composition constant must be multiple of two.";
  else if (value < 64)
    text = "The composition constant must be greater or equal to 64.";
  if (text) {
    platform::CurrentHost().ShowMessageBox(text, "Initialisation Error",
                                           platform::MessageBoxIcon::Stop);
    QuitRequested = 1;
    return;
  }
  compositionConstant = value;
}

void Map::SetStateMachine(int32_t index) {
  stateMachineIndex = index;
  stateMachine.CopyFromTable(index);
}

void Map::SetUpdateFunction(int32_t index) {
  updateFunctionIndex = index;
  updateFunction = SelectBehaviour(index);
}

void Map::RunUpdateFunction() {
  if (updateFunction) updateFunction(this);
}

// --- collision outlines and their grid ---

void Map::AddCollisionSegment(const CollisionSegment& segment) {
  if (segment.GetLengthX() == 0.0f && segment.GetLengthY() == 0.0f) return;
  segments.AddHead(new CollisionSegment(segment));
}

void Map::FreeGrid() {
  grid_.reset();
  gridColumns = 0;
  gridRows = 0;
}

void Map::AllocateGrid(int32_t columns, int32_t rows) {
  FreeGrid();
  grid_.reset(new NodeList[static_cast<size_t>(columns) * static_cast<size_t>(rows)]);
  gridColumns = columns;
  gridRows = rows;
}

NodeList* Map::GetGridCell(int32_t column, int32_t row) const {
  if (!grid_ || column < 0 || row < 0 || column >= gridColumns || row >= gridRows)
    return nullptr;
  return &grid_[static_cast<size_t>(column) * gridRows + row];
}

void Map::BuildCollisionGrid() {
  const int32_t c = compositionConstant;
  if (c <= 0) {  // only a damaged value gets here; the setter and the loader refuse it
    FreeGrid();
    return;
  }
  const uint32_t side = static_cast<uint32_t>(c);
  // One cell more than the whole cells, so that index size / c (the far edge) exists too.
  const int32_t columns = width < side ? 1 : static_cast<int32_t>(width / side) + 1;
  const int32_t rows = height < side ? 1 : static_cast<int32_t>(height / side) + 1;
  AllocateGrid(columns, rows);
  if (segments.Count() == 0) return;

  for (int32_t i = 0; i < columns; ++i) {
    const float x0 = static_cast<float>(c) * i, x1 = static_cast<float>(c) * (i + 1);
    for (int32_t j = 0; j < rows; ++j) {
      const float y0 = static_cast<float>(c) * j, y1 = static_cast<float>(c) * (j + 1);
      NodeList* cell = GetGridCell(i, j);
      for (Node* n = segments.GetHead(); !n->IsEnd(); n = n->GetNext()) {
        auto* shape = AsCollisionShape(n);
        if (!shape) continue;
        if (shape->GetShapeType() == CollisionShape::SegmentShape) {
          auto* s = static_cast<CollisionSegment*>(shape);
          const float ex = s->GetX1() + s->GetDirectionX() * s->GetLengthX();
          const float ey = s->GetY1() + s->GetDirectionY() * s->GetLengthY();
          if (SegmentHitsRect(s->GetX1(), s->GetY1(), ex, ey, x0, x1, y0, y1))
            cell->AddHead(
                new CollisionSegment(s->GetX1(), s->GetY1(), ex, ey, s->GetValue(), s->GetFlag()));
        } else if (shape->GetShapeType() == CollisionShape::CircleShape) {
          auto* o = static_cast<CollisionCircle*>(shape);
          if (CircleNearSegment(o->GetX(), o->GetY(), o->GetRadius(), x0, x1, y0, y1))
            cell->AddHead(new CollisionCircle(o->GetX(), o->GetY(), o->GetRadius(),
                                              o->GetValue(), o->GetFlag()));
        }
      }
    }
  }
}

// --- saved games ---

void Map::Save(ObjectStream& stream) {
  stream.WriteLong(stateMachineIndex);
  if (stateMachineIndex >= 0) stateMachine.Save(stream);
  stream.WriteLong(id);
  stream.WriteName(name);
  stream.Write(file, sizeof file);
  stream.WriteByte(master);
  stream.WriteLong(height);
  stream.WriteLong(width);
  stream.WriteLong(worldX);
  stream.WriteLong(worldY);
  stream.WriteLong(screenX);
  stream.WriteLong(screenY);
  stream.WriteLong(periodX);
  stream.WriteLong(periodY);
  stream.WriteLong(wrapX);
  stream.WriteLong(wrapY);
  stream.WriteLong(wrapFX);
  stream.WriteLong(wrapFY);
  stream.WriteLong(roomX);
  stream.WriteLong(roomY);
  stream.WriteLong(spareX);
  stream.WriteLong(spareY);
  stream.WriteLong(depth);
  stream.WriteByte(visible);
  stream.WriteLong(scrollFactorX);
  stream.WriteLong(scrollFactorY);
  stream.WriteLong(driftX);
  stream.WriteLong(driftY);
  stream.WriteLong(colorKey);
  for (const Rect& r : rects) stream.WriteRect(r);
  stream.WriteLong(blitFlags);
  stream.WriteLong(kind);
  stream.WriteByte(exceeds);
  stream.WriteLong(reserved0);
  stream.WriteLong(reserved1);
  stream.WriteByte(showShapes);
  stream.WriteLong(compositionConstant);
  circles.Save(stream);
  segments.Save(stream);
  stream.WriteLong(updateFunctionIndex);
}

void Map::Load(ObjectStream& stream) {
  stream.ReadLong(&stateMachineIndex);
  if (!stream.Good()) return;
  if (stateMachineIndex >= 0) {
    const StateMachine* source = SelectStateMachine(stateMachineIndex);
    if (!source) {  // the file names a machine the game does not have
      stateMachineIndex = -1;
      stream.MarkFailed();
      return;
    }
    stateMachine = *source;
    stateMachine.Load(stream);
  }
  stream.ReadLong(&id);
  stream.ReadName(name);
  stream.Read(file, sizeof file);
  if (stream.Good() && !std::memchr(file, 0, sizeof file)) stream.MarkFailed();
  file[sizeof file - 1] = 0;
  stream.ReadByte(&master);
  stream.ReadLong(&height);
  stream.ReadLong(&width);
  // Positions and offsets meet whole-pixel conversions and sums with the bitmap's size:
  // each must be a finite value within the largest world.
  stream.ReadReal(&worldX, kLargestSavedCoordinate);
  stream.ReadReal(&worldY, kLargestSavedCoordinate);
  for (int32_t* whole : {&screenX, &screenY, &periodX, &periodY, &wrapX, &wrapY})
    stream.ReadWhole(whole, -kLargestSavedWhole, kLargestSavedWhole);
  stream.ReadReal(&wrapFX, kLargestSavedCoordinate);
  stream.ReadReal(&wrapFY, kLargestSavedCoordinate);
  for (int32_t* whole : {&roomX, &roomY, &spareX, &spareY})
    stream.ReadWhole(whole, -kLargestSavedWhole, kLargestSavedWhole);
  stream.ReadLong(&depth);
  stream.ReadByte(&visible);
  stream.ReadReal(&scrollFactorX, kLargestSavedRate);
  stream.ReadReal(&scrollFactorY, kLargestSavedRate);
  stream.ReadReal(&driftX, kLargestSavedRate);
  stream.ReadReal(&driftY, kLargestSavedRate);
  stream.ReadLong(&colorKey);
  for (Rect& r : rects) stream.ReadRect(&r, kLargestSavedWhole);
  stream.ReadLong(&blitFlags);
  int32_t savedKind = kind;
  stream.ReadLong(&savedKind);
  stream.ReadByte(&exceeds);
  stream.ReadLong(&reserved0);
  stream.ReadLong(&reserved1);
  stream.ReadByte(&showShapes);
  int32_t savedComposition = compositionConstant;
  stream.ReadLong(&savedComposition);
  if (!stream.Good()) return;

  // A damaged map must not reach the drawing or the grid: the kind selects the drawing,
  // the cell side divides, and the sizes and periods are taken modulo.
  if (savedKind < MasterMap || savedKind > BigWrappedMap || savedComposition < 64 ||
      savedComposition % 2 != 0) {
    stream.MarkFailed();
    return;
  }
  kind = savedKind;
  compositionConstant = savedComposition;

  circles.LoadOnly(stream, IsA<CollisionShape>);
  segments.LoadOnly(stream, IsA<CollisionShape>);
  stream.ReadLong(&updateFunctionIndex);
  if (!stream.Good()) return;
  if (updateFunctionIndex < -1 || updateFunctionIndex >= BehaviourTableSize) {
    stream.MarkFailed();
    return;
  }

  // The bitmap decides the size; a missing one leaves the saved size, within reason (a
  // map whose bitmap never loaded is saved with no size and draws nothing).
  ReloadSurface();
  if (surface) {
    width = static_cast<uint32_t>(surface->Width());
    height = static_cast<uint32_t>(surface->Height());
  }
  // The wrapped drawings take offsets modulo the period or the size.
  const bool wrapsBySize = kind == BigWrappedMap || (kind == ContinuousWrappedMap && exceeds);
  if (width > kLargestSavedSide || height > kLargestSavedSide ||
      (wrapsBySize && (width == 0 || height == 0)) ||
      (kind == WrappedMap && (periodX <= 0 || periodY <= 0))) {
    stream.MarkFailed();
    return;
  }

  switch (kind) {
    case MasterMap:
      display = Display::Master;
      break;
    case StandardMap:
      display = Display::Standard;
      break;
    case WrappedMap:
      display = Display::Wrapped;
      break;
    case ContinuousWrappedMap:
      display = exceeds ? Display::ContinuousExceeding : Display::ContinuousFitting;
      break;
    default:
      display = Display::BigWrapped;
      break;
  }
  updateFunction = SelectBehaviour(updateFunctionIndex);
  BuildCollisionGrid();
  textBoxes.Clear();
}

// --- lookup ---

Map* FindMapByName(const char* mapName) {
  if (!CurrentGameNode || !mapName) return nullptr;
  const NodeList& maps = CurrentGameNode->maps;
  for (Node* n = maps.GetHead(); !n->IsEnd(); n = n->GetNext()) {
    Map* map = static_cast<Map*>(n);
    if (std::strcmp(map->name, mapName) == 0) return map;
  }
  return nullptr;
}

}  // namespace quor
