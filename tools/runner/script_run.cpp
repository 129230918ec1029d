#include "tools/runner/script_run.h"

#include <algorithm>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/scene/game_node.h"
#include "platform/headless/headless_host.h"
#include "tools/runner/game_state.h"

namespace runner {

ScriptRun* ScriptRun::following_ = nullptr;

namespace {

int PhaseOf(Action action) {
  switch (action) {
    case Action::Shot:
      return 0;
    case Action::Report:
    case Action::ExpectScene:
    case Action::ExpectVariable:
    case Action::ExpectMessages:
      return 1;
    default:
      return 2;
  }
}

bool IsExpectation(Action action) {
  return action == Action::ExpectScene || action == Action::ExpectVariable ||
         action == Action::ExpectMessages;
}

}  // namespace

ScriptRun::ScriptRun(const Script& script, std::ostream& out) : script_(script), out_(out) {
  for (const Event& event : script_.events) {
    // A picture of frame F exists once F has been shown, so it is taken as F + 1 begins.
    int due = event.action == Action::Shot ? event.frame + 1 : event.frame;
    steps_.push_back(Step{due, PhaseOf(event.action), &event});
    if (IsExpectation(event.action)) ++expectations_;
  }
  std::stable_sort(steps_.begin(), steps_.end(), [](const Step& a, const Step& b) {
    return a.due != b.due ? a.due < b.due : a.phase < b.phase;
  });
}

ScriptRun::~ScriptRun() { StopFollowing(); }

void ScriptRun::StopFollowing() {
  if (following_ != this) return;
  following_ = nullptr;
  quor::SceneSwitchObserver = nullptr;
}

void ScriptRun::Install(platform::HeadlessHost& host) {
  host_ = &host;
  following_ = this;
  quor::SceneSwitchObserver = &ScriptRun::OnSceneSwitch;
  host.EveryFrame([this](platform::HeadlessHost& h) { OnFrame(h.Frame()); });
  host.QuitAtFrame(script_.frames);
}

void ScriptRun::OnSceneSwitch(quor::GameNode* scene) {
  // The switch is made before the host counts the new frame: it belongs to the next one.
  if (following_ && following_->host_) following_->Switched(scene, following_->host_->Frame() + 1);
}

void ScriptRun::Switched(quor::GameNode* scene, int frame) {
  NoticeHostRecords(frame - 1);
  lastScene_ = scene;
  Report("switch", frame);
  CountSprites();
}

void ScriptRun::OnFrame(int frame) {
  lastFrame_ = frame;
  NoticeHostRecords(frame - 1);
  // A loaded game may bring another scene without a switch.
  if (quor::CurrentGameNode != lastScene_) Switched(quor::CurrentGameNode, frame);
  CountSprites();

  auto runPhase = [&](int phase) {
    for (; nextStep_ < steps_.size() && steps_[nextStep_].due <= frame &&
           steps_[nextStep_].phase == phase;
         ++nextStep_)
      Do(*steps_[nextStep_].event, frame);
  };
  runPhase(0);
  for (const Repeat& repeat : script_.repeats)
    if (repeat.action == Action::Shot && frame >= 1 && (frame - 1) % repeat.every == 0)
      TakeShot(ShotName(repeat.text, frame - 1), frame - 1, repeat.where);
  runPhase(1);
  for (const Repeat& repeat : script_.repeats)
    if (repeat.action == Action::Report && frame % repeat.every == 0) Report("report", frame);
  runPhase(2);
}

void ScriptRun::NoticeHostRecords(int frame) {
  frame = std::max(frame, 0);
  for (; boxesSeen_ < host_->messageBoxes.size(); ++boxesSeen_) {
    const platform::RecordedMessageBox& box = host_->messageBoxes[boxesSeen_];
    out_ << "box frame=" << frame << " caption=" << Quoted(box.caption) << " text=" << Quoted(box.text)
         << "\n";
  }
  for (; dialogsSeen_ < host_->dialogRequests.size(); ++dialogsSeen_) {
    const platform::FileDialogRequest& request = host_->dialogRequests[dialogsSeen_];
    const std::string line = std::string("dialog frame=") + std::to_string(frame) + ' ' +
                             (request.kind == platform::FileDialogKind::Save ? "save " : "open ") +
                             request.filterPattern;
    // The host takes the answers in the order they were given; those it refused come first.
    for (; refusalsSeen_ < host_->dialogRefusals.size() &&
           host_->dialogRefusals[refusalsSeen_].dialog == dialogsSeen_;
         ++refusalsSeen_) {
      out_ << line << " answer=" << host_->dialogRefusals[refusalsSeen_].answer
           << " refused=" << Quoted(host_->dialogRefusals[refusalsSeen_].text) << "\n";
      if (!answers_.empty()) answers_.pop_front();
    }
    out_ << line;
    if (answers_.empty()) {
      out_ << " unanswered\n";
    } else {
      out_ << (answers_.front().empty() ? " cancelled" : " answer=" + answers_.front()) << "\n";
      answers_.pop_front();
    }
  }
}

void ScriptRun::Do(const Event& event, int frame) {
  switch (event.action) {
    case Action::Press:
      host_->input.PressKey(event.key);
      break;
    case Action::Release:
      host_->input.ReleaseKey(event.key);
      break;
    case Action::Answer:
      host_->AnswerFileDialog(event.text);
      answers_.push_back(event.text);
      break;
    case Action::Cancel:
      host_->CancelFileDialog();
      answers_.push_back("");
      break;
    case Action::Shot:
      TakeShot(ShotName(event.text, event.frame), event.frame, event.where);
      break;
    case Action::Report:
      Report("report", frame);
      break;
    case Action::ExpectScene: {
      std::string scene = quor::CurrentGameNode ? quor::CurrentGameNode->GetName() : "none";
      if (scene != event.text)
        Fail(event.where, "frame " + std::to_string(frame) + ": the scene is " + Quoted(scene) +
                              ", expected " + Quoted(event.text));
      break;
    }
    case Action::ExpectVariable: {
      int32_t value = FindGameVariable(event.text)->read();
      if (value != event.value)
        Fail(event.where, "frame " + std::to_string(frame) + ": " + event.text + " is " +
                              std::to_string(value) + ", expected " + std::to_string(event.value));
      break;
    }
    case Action::ExpectMessages: {
      size_t shown = host_->messageBoxes.size();
      if (shown != static_cast<size_t>(event.value))
        Fail(event.where, "frame " + std::to_string(frame) + ": " + std::to_string(shown) +
                              " message boxes were shown, expected " + std::to_string(event.value));
      break;
    }
  }
}

void ScriptRun::TakeShot(const std::string& name, int frame, const std::string& where) {
  if (host_->video.SaveLastFrame(name)) {
    out_ << "shot frame=" << frame << " file=" << name << "\n";
  } else {
    Fail(where, "frame " + std::to_string(frame) + ": could not write the picture " + Quoted(name) +
                    (host_->video.presentedFrames ? "" : " (no frame has been shown yet)"));
  }
}

void ScriptRun::Report(const char* kind, int frame) {
  out_ << kind << " frame=" << frame << ' ' << StateFields(quor::CurrentGameNode) << "\n";
}

void ScriptRun::Fail(const std::string& where, const std::string& message) {
  ++failures_;
  out_ << "FAIL " << where << ": " << message << "\n";
}

void ScriptRun::CountSprites() { peakSprites_ = std::max(peakSprites_, SpriteCount(quor::CurrentGameNode)); }

int ScriptRun::Finish() {
  if (!finished_) {
    finished_ = true;
    if (host_) NoticeHostRecords(lastFrame_);
    for (; nextStep_ < steps_.size(); ++nextStep_) {
      const Event& event = *steps_[nextStep_].event;
      if (IsExpectation(event.action) || event.action == Action::Shot)
        Fail(event.where, "frame " + std::to_string(event.frame) + " never came: the run ended at frame " +
                              std::to_string(lastFrame_));
    }
    out_ << "end frame=" << lastFrame_ << " expectations=" << expectations_ << " failed=" << failures_
         << " peak-sprites=" << peakSprites_ << "\n";
    out_.flush();
    StopFollowing();
  }
  return failures_ ? 1 : 0;
}

}  // namespace runner
