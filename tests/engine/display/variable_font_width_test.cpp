// A text box's font width is the average character width by the rule of the font tables
// the engine's texts were laid out with, so texts keep their width and their line breaks.
#include <gtest/gtest.h>

#include "engine/display/variable.h"
#include "platform/font.h"
#include "platform/headless/headless_host.h"

namespace quor {
namespace {

TEST(VariableFontWidth, HelloWorldInTheDefaultBoxHasTheWidthOfTheAverageWidthRule) {
  platform::HeadlessHost host;
  platform::InstallHost(&host);
  {
    Variable box;  // Arial, 16 points high and 6 wide: -21 and -8 pixels at 96 dpi
    box.SetText("Hello World");
    const platform::Font* font = box.GetFont();
    ASSERT_NE(font, nullptr);
    // Arial's letters weighted by the rule average 904 of its 2048 units: an average of
    // 8 pixels makes the em 18 pixels wide. "Hello World" spans 10584 units: 93 pixels.
    EXPECT_EQ(font->Measure("Hello World", 11).width, 93);
  }
  platform::InstallHost(nullptr);
}

}  // namespace
}  // namespace quor
