#include "platform/file_dialog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/box_panel.h"
#include "platform/file_prompt.h"
#include "platform/host.h"
#include "platform/notice_band.h"
#include "tests/support/temp_dir.h"

namespace platform {
namespace {

// The default extension and the refusal of a missing file are played through the headless
// runner; here, what an open dialog makes of names that only match in part.
TEST(FileDialogAnswer, AnOpenDialogTakesAFileAsNamedAndNeverAFolder) {
  testing_support::TempDir dir;
  FileDialogRequest open;
  open.defaultExtension = "sav";
  open.initialDirectory = dir.Path();
  open.mustExist = true;
  std::ofstream(dir.File("plain")) << "x";
  mkdir(dir.File("folder.sav").c_str(), 0700);
  std::string path, refusal;
  EXPECT_TRUE(ResolveDialogAnswer(open, "plain", path, refusal));
  EXPECT_EQ(path, dir.File("plain"));
  EXPECT_FALSE(ResolveDialogAnswer(open, "folder", path, refusal));
  EXPECT_EQ(refusal, "The file \"folder.sav\" does not exist.");
  EXPECT_FALSE(ResolveDialogAnswer(open, "", path, refusal));
  // "sub/" was said not to exist as "sub/.sav", a name the player never gave.
  EXPECT_FALSE(ResolveDialogAnswer(open, "folder.sav/", path, refusal));
  EXPECT_EQ(refusal, "\"folder.sav/\" names a folder, not a file.");
}

// The question is about the file the save will replace: the default extension added, and
// the file's own name where it differs from the typed one only in case.
TEST(FileDialogAnswer, ASaveAsksAboutTheFileItWillReplace) {
  testing_support::TempDir dir;
  FileDialogRequest save;
  save.kind = FileDialogKind::Save;
  save.defaultExtension = "sav";
  save.initialDirectory = dir.Path();
  std::ofstream(dir.File("ONE.SAV")) << "x";
  std::string path, refusal, question;
  ASSERT_TRUE(ResolveDialogAnswer(save, "one", path, refusal));
  EXPECT_TRUE(AskBeforeReplacing(save, path, "", question));
  EXPECT_EQ(question, "The file \"ONE.SAV\" exists. Replace it?");
  ASSERT_TRUE(ResolveDialogAnswer(save, "one.rep", path, refusal));
  EXPECT_FALSE(AskBeforeReplacing(save, path, "", question));
  FileDialogRequest open = save;
  open.kind = FileDialogKind::Open;
  ASSERT_TRUE(ResolveDialogAnswer(open, "one", path, refusal));
  EXPECT_FALSE(AskBeforeReplacing(open, path, "", question));
}

// A replay's name always ends in ".rep"; its save writes "x.sar" beside it, is asked about
// once for both files (leaving out the one the chooser asked about itself), and names
// that are folders' (which used to leave a stray or empty start state) are refused.
TEST(FileDialogAnswer, AReplaySaveNamesItsPairAndRefusesFolders) {
  testing_support::TempDir dir;
  FileDialogRequest save;
  save.kind = FileDialogKind::Save;
  save.defaultExtension = "rep";
  save.extensionRequired = true;
  save.companionExtension = "sar";
  save.initialDirectory = dir.Path();
  std::string path, refusal, question;
  ASSERT_TRUE(ResolveDialogAnswer(save, "v1.2", path, refusal));
  EXPECT_EQ(path, dir.File("v1.2.rep"));
  std::ofstream(dir.File("v1.2.rep")) << "x";
  std::ofstream(dir.File("v1.2.sar")) << "x";
  EXPECT_TRUE(AskBeforeReplacing(save, path, "", question));
  EXPECT_EQ(question, "The files \"v1.2.rep\" and \"v1.2.sar\" exist. Replace them?");
  EXPECT_TRUE(AskBeforeReplacing(save, path, path, question));
  EXPECT_EQ(question, "The file \"v1.2.sar\" exists. Replace it?");
  for (const char* folder : {"sub/", ".", ".."}) {
    EXPECT_FALSE(ResolveDialogAnswer(save, folder, path, refusal)) << folder;
    EXPECT_EQ(refusal, "\"" + std::string(folder) + "\" names a folder, not a file.");
  }
  mkdir(dir.File("w.sar").c_str(), 0700);
  EXPECT_FALSE(ResolveDialogAnswer(save, "w", path, refusal));
  EXPECT_EQ(refusal, "\"w.sar\" is a folder, not a file.");
}

// A save error naming a long file made a box wider than the screen, its button out of reach.
TEST(MessageBoxText, BreaksIntoLinesThatFitAndLosesNothing) {
  const std::string name = "/home/player/" + std::string(254, 'n') + ".sav";
  const std::string text = "The game could not be saved to \"" + name + "\": File name too long .";
  const std::string broken = BreakIntoLines(text, 56);
  std::vector<std::string> lines;
  for (size_t at = 0, end; at <= broken.size(); at = end + 1) {
    end = std::min(broken.find('\n', at), broken.size());
    lines.push_back(broken.substr(at, end - at));
    EXPECT_LE(lines.back().size(), 56u) << lines.back();
  }
  EXPECT_EQ(lines.front(), "The game could not be saved to");
  EXPECT_EQ(lines[1], "\"/home/player/");
  EXPECT_EQ(lines.back(), "long .");  // never a lone "." closing a line of its own
  std::string joined;
  for (const std::string& line : lines) joined += line;
  std::string unbroken = text;
  unbroken.erase(std::remove(unbroken.begin(), unbroken.end(), ' '), unbroken.end());
  joined.erase(std::remove(joined.begin(), joined.end(), ' '), joined.end());
  EXPECT_EQ(joined, unbroken);
  // Characters are counted whole: 60 two-byte letters make lines of 56 and 4.
  std::string accents;
  for (int i = 0; i < 60; ++i) accents += "\xc3\xa9";
  EXPECT_EQ(BreakIntoLines(accents + "\nnext", 56),
            accents.substr(0, 112) + "\n" + accents.substr(112) + "\nnext");
}

// A name that filled a line to its last column left the quote that closes it, or the mark
// after it, to begin the next line, in the prompt's question and the desktop's.
TEST(MessageBoxText, NoLineBeginsWithTheMarkThatClosesWhatStandsBeforeIt) {
  std::vector<std::string> wrong;
  for (const std::string& before : {std::string("The file \""), std::string("At \"/home/")})
    for (size_t length = 1; length <= 130; ++length)
      for (size_t columns : {20u, 37u, 56u}) {
        const std::string name = before + std::string(length, 'n');
        for (const std::string& text :
             {name + ".sav\" exists. Replace it?", name + "/\" is read-only .",
              name + "\", " + name + ".sar\"?"}) {
          // The broken text is the text with breaks put in, some in place of a blank.
          const std::string broken = BreakIntoLines(text, columns);
          size_t from = 0, lineStart = 0;
          for (size_t at = 0; at <= broken.size(); ++at) {
            if (at < broken.size() && broken[at] != '\n') {
              ASSERT_EQ(broken[at], text[from]) << broken;
              ++from;
              continue;
            }
            EXPECT_LE(at - lineStart, columns) << broken;
            lineStart = at + 1;
            if (at == broken.size()) break;
            if (text[from] == ' ') ++from;
            // A mark there closes what stands before it unless a blank parts them.
            if (std::strchr("\".,:;?!)", text[from]) && text[from - 1] != ' ')
              wrong.push_back(broken);
          }
          EXPECT_EQ(from, text.size()) << broken;
        }
      }
  EXPECT_EQ(wrong.size(), 0u) << (wrong.empty() ? "" : wrong.front());
}

// A name ending in a blank and a quote put its own last quote and the one closing it ("")
// at the start of a line; where a closing quote would have begun a line, the extension
// before it was split instead (".sa", then "v""). A break before a name's closing quote
// falls only where the name itself has room for one. A break before the blank inside such a
// name still put the quotes at a line's start, after that blank (` "" does not exist.`), at
// most widths: no line begins with a closing quote, whatever blanks stand before it.
TEST(MessageBoxText, NeitherANamesLastQuotesNorItsExtensionBeginALine) {
  auto count = [](const std::string& in, const std::string& what) {
    size_t n = 0;
    for (size_t at = in.find(what); at != std::string::npos; at = in.find(what, at + 1)) ++n;
    return n;
  };
  // Past its blanks, a line begins with a quote that closes what stands before it: one
  // followed, past any marks, by a blank, another quote or nothing.
  auto closingQuoteBegins = [](const std::string& line) {
    size_t at = line.find_first_not_of(' ');
    if (at == std::string::npos || line[at] != '"') return false;
    at = line.find_first_not_of(".,:;?!)", at + 1);
    return at == std::string::npos || line[at] == ' ' || line[at] == '"';
  };
  std::vector<std::string> wrong;
  for (size_t length = 1; length <= 130; ++length)
    for (size_t columns = 20; columns <= 90; ++columns) {
      const std::string stem(length, 'n');
      const std::vector<std::string> texts = {
          "The file \"" + stem + " \"\" does not exist.",
          "The file \"" + stem + " \".sav\" exists. Replace it?",
          "The file \"" + stem + ".sav\" exists. Replace it?",
          "At \"/home/" + stem + "/v1.2.rep\": Permission denied .",
          "The files \"" + stem + " \".rep\" and \"" + stem + "\".sar\" exist.",
          "The file \"" + stem + ".x \"\" does not exist.",
          "The file \"" + stem + "  \"\" does not exist.",
          "The file \"" + stem + " \" \"\" does not exist.",
          "The file \"" + stem + " \" does not exist.",
          "The file \"" + stem + "  \".sav\" exists. Replace it?"};
      for (const std::string& text : texts) {
        const std::string broken = BreakIntoLines(text, columns);
        bool right = true;
        for (size_t at = 0, end; at <= broken.size(); at = end + 1) {
          end = std::min(broken.find('\n', at), broken.size());
          const std::string line = broken.substr(at, end - at);
          right = right && line.size() <= columns && (at == 0 || !closingQuoteBegins(line)) &&
                  line.compare(0, 1, ".") != 0;
        }
        for (const std::string extension : {".sav\"", ".rep\"", ".sar\""})
          right = right && count(broken, extension) == count(text, extension);
        if (!right) wrong.push_back(broken);
      }
    }
  EXPECT_EQ(wrong.size(), 0u) << (wrong.empty() ? "" : wrong.front());
}

// The pixels of one colour on a page (in rows from `top` to `bottom`): how many, and the
// box around them.
struct Ink {
  int count = 0, left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
};
Ink InkOf(const Image& page, uint32_t color, int top = 0, int bottom = 1 << 20) {
  Ink ink;
  for (int y = top; y < page.height && y <= bottom; ++y)
    for (int x = 0; x < page.width; ++x)
      if (page.At(x, y) == color) {
        ++ink.count;
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
        ink.top = std::min(ink.top, y);
        ink.bottom = std::max(ink.bottom, y);
      }
  return ink;
}

constexpr uint32_t kTypedColor = 0x0000FFFF, kNoticeColor = 0x006080FF, kHintColor = 0x00C0C0C0,
                   kStartOutOfViewColor = 0x00008080;

// A name longer than the prompt's field ran off the page's right edge as it was typed, the
// cursor with it; scrolled to its end, it showed no sign that its start was out of view.
TEST(FilePrompt, ALongNameKeepsItsEndAndTheCursorInViewAndShowsItsStartIsNot) {
  std::unique_ptr<FilePromptPage> prompt = FilePromptPage::Create();
  ASSERT_TRUE(prompt);
  FilePromptState state;
  state.title = "Save as - Saved Files (*.sav)";
  state.typed = std::string(180, 'n');
  const Image page = prompt->Draw(state).ReadImage();
  const Ink typed = InkOf(page, kTypedColor);
  ASSERT_GT(typed.count, 0);
  EXPECT_LE(typed.right, page.width - 40);
  // The cursor, the line's lowest stroke and alone in its rows, stands at its end.
  const Ink cursor = InkOf(page, kTypedColor, typed.bottom, typed.bottom);
  EXPECT_EQ(cursor.right, typed.right);
  EXPECT_LT(cursor.right - cursor.left, 16);
  // Three dots at the margin, on the name's line and apart from it, stand for its start.
  int dots = 0;
  prompt->TextFont().Rasterise("...", 3, [&](int, int) { ++dots; });
  const Ink sign = InkOf(page, kStartOutOfViewColor);
  EXPECT_EQ(sign.count, dots);
  EXPECT_GE(sign.left, 40);
  EXPECT_LE(sign.left, 42);
  EXPECT_LT(sign.right + 2, typed.left);
  EXPECT_GE(sign.top, typed.top);
  EXPECT_LE(sign.bottom, typed.bottom);
  // A name that fits shows whole, with no sign.
  state.typed = std::string(20, 'n');
  EXPECT_EQ(InkOf(prompt->Draw(state).ReadImage(), kStartOutOfViewColor).count, 0);
  EXPECT_LE(InkOf(prompt->Draw(state).ReadImage(), kTypedColor).left, 42);
}

// The question before replacing a file with a long name was cut off at the page's edge. It
// shows whole, in lines within the page's margins, above the keys that answer it.
TEST(FilePrompt, AQuestionAboutALongNameShowsWholeAboveItsKeys) {
  std::unique_ptr<FilePromptPage> prompt = FilePromptPage::Create();
  ASSERT_TRUE(prompt);
  const std::string stem180(180, 'n'), stem251(251, 'n'), wide(180, 'W');
  for (const std::string& question :
       {"The file \"" + stem180 + ".sav\" exists. Replace it?",
        "The files \"" + stem251 + ".rep\" and \"" + stem251 + ".sar\" exist. Replace them?",
        "The file \"" + wide + ".sav\" exists. Replace it?"}) {
    FilePromptState state;
    state.title = "Save as - Saved Replays (*.rep)";
    state.typed = question.substr(10, 180);
    state.question = question;
    const Image page = prompt->Draw(state).ReadImage();
    // Every stroke of the question is on the page.
    std::set<std::pair<int, int>> strokes;
    prompt->TextFont().Rasterise(question.data(), question.size(), [&](int x, int y) {
      strokes.insert({x, y});
    });
    const Ink notice = InkOf(page, kNoticeColor), hint = InkOf(page, kHintColor);
    EXPECT_EQ(notice.count, int(strokes.size())) << question;
    EXPECT_GE(notice.left, 40);
    EXPECT_LE(notice.right, page.width - 40);
    EXPECT_GT(hint.top, notice.bottom);
    EXPECT_LT(hint.bottom, page.height - 1);
  }
}

// Where the desktop has no program to show a box, the box is drawn over the game's picture:
// its caption, its icon, the whole of its text in lines within it, and an OK button that
// a click finds, all within the game's window.
TEST(BoxPanel, ShowsItsCaptionIconAndWholeTextAboveItsButton) {
  std::unique_ptr<BoxPanel> box = BoxPanel::Create();
  ASSERT_TRUE(box);
  const std::string caption = "Save error .";
  const std::string text = "The game could not be saved to \"/home/player/" + std::string(254, 'n') +
                           ".sav\": File name too long .";
  const Surface* drawn = box->Draw(text, caption, MessageBoxIcon::Exclamation);
  ASSERT_TRUE(drawn);
  const Image page = drawn->ReadImage();
  EXPECT_LE(page.width, 560);
  EXPECT_LE(page.height, 440);
  auto strokes = [&](const std::string& said) {
    std::set<std::pair<int, int>> at;
    box->TextFont().Rasterise(said.data(), said.size(), [&](int x, int y) { at.insert({x, y}); });
    return int(at.size());
  };
  constexpr uint32_t kInk = 0x00FFFFFF, kBar = 0x00804040, kWarning = 0x0000C0FF;
  const Ink bar = InkOf(page, kBar, 0, 40);
  const PixelRect button = box->Button();
  EXPECT_EQ(InkOf(page, kInk, 0, bar.bottom).count, strokes(caption));
  const Ink words = InkOf(page, kInk, bar.bottom + 1, button.top - 1);
  EXPECT_EQ(words.count, strokes(text));
  EXPECT_LT(words.right, page.width - 1);
  const Ink ok = InkOf(page, kInk, button.top, button.bottom - 1);
  EXPECT_EQ(ok.count, strokes("OK"));
  EXPECT_GT(ok.left, button.left);
  EXPECT_LT(ok.right, button.right);
  EXPECT_LT(button.bottom, page.height);
  const Ink icon = InkOf(page, kWarning);
  EXPECT_GT(icon.count, 500);
  EXPECT_LT(icon.right, words.left);
  // Each kind of box shows its own icon; a box of no kind shows the information one.
  const uint32_t kError = 0x000000D0, kInformation = 0x00D07020;
  EXPECT_GT(InkOf(box->Draw("x", "", MessageBoxIcon::Stop)->ReadImage(), kError).count, 500);
  EXPECT_EQ(InkOf(box->Draw("x", "", MessageBoxIcon::Stop)->ReadImage(), kWarning).count, 0);
  EXPECT_GT(InkOf(box->Draw("x", "", MessageBoxIcon::None)->ReadImage(), kInformation).count, 500);
}

// While a save waits for another game's, a band over the top of the picture says so, the
// line whole and in its middle.
TEST(NoticeBand, ShowsItsLineWholeInTheMiddle) {
  std::unique_ptr<NoticeBand> notice = NoticeBand::Create();
  ASSERT_TRUE(notice);
  const std::string text = "Waiting for another game's save in the same folder";
  const Image band = notice->Draw(text).ReadImage();
  EXPECT_EQ(band.width, 640);
  std::set<std::pair<int, int>> strokes;
  notice->TextFont().Rasterise(text.data(), text.size(), [&](int x, int y) {
    strokes.insert({x, y});
  });
  const Ink ink = InkOf(band, 0x00FFFFFF);
  EXPECT_EQ(ink.count, int(strokes.size()));
  EXPECT_LE(std::abs(ink.left - (band.width - 1 - ink.right)), 4);
  EXPECT_GT(ink.top, 0);
  EXPECT_LT(ink.bottom, band.height - 1);
  EXPECT_EQ(InkOf(band, 0x00402020).count, band.width * band.height - ink.count);
}

}  // namespace
}  // namespace platform
