#include "platform/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include FT_SIZES_H
#include FT_ADVANCES_H

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <strings.h>

namespace platform {

namespace {

// Faces the game and the engine ask for that Linux does not ship, with the installed
// families that look most like them, best first. A weight of 0 keeps the caller's weight.
struct Substitute {
  const char* family;
  int weight;
};
struct SubstituteEntry {
  const char* face;
  Substitute substitutes[3];
};
const SubstituteEntry kSubstitutes[] = {
    {"Arial", {{"Liberation Sans", 0}, {"DejaVu Sans", 0}, {nullptr, 0}}},
    // A heavy, narrow display face: the condensed bold sans is closest in build.
    {"Impact", {{"DejaVu Sans Condensed", 700}, {"DejaVu Sans", 700}, {nullptr, 0}}},
    // A serif book face, used for story text shown large and heavy.
    {"Lucida Bright", {{"DejaVu Serif", 700}, {"Liberation Serif", 700}, {nullptr, 0}}},
};
// For a name that is installed nowhere: a plain sans face, as the original system falls
// back to its default face.
const Substitute kFallbacks[] = {{"Liberation Sans", 0}, {"DejaVu Sans", 0}};

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library made = nullptr;
    if (FT_Init_FreeType(&made) != 0) made = nullptr;
    return made;
  }();
  return library;
}

FcConfig* config = nullptr;

// fontconfig keeps caches of its own that only its finaliser releases.
void ReleaseConfig() {
  if (config) FcConfigDestroy(config);
  config = nullptr;
  FcFini();
}

FcConfig* Config() {
  if (!config) {
    config = FcInitLoadConfigAndFonts();
    if (config) std::atexit(ReleaseConfig);
  }
  return config;
}

bool FamilyMatches(FcPattern* pattern, const char* family) {
  FcChar8* value = nullptr;
  for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &value) == FcResultMatch; ++i)
    if (strcasecmp(reinterpret_cast<const char*>(value), family) == 0) return true;
  return false;
}

// Asks fontconfig for family at weight and slant. With exact set, a match of another
// family (fontconfig's nearest guess) is refused.
bool Match(const char* family, int weight, bool italic, bool exact, FaceChoice* choice) {
  FcConfig* config = Config();
  if (!config) return false;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* found = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (!found) return false;
  bool ok = false;
  FcChar8* file = nullptr;
  FcBool scalable = FcFalse;
  if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch &&
      (FcPatternGetBool(found, FC_SCALABLE, 0, &scalable) != FcResultMatch || scalable) &&
      (!exact || FamilyMatches(found, family))) {
    ok = true;
    choice->path = reinterpret_cast<const char*>(file);
    int index = 0;
    FcPatternGetInteger(found, FC_INDEX, 0, &index);
    choice->index = index;
    choice->family = family;
    int foundWeight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(found, FC_WEIGHT, 0, &foundWeight);
    int foundSlant = FC_SLANT_ROMAN;
    FcPatternGetInteger(found, FC_SLANT, 0, &foundSlant);
    choice->embolden = weight >= 600 && foundWeight < FC_WEIGHT_DEMIBOLD;
    choice->slant = italic && foundSlant == FC_SLANT_ROMAN;
  }
  FcPatternDestroy(found);
  return ok;
}

struct ChoiceKey {
  std::string face;
  int weight;
  bool italic;
  bool operator<(const ChoiceKey& o) const {
    if (weight != o.weight) return weight < o.weight;
    if (italic != o.italic) return italic < o.italic;
    return strcasecmp(face.c_str(), o.face.c_str()) < 0;
  }
};

// Faces are shared by every font of the same file; each font has its own size object.
FT_Face OpenFace(const std::string& path, int index) {
  static std::map<std::pair<std::string, int>, FT_Face>* faces =
      new std::map<std::pair<std::string, int>, FT_Face>;
  auto key = std::make_pair(path, index);
  auto it = faces->find(key);
  if (it != faces->end()) return it->second;
  FT_Library library = Library();
  FT_Face face = nullptr;
  if (!library || FT_New_Face(library, path.c_str(), index, &face) != 0) face = nullptr;
  if (face && !FT_IS_SCALABLE(face)) {
    FT_Done_Face(face);
    face = nullptr;
  }
  if (face) FT_Select_Charmap(face, FT_ENCODING_UNICODE);
  (*faces)[key] = face;
  return face;
}

