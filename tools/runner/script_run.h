// Plays a script on a headless host: keys and dialog answers go in at the start of their
// frames, pictures are written, and the run is told as lines on a stream:
//
//   switch frame=F scene=NAME KeyCount=.. ... TenmaLife=.. sprites=L0,L1,...,L15
//   report frame=F (the same fields)
//   shot frame=F file=NAME
//   dialog frame=F save|open PATTERN answer=NAME | cancelled | unanswered
//   dialog frame=F open PATTERN answer=NAME refused="..." (then the dialog asks again)
//   box frame=F caption="..." text="..."
//   FAIL where: what was expected and what was found
//   end frame=F expectations=N failed=M peak-sprites=P
//
// A switch line comes for every scene switch (a scene entered again too) and for a loaded
// game that brings another scene; it shows the new scene as built, before its first frame.
#pragma once

#include <cstdint>
#include <deque>
#include <ostream>
#include <string>
#include <vector>

#include "tools/runner/script.h"

namespace quor {
class GameNode;
}

namespace platform {
class HeadlessHost;
}

namespace runner {

class ScriptRun {
 public:
  // The script must have been finished (FinishScript).
  ScriptRun(const Script& script, std::ostream& out);
  ~ScriptRun();
  ScriptRun(const ScriptRun&) = delete;
  ScriptRun& operator=(const ScriptRun&) = delete;

  // Puts the script on the host, including the end of the run. One run at a time follows
  // the scene switches.
  void Install(platform::HeadlessHost& host);
  // Once the run is over: tells what the run never reached and closes with the end line.
  // 0 when every expectation held and every picture was written, else 1.
  int Finish();

  int Expectations() const { return expectations_; }
  int Failures() const { return failures_; }
  int PeakSprites() const { return peakSprites_; }

 private:
  // One scheduled step: due at the start of frame `due`; pictures, then observations, then
  // input, each in script order.
  struct Step {
    int due;
    int phase;
    const Event* event;
  };

  void OnFrame(int frame);
  static void OnSceneSwitch(quor::GameNode* scene);
  void StopFollowing();
  void Switched(quor::GameNode* scene, int frame);
  void NoticeHostRecords(int frame);
  void Do(const Event& event, int frame);
  void TakeShot(const std::string& name, int frame, const std::string& where);
  void Report(const char* kind, int frame);
  void Fail(const std::string& where, const std::string& message);
  void CountSprites();

  Script script_;
  std::ostream& out_;
  platform::HeadlessHost* host_ = nullptr;
  std::vector<Step> steps_;
  size_t nextStep_ = 0;
  int lastFrame_ = -1;
  quor::GameNode* lastScene_ = nullptr;
  size_t boxesSeen_ = 0;
  size_t dialogsSeen_ = 0;
  size_t refusalsSeen_ = 0;
  std::deque<std::string> answers_;  // given to the host and not yet taken; "" cancels
  int expectations_ = 0;
  int failures_ = 0;
  int peakSprites_ = 0;
  bool finished_ = false;

  static ScriptRun* following_;  // the run told of scene switches
};

}  // namespace runner
