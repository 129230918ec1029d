// Writes the stand-in art and sound the game needs into a folder's "BITMAPS" and "Sounds".
//
//   standins FOLDER
//
// Files already there that are not this program's own stand-ins are left alone.
#include "tools/standins/standins.h"

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: standins FOLDER\n");
    return 2;
  }
  const standins::WriteReport report = standins::WriteStandins(argv[1]);
  // Quiet when there was nothing to write, as on every start after the first.
  if (report.written > 0)
    std::printf("stand-ins in %s: %d written, %d unchanged, %d kept as they were\n", argv[1],
                report.written, report.unchanged, report.kept);
  if (report.failed > 0) {
    std::fprintf(stderr, "standins: %d files could not be written in %s\n", report.failed, argv[1]);
    return 1;
  }
  return 0;
}
