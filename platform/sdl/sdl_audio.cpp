#include "platform/sdl/sdl_audio.h"

#include <SDL.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

void IgnoreAlsaReport(const char*, int, const char*, int, const char*, ...) {}

// ALSA's library writes every failed probe of a missing sound card to the terminal, many
// lines a start; the game says once in plain words that it plays without sound instead.
// SDL opens the same copy of the library, so its reports go here too. Loaded at run
// time, so the build needs nothing of ALSA; without the library there is nothing to quiet.
void QuietAlsaReports() {
  static bool done = false;
  if (done) return;
  done = true;
  void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
  if (!alsa) return;
  using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
  using SetHandler = int (*)(Handler);
  auto setHandler = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
  if (setHandler) setHandler(&IgnoreAlsaReport);
  // The library stays loaded: unloading it would forget the handler.
}

// Without a sound card the default drivers fail; the dummy driver (which SDL never picks
// by itself) still runs the callback at the device's pace.
bool InitDummyDriver() {
  if (SDL_WasInit(SDL_INIT_AUDIO)) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

}  // namespace

SdlAudio::~SdlAudio() {
  if (device_) SDL_CloseAudioDevice(device_);
  device_ = 0;
}

bool SdlAudio::DeviceAvailable() {
  QuietAlsaReports();
  if (SDL_WasInit(SDL_INIT_AUDIO)) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) return true;
  return InitDummyDriver();
}

bool SdlAudio::OpenDevice() {
  SDL_AudioSpec wanted{};
  wanted.freq = static_cast<int>(Mixer::kRate);
  wanted.format = AUDIO_S16SYS;
  wanted.channels = static_cast<Uint8>(Mixer::kChannels);
  // About 23 ms a callback: effects start as soon as they are played.
  wanted.samples = 1024;
  wanted.callback = &SdlAudio::Pull;
  wanted.userdata = this;
  SDL_AudioSpec obtained{};
  device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  return device_ != 0;
}

void SdlAudio::Start() {
  if (started_) return;
  started_ = true;
  bool ok = DeviceAvailable() && OpenDevice();
  if (!ok && InitDummyDriver()) ok = OpenDevice();
  const char* driver = SDL_GetCurrentAudioDriver();
  if (!ok || !driver || std::strcmp(driver, "dummy") == 0)
    std::fprintf(stderr, "No sound device found; playing without sound.\n");
  if (!ok) {
    mixer_.SetClock([]() -> uint32_t { return SDL_GetTicks(); });
    return;
  }
  SDL_PauseAudioDevice(device_, 0);
}

void SdlAudio::Pull(void* self, uint8_t* stream, int length) {
  auto* audio = static_cast<SdlAudio*>(self);
  audio->mixer_.Mix(reinterpret_cast<int16_t*>(stream),
                    static_cast<size_t>(length) / (2 * Mixer::kChannels));
}

}  // namespace platform
