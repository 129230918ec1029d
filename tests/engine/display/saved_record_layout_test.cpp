// Where each field of a saved text box and a saved viewport stands in the file: saved games
// keep the original layout byte for byte, which a round trip alone cannot show.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "engine/core/object_stream.h"
#include "engine/display/variable.h"
#include "engine/display/view_port.h"
#include "platform/headless/headless_host.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

class Record {
 public:
  explicit Record(const std::string& path) : bytes_(testing_support::ReadBytes(path)) {}
  size_t Size() const { return bytes_.size(); }
  uint8_t Byte(size_t at) const { return bytes_.at(at); }
  uint32_t Long(size_t at) const {
    return uint32_t(Byte(at)) | uint32_t(Byte(at + 1)) << 8 | uint32_t(Byte(at + 2)) << 16 |
           uint32_t(Byte(at + 3)) << 24;
  }
  int32_t Signed(size_t at) const { return int32_t(Long(at)); }
  float Real(size_t at) const {
    uint32_t bits = Long(at);
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
  }
  std::string Text(size_t at, size_t n) const {
    return std::string(reinterpret_cast<const char*>(bytes_.data()) + at, n);
  }

 private:
  std::vector<uint8_t> bytes_;
};

TEST(SavedRecordLayout, ViewPort) {
  testing_support::TempDir dir;
  ViewPort v(1280, 960, 12.5f, 7.25f, 640, 480);
  v.SetScrollBox(100, 50, 200, 100);
  v.SetRightPushLimit(30);
  v.SetLeftPushLimit(31);
  v.SetTopPushLimit(32);
  v.SetBottomPushLimit(33);
  v.PushRightEdge(12);
  v.PushTopEdge(-5);
  v.ScrollBy(3, 4);
  {
    ObjectStream out(dir.File("view.bin"), true);
    v.Save(out);
  }
  Record r(dir.File("view.bin"));
  ASSERT_EQ(r.Size(), 120u);
  EXPECT_EQ(r.Real(0), 1280.0f);  // world width, height, max left, max top
  EXPECT_EQ(r.Real(4), 960.0f);
  EXPECT_EQ(r.Real(8), 640.0f);
  EXPECT_EQ(r.Real(12), 480.0f);
  EXPECT_EQ(r.Real(16), 11.25f);  // view rectangle: top, left, bottom, right
  EXPECT_EQ(r.Real(20), 15.5f);
  EXPECT_EQ(r.Real(24), 491.25f);
  EXPECT_EQ(r.Real(28), 655.5f);
  EXPECT_EQ(r.Real(32), 55.0f);  // scroll box as pushed: top, left, bottom, right
  EXPECT_EQ(r.Real(36), 100.0f);
  EXPECT_EQ(r.Real(40), 150.0f);
  EXPECT_EQ(r.Real(44), 312.0f);
  EXPECT_EQ(r.Real(48), 0.0f);  // screen rectangle: top, left, bottom, right
  EXPECT_EQ(r.Real(52), 0.0f);
  EXPECT_EQ(r.Real(56), 480.0f);
  EXPECT_EQ(r.Real(60), 640.0f);
  EXPECT_EQ(r.Real(64), 3.0f);  // last move
  EXPECT_EQ(r.Real(68), 4.0f);
  EXPECT_EQ(r.Real(72), 50.0f);  // set box: top, left, bottom, right
  EXPECT_EQ(r.Real(76), 100.0f);
  EXPECT_EQ(r.Real(80), 150.0f);
  EXPECT_EQ(r.Real(84), 300.0f);
  EXPECT_EQ(r.Real(88), 30.0f);  // push limits: right, left, top, bottom
  EXPECT_EQ(r.Real(92), 31.0f);
  EXPECT_EQ(r.Real(96), 32.0f);
  EXPECT_EQ(r.Real(100), 33.0f);
  EXPECT_EQ(r.Real(104), 12.0f);  // pushes: right, left, top, bottom
  EXPECT_EQ(r.Real(108), 0.0f);
  EXPECT_EQ(r.Real(112), -5.0f);
  EXPECT_EQ(r.Real(116), 0.0f);
}

