#include "platform/file_prompt.h"

#include <algorithm>
#include <vector>

#include "platform/host.h"
#include "platform/text.h"

namespace platform {

namespace {

// Every line keeps this far from the page's left and right edges.
constexpr int kMargin = 40;
// Stands before a name whose start is out of view, in a colour of its own, so that it is
// never read as a part of the name.
constexpr char kStartOutOfView[] = "...";
constexpr uint32_t kStartOutOfViewColor = 0x00008080;

bool StartsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

int WidthOf(const Font& font, const std::string& text, size_t from = 0) {
  return font.Measure(text.data() + from, text.size() - from).width;
}

// The end of the line that fits the width, from the start of a character: as in a
// desktop's text field, the end of a long name, where the cursor is, stays in view.
std::string EndThatFits(const Font& font, const std::string& line, int width) {
  size_t from = 0;
  while (from < line.size() && WidthOf(font, line, from) > width) {
    ++from;
    while (from < line.size() && !StartsCharacter(line[from])) ++from;
  }
  return line.substr(from);
}

}  // namespace

std::unique_ptr<FilePromptPage> FilePromptPage::Create() {
  std::unique_ptr<FilePromptPage> prompt(new FilePromptPage);
  prompt->font_ = HostFont();
  prompt->page_ = Surface::Create(640, 480, PixelFormat::ForDepth(32));
  if (!prompt->font_ || !prompt->page_) return nullptr;
  return prompt;
}

const Surface& FilePromptPage::Draw(const FilePromptState& state) {
  Surface& page = *page_;
  const Font& font = *font_;
  const int width = page.Width() - 2 * kMargin;
  const bool asking = !state.question.empty();
  std::string hint = asking ? "Y or Enter says yes; N or Escape goes back to the name."
                     : state.refusal.empty()
                         ? "Type a file name, Enter to accept, Escape to cancel."
                         : "Type another name, or Escape to cancel.";
  const std::string name = asking ? state.typed : state.typed + "_";
  const bool startHidden = WidthOf(font, name) > width;
  const int signWidth = startHidden ? WidthOf(font, kStartOutOfView) + font.Height() / 4 : 0;
  const std::string line = EndThatFits(font, name, width - signWidth);
  const std::vector<std::string> notice =
      LinesThatFit(font, asking ? state.question : state.refusal, width);
  // The title, the name, the notice and the keys stand as one block in the middle of the
  // page; a notice too long for the usual gaps narrows them.
  const int step = font.Height() + 2;
  int titleGap = 60, gap = 40;
  auto blockHeight = [&] {
    return titleGap + gap + int(notice.size() - 1) * step + gap + font.Height();
  };
  if (blockHeight() > page.Height()) titleGap = gap = step;
  int y = std::max(0, (page.Height() - blockHeight()) / 2);
  page.Fill(nullptr, page.MatchColor(kHostPaper));
  DrawText(page, font, kMargin, y, state.title.c_str(), state.title.size(), kHostInk);
  y += titleGap;
  if (startHidden)
    DrawText(page, font, kMargin, y, kStartOutOfView, sizeof kStartOutOfView - 1,
             kStartOutOfViewColor);
  DrawText(page, font, kMargin + signWidth, y, line.c_str(), line.size(), 0x0000FFFF);
  y += gap;
  for (const std::string& part : notice) {
    DrawText(page, font, kMargin, y, part.c_str(), part.size(), 0x006080FF);
    y += step;
  }
  y += gap - step;
  DrawText(page, font, kMargin, y, hint.c_str(), hint.size(), 0x00C0C0C0);
  return page;
}

}  // namespace platform