// The average character width of a face in font units by the rule of the font tables the
// engine's text was laid out with: the lowercase letters and the space, each weighted by
// how often it occurs in text (per thousand). Taken from the face's own advances, so that a
// face with the letter widths of the face it stands in for gets that face's average, even
// where its own recorded average counts other characters. 0 when the face lacks a letter.
int WeightedAverageWidth(FT_Face face) {
  static const struct {
    char c;
    int weight;
  } kWeights[] = {{'a', 64}, {'b', 14}, {'c', 27}, {'d', 35}, {'e', 100}, {'f', 20}, {'g', 14},
                  {'h', 42}, {'i', 63}, {'j', 3},  {'k', 6},  {'l', 35},  {'m', 20}, {'n', 56},
                  {'o', 56}, {'p', 17}, {'q', 4},  {'r', 49}, {'s', 56},  {'t', 71}, {'u', 31},
                  {'v', 10}, {'w', 18}, {'x', 3},  {'y', 18}, {'z', 2},   {' ', 166}};
  static std::map<FT_Face, int>* known = new std::map<FT_Face, int>;
  auto it = known->find(face);
  if (it != known->end()) return it->second;
  long long sum = 0;
  for (const auto& w : kWeights) {
    FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(w.c));
    FT_Fixed advance = 0;
    if (index == 0 || FT_Get_Advance(face, index, FT_LOAD_NO_SCALE, &advance) != 0) {
      sum = 0;
      break;
    }
    sum += static_cast<long long>(advance) * w.weight;
  }
  int average = static_cast<int>(sum / 1000);
  (*known)[face] = average;
  return average;
}

int RoundDiv(long long numerator, long long denominator) {
  if (denominator <= 0) return 0;
  return static_cast<int>((numerator * 2 + denominator) / (denominator * 2));
}

}  // namespace

bool FindFace(const std::string& face, int weight, bool italic, FaceChoice* choice) {
  if (weight <= 0) weight = 400;
  static std::map<ChoiceKey, FaceChoice>* known = new std::map<ChoiceKey, FaceChoice>;
  ChoiceKey key{face, weight, italic};
  auto it = known->find(key);
  if (it != known->end()) {
    *choice = it->second;
    return true;
  }
  FaceChoice made;
  bool found = false;
  for (const SubstituteEntry& entry : kSubstitutes) {
    if (strcasecmp(entry.face, face.c_str()) != 0) continue;
    for (const Substitute& s : entry.substitutes) {
      if (!s.family) break;
      int w = s.weight ? std::max(s.weight, weight) : weight;
      if (Match(s.family, w, italic, true, &made)) {
        found = true;
        break;
      }
    }
    break;
  }
  if (!found && !face.empty()) found = Match(face.c_str(), weight, italic, true, &made);
  for (const Substitute& s : kFallbacks)
    if (!found) found = Match(s.family, weight, italic, true, &made);
  if (!found) found = Match("sans-serif", weight, italic, false, &made);
  if (!found) return false;
  (*known)[key] = made;
  *choice = made;
  return true;
}

std::unique_ptr<Font> Font::Create(const FontRequest& request) {
  FaceChoice choice;
  if (!FindFace(request.face, request.weight, request.italic, &choice)) return nullptr;
  FT_Face face = OpenFace(choice.path, choice.index);
  if (!face) return nullptr;

  const int unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 2048;
  const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  int cellUnits = face->ascender - face->descender;
  if (os2 && os2->usWinAscent + os2->usWinDescent > 0)
    cellUnits = os2->usWinAscent + os2->usWinDescent;
  if (cellUnits <= 0) cellUnits = unitsPerEm;

  // Vertical size: a negative height is the em, a positive one the whole cell.
  int yppem;
  if (request.height < 0)
    yppem = -request.height;
  else if (request.height > 0)
    yppem = RoundDiv(static_cast<long long>(request.height) * unitsPerEm, cellUnits);
  else
    yppem = 16;
  yppem = std::max(1, std::min(yppem, 2000));
  // Horizontal size: the em width that gives the face's average character the width asked.
  int xppem = yppem;
  int width = std::abs(request.width);
  if (width > 0) {
    int average = WeightedAverageWidth(face);
    if (average <= 0) average = os2 && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : unitsPerEm / 2;
    xppem = std::max(1, std::min(RoundDiv(static_cast<long long>(width) * unitsPerEm, average), 2000));
  }

  FT_Size size = nullptr;
  if (FT_New_Size(face, &size) != 0) return nullptr;
  FT_Activate_Size(size);
  if (FT_Set_Pixel_Sizes(face, xppem, yppem) != 0) {
    FT_Done_Size(size);
    return nullptr;
  }

  std::unique_ptr<Font> font(new Font);
  font->request_ = request;
  font->choice_ = choice;
  font->face_ = face;
  font->size_ = size;
  const FT_Size_Metrics& m = size->metrics;
  if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
    // The cell of the original system's text: the face's Windows ascent and descent, the
    // whole height rounded and the ascent rounded up.
    int height = static_cast<int>(std::lround(static_cast<double>(cellUnits) * yppem / unitsPerEm));
    int ascent = static_cast<int>(std::ceil(static_cast<double>(os2->usWinAscent) * yppem / unitsPerEm));
    font->ascent_ = std::min(ascent, height);
    font->descent_ = height - font->ascent_;
  } else {
    font->ascent_ = static_cast<int>((m.ascender + 63) / 64);
    font->descent_ = static_cast<int>((-m.descender + 63) / 64);
  }
  if (font->ascent_ + font->descent_ <= 0) font->ascent_ = yppem;

  auto scaleY = [&](long units) {
    return static_cast<int>(std::lround(static_cast<double>(units) * yppem / unitsPerEm));
  };
  font->underlinePosition_ = std::max(1, -scaleY(face->underline_position));
  font->underlineThickness_ = std::max(1, scaleY(face->underline_thickness));
  if (os2 && os2->yStrikeoutSize > 0) {
    font->strikePosition_ = scaleY(os2->yStrikeoutPosition);
    font->strikeThickness_ = std::max(1, scaleY(os2->yStrikeoutSize));
  } else {
    font->strikePosition_ = font->ascent_ / 3;
    font->strikeThickness_ = font->underlineThickness_;
  }
  font->underlinePosition_ = std::min(font->underlinePosition_, std::max(0, font->descent_ - 1));
  font->glyphs_.resize(256);
  return font;
}