TEST(SavedRecordLayout, TextBox) {
  testing_support::TempDir dir;
  platform::HeadlessHost host;
  platform::InstallHost(&host);
  {
    Variable box;
    box.SetName("Story");
    box.SetId(9);
    box.SetVisible(0);
    box.SetFontFace("Impact");
    box.SetFontWidth(7);
    box.SetFontSize(12);
    box.SetFontWeight(700);
    box.SetItalic(1);
    box.SetTextColor(0x123456);
    box.SetRect(10, 20, 300, 400);
    box.SetShowFrame(1);
    box.SetWorldCoordinates(1);
    box.SetDrawMode(3);
    box.SetMarginY(6);
    box.SetMarginX(5);
    box.SetLineSpacing(3);
    box.SetLetterSpacing(4);
    box.SetKeepLeadingSpaces(1);
    box.SetText("Hi");
    {
      ObjectStream out(dir.File("box.bin"), true);
      box.Save(out);
    }
    Record r(dir.File("box.bin"));
    ASSERT_EQ(r.Size(), 418u);
    EXPECT_EQ(r.Text(0, 6), std::string("Story\0", 6));  // name, 50 bytes
    EXPECT_EQ(r.Signed(50), -1);                           // machine index, no machine
    EXPECT_EQ(r.Signed(54), -1);                           // update-function index
    EXPECT_EQ(r.Long(58), 2u);                             // value type: text
    EXPECT_EQ(r.Long(62), 2u);                             // its length, then its characters
    EXPECT_EQ(r.Text(66, 2), "Hi");
    EXPECT_EQ(r.Byte(68), 1);      // whole-number flag
    EXPECT_EQ(r.Long(69), 9u);     // id, then 50 bytes of number text
    EXPECT_EQ(r.Byte(123), 0);     // no tied map (so no map name)
    EXPECT_EQ(r.Byte(124), 1);     // world coordinates
    EXPECT_EQ(r.Byte(125), 0);     // visible
    EXPECT_EQ(r.Text(126, 7), std::string("Impact\0", 7));  // face, 32 bytes
    EXPECT_EQ(r.Long(158), 7u);    // font width, size, weight, italic, strike-out, underline
    EXPECT_EQ(r.Long(162), 12u);
    EXPECT_EQ(r.Long(166), 700u);
    EXPECT_EQ(r.Long(170), 1u);
    EXPECT_EQ(r.Long(178), 0u);
    EXPECT_EQ(r.Long(182), 0x123456u);  // text colour, then the box rectangle
    EXPECT_EQ(r.Long(202), 0x00FF00FFu);  // frame colour, arrow colour
    EXPECT_EQ(r.Long(206), 0x00FF00FFu);
    EXPECT_EQ(r.Byte(210), 1);     // show frame
    EXPECT_EQ(r.Long(219), 1u);    // column step and line step, after both offsets
    EXPECT_EQ(r.Long(223), 1u);
    EXPECT_EQ(r.Byte(227), 1);     // keep leading spaces, then three measured values
    EXPECT_EQ(r.Signed(240), 10);  // text rectangle
    EXPECT_EQ(r.Signed(244), 20);
    EXPECT_EQ(r.Signed(248), 300);
    EXPECT_EQ(r.Signed(252), 400);  // then four arrow areas of 16 bytes
    EXPECT_EQ(r.Signed(324), 3);   // lines per box, line spacing, letter spacing, margins
    EXPECT_EQ(r.Signed(328), 4);
    EXPECT_EQ(r.Signed(332), 5);
    EXPECT_EQ(r.Signed(336), 6);
    EXPECT_EQ(r.Signed(340), 16);  // arrow size (mode 3 keeps it), insets
    EXPECT_EQ(r.Signed(344), 1);
    EXPECT_EQ(r.Long(352), 2u);    // display text length
    EXPECT_EQ(r.Byte(356), 0);     // no effect source
    EXPECT_EQ(r.Signed(361), 3);   // draw mode, after the effect position
    EXPECT_EQ(r.Signed(365), 0);   // text effect
    EXPECT_EQ(r.Long(369), 0x4Du);  // scroll keys: right, left, up, down
    EXPECT_EQ(r.Long(373), 0x4Bu);
    EXPECT_EQ(r.Long(377), 0x4Cu);
    EXPECT_EQ(r.Long(381), 0x50u);
    EXPECT_EQ(r.Byte(387), 1);     // draw unclipped, after the two step-per-press flags
    EXPECT_EQ(r.Byte(416), 0);     // no effect sound, then the done flag
  }
  platform::InstallHost(nullptr);
}

}  // namespace
}  // namespace quor
