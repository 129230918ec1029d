// Text on a surface: the characters of a font in one colour over a transparent
// background, as the engine's text boxes draw them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/font.h"
#include "platform/surface.h"

namespace platform {

// Draws n characters with the top-left corner of their cell at (x, y), in a 0x00BBGGRR
// colour, clipped to the surface. Pixels between the strokes keep what was there. Fails
// (drawing nothing) when the surface is lost or locked.
SurfaceResult DrawText(Surface& surface, const Font& font, int x, int y, const char* text,
                       size_t n, uint32_t color);

// What the host says in its own words (the file prompt, a notice over the game's picture)
// is drawn in this font and these 0x00BBGGRR colours, not the game's.
std::unique_ptr<Font> HostFont();
constexpr uint32_t kHostInk = 0x00FFFFFF, kHostPaper = 0x00402020;

// The text in lines as the game's boxes break it (BreakIntoLines), with fewer characters to
// a line where wide letters would still run past the width in the font.
std::vector<std::string> LinesThatFit(const Font& font, const std::string& text, int width);

}  // namespace platform
