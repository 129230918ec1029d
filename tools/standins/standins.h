// The stand-in art and sound: every bitmap and wave file the game names, made from the
// game's own tables (the animation entries' frames, the scenes' maps and sounds) and
// written into "BITMAPS" and "Sounds" of the folder the game runs in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/standins/frame_pictures.h"

namespace game {
struct MapRow;
}

namespace standins {

enum class FileKind : uint8_t { kFrame, kMap, kEffect, kMusic };

struct WantedFile {
  std::string path;  // in the game's folder: "BITMAPS/..." or "Sounds/..."
  FileKind kind;
  FrameRequest frame;                 // a frame's picture
  const game::MapRow* map = nullptr;  // a map's picture
  std::string name;                   // the file's own name
};

// Every file the game names, each once (the first use of a name decides its picture).
std::vector<WantedFile> WantedFiles();
// The file's bytes: a BMP or a wave file.
std::vector<uint8_t> MakeFile(const WantedFile& file);

// The list, in the folder, of the stand-ins written there and the fingerprint of each.
constexpr const char* kStandinList = "standins.txt";

struct WriteReport {
  int written = 0;    // new, or a stand-in of an older table
  int unchanged = 0;  // already as made
  int kept = 0;       // not a stand-in of ours: real art or sound wins
  int failed = 0;
};

// Writes the stand-ins into folder. A file that is there already is kept unless it is a
// stand-in written earlier and left as written (the list "standins.txt" in the folder
// remembers those), so real files dropped in are never overwritten.
WriteReport WriteStandins(const std::string& folder);
// The same for some of the files only.
WriteReport WriteStandins(const std::string& folder, const std::vector<WantedFile>& files);

}  // namespace standins
