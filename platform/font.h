// Fonts for text drawn on surfaces: a face found by name (with a fixed table of stand-ins
// for faces that Linux lacks), rendered without antialiasing at 96 dpi in the height,
// average width, weight, slant, underline and strike-out asked for. Every character is
// one byte (Latin-1); its width is its whole-pixel advance, so measuring a text and
// drawing it always agree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// What a caller asks for, in pixels.
struct FontRequest {
  std::string face = "Arial";
  // Negative: the character (em) height; positive: the whole cell height; 0: a default.
  int height = 0;
  // The average character width; its sign is ignored; 0 keeps the face's own proportions.
  int width = 0;
  // 0..1000; 0 means normal (400).
  int weight = 0;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

// The file a face name resolved to, and what has to be synthesised because the file
// lacks it.
struct FaceChoice {
  std::string path;
  int index = 0;
  std::string family;  // the family actually chosen
  bool embolden = false;
  bool slant = false;
};

// Resolves a face name: the stand-in table first, then the name itself, then a plain sans
// face. fontconfig's own nearest match is never taken for a name it does not know (it
// answers some names with a symbol font). False only when no scalable face exists at all.
bool FindFace(const std::string& face, int weight, bool italic, FaceChoice* choice);

struct TextSize {
  int width = 0;
  int height = 0;
};

class Font {
 public:
  // Null when no face can be found or opened.
  static std::unique_ptr<Font> Create(const FontRequest& request);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  const FontRequest& Request() const { return request_; }
  const FaceChoice& Choice() const { return choice_; }
  // Cell metrics in whole pixels: Height() = Ascent() + Descent().
  int Ascent() const { return ascent_; }
  int Descent() const { return descent_; }
  int Height() const { return ascent_ + descent_; }

  // The advance of one character in whole pixels (0 for a character the face cannot show
  // and that has no advance).
  int Advance(unsigned char c) const;
  // The width (sum of advances) and the cell height of n characters; n = 0 gives width 0.
  TextSize Measure(const char* text, size_t n) const;

  // Calls plot(x, y) for every set pixel of the n characters laid out from a cell whose
  // top-left corner is (0, 0), underline and strike-out included.
  void Rasterise(const char* text, size_t n, const std::function<void(int, int)>& plot) const;

 private:
  struct Glyph {
    bool loaded = false;
    int advance = 0;
    int left = 0;  // bitmap offset from the pen, x to the right
    int top = 0;   // bitmap top above the baseline
    int width = 0;
    int rows = 0;
    std::vector<uint8_t> bits;  // one byte per pixel, 0 or 1
  };

  Font() = default;
  const Glyph& GlyphFor(unsigned char c) const;

  FontRequest request_;
  FaceChoice choice_;
  void* face_ = nullptr;  // the shared face (FT_Face)
  void* size_ = nullptr;  // this font's own size object (FT_Size)
  int ascent_ = 0;
  int descent_ = 0;
  int underlinePosition_ = 0;  // rows below the baseline
  int underlineThickness_ = 1;
  int strikePosition_ = 0;  // rows above the baseline
  int strikeThickness_ = 1;
  mutable std::vector<Glyph> glyphs_;
};

}  // namespace platform
