#include "platform/file_prompt.h"

#include "platform/text.h"

namespace platform {

std::unique_ptr<FilePromptPage> FilePromptPage::Create() {
  FontRequest fontRequest;
  fontRequest.face = "Arial";
  fontRequest.height = -16;
  std::unique_ptr<FilePromptPage> prompt(new FilePromptPage);
  prompt->font_ = Font::Create(fontRequest);
  prompt->page_ = Surface::Create(640, 480, PixelFormat::ForDepth(32));
  if (!prompt->font_ || !prompt->page_) return nullptr;
  return prompt;
}

const Surface& FilePromptPage::Draw(const FilePromptState& state) {
  Surface& page = *page_;
  const Font& font = *font_;
  const bool asking = !state.question.empty();
  std::string hint = asking ? "Y or Enter says yes; N or Escape goes back to the name."
                     : state.refusal.empty()
                         ? "Type a file name, Enter to accept, Escape to cancel."
                         : "Type another name, or Escape to cancel.";
  const std::string& notice = asking ? state.question : state.refusal;
  page.Fill(nullptr, page.MatchColor(0x00402020));
  DrawText(page, font, 40, 160, state.title.c_str(), state.title.size(), 0x00FFFFFF);
  std::string line = asking ? state.typed : state.typed + "_";
  DrawText(page, font, 40, 220, line.c_str(), line.size(), 0x0000FFFF);
  if (!notice.empty()) DrawText(page, font, 40, 260, notice.c_str(), notice.size(), 0x006080FF);
  DrawText(page, font, 40, 300, hint.c_str(), hint.size(), 0x00C0C0C0);
  return page;
}

}  // namespace platform
