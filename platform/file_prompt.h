// The prompt typed into the game window where the desktop has no chooser: its page is
// drawn here in software, so that what the player reads can be read by a test as well.
#pragma once

#include <memory>
#include <string>

#include "platform/font.h"
#include "platform/surface.h"

namespace platform {

// What the prompt holds at one moment.
struct FilePromptState {
  std::string title;     // what is asked, "Save As - Saved Files (*.sav)"
  std::string typed;     // the name as typed so far
  std::string refusal;   // why the name given last was refused, or nothing
  std::string question;  // while set, the typed name waits for a yes or no to replacing a file
};

class FilePromptPage {
 public:
  // Null when the prompt's font cannot be found or its page made.
  static std::unique_ptr<FilePromptPage> Create();

  // The page showing the state, with the keys that answer it; it holds that picture until
  // the next call.
  const Surface& Draw(const FilePromptState& state);
  // The font every line of the page is written in.
  const Font& TextFont() const { return *font_; }

 private:
  FilePromptPage() = default;

  std::unique_ptr<Font> font_;
  std::unique_ptr<Surface> page_;
};

}  // namespace platform