Font::~Font() {
  if (size_) FT_Done_Size(static_cast<FT_Size>(size_));
}

const Font::Glyph& Font::GlyphFor(unsigned char c) const {
  Glyph& glyph = glyphs_[c];
  if (glyph.loaded) return glyph;
  glyph.loaded = true;
  FT_Face face = static_cast<FT_Face>(face_);
  FT_Activate_Size(static_cast<FT_Size>(size_));
  FT_UInt index = FT_Get_Char_Index(face, c);
  if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) != 0) return glyph;
  FT_GlyphSlot slot = face->glyph;
  int extra = 0;
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    if (choice_.embolden) {
      // One pixel heavier, one pixel wider, as synthesised bold text has always been.
      FT_Outline_EmboldenXY(&slot->outline, 64, 0);
      FT_Outline_Translate(&slot->outline, -32, 0);
      extra = 1;
    }
    if (choice_.slant) FT_GlyphSlot_Oblique(slot);
  }
  glyph.advance = static_cast<int>((slot->advance.x + 32) / 64) + extra;
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  glyph.left = slot->bitmap_left;
  glyph.top = slot->bitmap_top;
  glyph.width = static_cast<int>(bitmap.width);
  glyph.rows = static_cast<int>(bitmap.rows);
  glyph.bits.assign(static_cast<size_t>(glyph.width) * glyph.rows, 0);
  for (int y = 0; y < glyph.rows; ++y) {
    const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
    for (int x = 0; x < glyph.width; ++x) {
      bool set;
      if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
        set = (row[x >> 3] >> (7 - (x & 7))) & 1;
      else
        set = row[x] >= 128;
      glyph.bits[static_cast<size_t>(y) * glyph.width + x] = set ? 1 : 0;
    }
  }
  return glyph;
}

int Font::Advance(unsigned char c) const { return GlyphFor(c).advance; }

TextSize Font::Measure(const char* text, size_t n) const {
  TextSize size;
  size.height = Height();
  for (size_t i = 0; i < n; ++i) size.width += Advance(static_cast<unsigned char>(text[i]));
  return size;
}

void Font::Rasterise(const char* text, size_t n,
                     const std::function<void(int, int)>& plot) const {
  int pen = 0;
  for (size_t i = 0; i < n; ++i) {
    const Glyph& glyph = GlyphFor(static_cast<unsigned char>(text[i]));
    int originX = pen + glyph.left;
    int originY = ascent_ - glyph.top;
    for (int y = 0; y < glyph.rows; ++y)
      for (int x = 0; x < glyph.width; ++x)
        if (glyph.bits[static_cast<size_t>(y) * glyph.width + x]) plot(originX + x, originY + y);
    auto line = [&](int top, int thickness) {
      for (int y = top; y < top + thickness; ++y)
        for (int x = pen; x < pen + glyph.advance; ++x) plot(x, y);
    };
    if (request_.underline) line(ascent_ + underlinePosition_, underlineThickness_);
    if (request_.strikeOut) line(ascent_ - strikePosition_, strikeThickness_);
    pen += glyph.advance;
  }
}

}  // namespace platform
