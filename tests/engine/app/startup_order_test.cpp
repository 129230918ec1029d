// The run function's start-up and shutdown order, seen from the host and the game's hooks:
// each call the engine makes of them records which engine objects exist at that moment.
// And the window messages of a desktop's minimise and restore, as the player's host passes
// them on.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "engine/app/game_director.h"
#include "engine/app/game_hooks.h"
#include "engine/app/run_application.h"
#include "engine/core/engine_globals.h"
#include "engine/core/node_list.h"
#include "engine/display/display.h"
#include "engine/sound_input/keyboard.h"
#include "platform/headless/headless_host.h"
#include "platform/window_event_order.h"
#include "tests/support/engine_hooks.h"
#include "tests/support/headless_run.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

std::string EngineObjects() {
  std::string made;
  auto add = [&made](bool present, const char* name) {
    if (present) made += made.empty() ? name : std::string(" ") + name;
  };
  add(DirectDrawObject != nullptr, "graphics");
  add(CurrentGameDirector != nullptr, "director");
  add(GameNodeList().Count() > 0, "scenes");
  add(GammaRampEffect && OpenCloseEffect && RandomDissolveEffect, "transitions");
  add(CurrentGameNode != nullptr, "current-scene");
  add(CurrentKeyboard != nullptr, "keyboard");
  add(CurrentMouse != nullptr, "mouse");
  return made.empty() ? "nothing" : made;
}

std::vector<std::string> trace;

// Notes a call with what exists then; a call repeated in a row is noted once.
void Note(const char* call) {
  std::string entry = std::string(call) + ": " + EngineObjects();
  if (trace.empty() || trace.back() != entry) trace.push_back(entry);
}

class TracingHost : public platform::HeadlessHost {
 public:
  bool AcquireInstanceLock(const std::string& name) override {
    Note("lock");
    return HeadlessHost::AcquireInstanceLock(name);
  }
  platform::AudioOutput& Audio() override {
    if (!audioAsked_) Note("sound probe");
    audioAsked_ = true;
    return HeadlessHost::Audio();
  }
  bool CreateMainWindow(const std::string& title, int width, int height, bool fullScreen) override {
    Note("window");
    return HeadlessHost::CreateMainWindow(title, width, height, fullScreen);
  }
  platform::VideoOutput& Video() override {
    if (!videoAsked_) Note("display");
    videoAsked_ = true;
    return HeadlessHost::Video();
  }
  platform::InputSource& Input() override {
    Note("input device");
    return HeadlessHost::Input();
  }
  bool TakeMessage(platform::WindowMessage& message) override {
    if (!looping_) Note("main loop");
    looping_ = true;
    return HeadlessHost::TakeMessage(message);
  }
  void ReleaseInstanceLock() override {
    Note("unlock");
    HeadlessHost::ReleaseInstanceLock();
  }
  void DestroyMainWindow() override {
    Note("window closed");
    HeadlessHost::DestroyMainWindow();
  }

 private:
  bool audioAsked_ = false, videoAsked_ = false, looping_ = false;
};

GameHooks TracingHooks() {
  static const GameHooks engineOnly = testing_support::EngineOnlyHooks();
  GameHooks hooks = engineOnly;
  hooks.preInit = [] { Note("game pre-init"); };
  hooks.setDisplayMode = [] {
    Note("game display mode");
    engineOnly.setDisplayMode();
  };
  hooks.createScenes = [] {
    Note("game scenes");
    engineOnly.createScenes();
  };
  hooks.shutdown = [] { Note("game shutdown"); };
  return hooks;
}

TEST(StartupOrder, StartsAndShutsDownInItsFixedOrder) {
  testing_support::TempDir dir;
  TracingHost host;
  platform::InstallHost(&host);
  InstallGameHooks(TracingHooks());
  KeyboardInstanceCount = 0;
  trace.clear();
  host.QuitAtFrame(3);
  EXPECT_EQ(RunApplication(), 0);
  platform::InstallHost(nullptr);
  InstallGameHooks(GameHooks());
  KeyboardInstanceCount = 0;

  std::vector<std::string> expected = {
      "lock: nothing",
      "game pre-init: nothing",
      "sound probe: nothing",
      "game display mode: nothing",
      "window: nothing",
      "display: nothing",
      "game scenes: graphics director",
      // The keyboard is made, then the mouse, once the scenes and transitions exist.
      "input device: graphics director scenes transitions current-scene",
      "input device: graphics director scenes transitions current-scene keyboard",
      "main loop: graphics director scenes transitions current-scene keyboard mouse",
      // Shutdown: scenes, director, transitions and graphics go before the lock; the
      // game's last code runs after it, while the devices still live; the window goes last.
      "unlock: keyboard mouse",
      "game shutdown: keyboard mouse",
      "window closed: nothing",
  };
  EXPECT_EQ(trace, expected);
}

// Feeds window messages through the player's host's ordering, with their times.
void PostAsTheDesktopSendsThem(platform::HeadlessHost& host,
                               const std::vector<std::pair<platform::WindowEvent, uint32_t>>& events) {
  platform::WindowEventOrder order;
  std::deque<platform::WindowMessage> passed;
  for (const auto& e : events) order.Add(platform::WindowMessage{e.first}, e.second, passed);
  for (const platform::WindowMessage& m : passed) host.Post(m);
}

TEST(StartupOrder, AMinimiseAndRestoreInTheWindowManagersOrderLeaveTheGameRunning) {
  using platform::WindowEvent;
  testing_support::TempDir dir;
  testing_support::HeadlessRun run;
  std::vector<int> paused;
  run.host.EveryFrame([&](platform::HeadlessHost&) { paused.push_back(Paused); });
  // The window manager takes the focus away, then reports the minimise; the restore
  // brings the focus back. Then, the focus lost to another window long before a minimise.
  run.host.AtFrame(2, [](platform::HeadlessHost& h) {
    PostAsTheDesktopSendsThem(h, {{WindowEvent::FocusLost, 1000},
                                  {WindowEvent::Minimised, 1003},
                                  {WindowEvent::FocusGained, 4000},
                                  {WindowEvent::FocusLost, 9000},
                                  {WindowEvent::Minimised, 12000},
                                  {WindowEvent::FocusGained, 15000}});
  });
  run.Run(10);
  // One message a frame from frame 2: lost, gained (running again), lost, minimised while
  // paused, gained (still paused, as after a minimise while paused on any desktop).
  std::vector<int> expected = {0, 0, 0, 1, 0, 1, 1, 1, 1, 1, 1};
  EXPECT_EQ(paused, expected);
}

}  // namespace
}  // namespace quor
