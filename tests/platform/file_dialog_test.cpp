#include "platform/file_dialog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "platform/host.h"
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

}  // namespace
}  // namespace platform
