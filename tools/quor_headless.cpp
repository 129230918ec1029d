// Plays the real game without a display, from a script of timed key presses, and writes
// chosen frames as PNG pictures.
//
//   quor_headless [--frames N] [--press FRAME:KEY] [--release FRAME:KEY]
//                 [--tap FRAME:KEY] [--shot FRAME:FILE.png]
//
// KEY is a key code number (Space 57, Escape 1, arrows 200/203/205/208, F-keys 59...).
// The clock is virtual, so a run takes as long as the work and gives the same frames
// every time.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/core/engine_globals.h"
#include "engine/app/game_hooks.h"
#include "engine/app/run_application.h"
#include "game/rules/game_functions.h"
#include "platform/headless/headless_host.h"

namespace {

bool SplitPair(const char* text, int& frame, std::string& rest) {
  const char* colon = std::strchr(text, ':');
  if (!colon) return false;
  frame = std::atoi(text);
  rest = colon + 1;
  return frame >= 0 && !rest.empty();
}

int Usage() {
  std::fprintf(stderr,
               "usage: quor_headless [--frames N] [--press F:KEY] [--release F:KEY] "
               "[--tap F:KEY] [--shot F:FILE.png]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  platform::HeadlessHost host;
  int frames = 600;
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    if (i + 1 >= argc) return Usage();
    const char* value = argv[++i];
    int frame = 0;
    std::string rest;
    if (option == "--frames") {
      frames = std::atoi(value);
    } else if (option == "--press" || option == "--release" || option == "--tap") {
      if (!SplitPair(value, frame, rest)) return Usage();
      uint8_t key = static_cast<uint8_t>(std::atoi(rest.c_str()));
      if (option != "--release")
        host.AtFrame(frame, [key](platform::HeadlessHost& h) { h.input.PressKey(key); });
      if (option != "--press")
        host.AtFrame(frame + (option == "--tap" ? 1 : 0),
                     [key](platform::HeadlessHost& h) { h.input.ReleaseKey(key); });
    } else if (option == "--shot") {
      if (!SplitPair(value, frame, rest)) return Usage();
      // Taken at the start of the next frame, once frame `frame` has been presented.
      host.AtFrame(frame + 1, [rest](platform::HeadlessHost& h) {
        if (!h.video.SaveLastFrame(rest)) std::fprintf(stderr, "could not write %s\n", rest.c_str());
      });
    } else {
      return Usage();
    }
  }
  host.QuitAtFrame(frames);
  platform::InstallHost(&host);
  quor::InstallGameHooks(game::TheGameHooks());
  int result = quor::RunApplication();
  platform::InstallHost(nullptr);
  for (const auto& box : host.messageBoxes)
    std::fprintf(stderr, "[%s] %s\n", box.caption.c_str(), box.text.c_str());
  return result;
}
