#include "platform/font.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <set>
#include <utility>

namespace platform {
namespace {

FontRequest Request(const char* face, int height, int width = 0, int weight = 0) {
  FontRequest r;
  r.face = face;
  r.height = height;
  r.width = width;
  r.weight = weight;
  return r;
}

struct Box {
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
  int count = 0;
};

Box Bounds(const Font& font, const char* text) {
  Box box;
  font.Rasterise(text, std::strlen(text), [&](int x, int y) {
    box.left = std::min(box.left, x);
    box.top = std::min(box.top, y);
    box.right = std::max(box.right, x);
    box.bottom = std::max(box.bottom, y);
    ++box.count;
  });
  return box;
}

TEST(FontFaces, TheFacesTheGameAsksForResolveToTheirStandIns) {
  FaceChoice arial;
  ASSERT_TRUE(FindFace("Arial", 400, false, &arial));
  EXPECT_EQ(arial.family, "Liberation Sans");
  EXPECT_FALSE(arial.embolden);

  // Impact must never fall to fontconfig's nearest guess (a symbol face on Debian).
  FaceChoice impact;
  ASSERT_TRUE(FindFace("Impact", 0, false, &impact));
  EXPECT_TRUE(impact.family == "DejaVu Sans Condensed" || impact.family == "DejaVu Sans")
      << impact.family;
  EXPECT_EQ(impact.path.find("D050000L"), std::string::npos);

  FaceChoice lucida;
  ASSERT_TRUE(FindFace("Lucida Bright", 600, false, &lucida));
  EXPECT_TRUE(lucida.family == "DejaVu Serif" || lucida.family == "Liberation Serif")
      << lucida.family;
  EXPECT_NE(lucida.path.find("Bold"), std::string::npos) << lucida.path;

  // Case does not matter, as with the original system's face names.
  FaceChoice lower;
  ASSERT_TRUE(FindFace("arial", 400, false, &lower));
  EXPECT_EQ(lower.path, arial.path);

  // A name installed nowhere falls back to the plain sans face.
  FaceChoice unknown;
  ASSERT_TRUE(FindFace("No Such Face At All", 400, false, &unknown));
  EXPECT_EQ(unknown.family, "Liberation Sans");
}

TEST(FontFaces, WeightAndSlantPickStyledFilesOrSynthesise) {
  FaceChoice bold;
  ASSERT_TRUE(FindFace("Arial", 700, false, &bold));
  EXPECT_NE(bold.path.find("Bold"), std::string::npos) << bold.path;
  FaceChoice italic;
  ASSERT_TRUE(FindFace("Arial", 400, true, &italic));
  EXPECT_NE(italic.path.find("Italic"), std::string::npos) << italic.path;
  // The engine's default weight of 100 has no thin Arial: the regular face is used.
  FaceChoice thin;
  ASSERT_TRUE(FindFace("Arial", 100, false, &thin));
  EXPECT_NE(thin.path.find("Regular"), std::string::npos) << thin.path;
}

TEST(Font, CellAndWidthFollowTheRequest) {
  auto font = Font::Create(Request("Arial", -21));
  ASSERT_TRUE(font);
  EXPECT_EQ(font->Height(), font->Ascent() + font->Descent());
  EXPECT_GE(font->Height(), 21);
  EXPECT_LE(font->Height(), 26);
  // A positive height asks for the whole cell.
  auto cell = Font::Create(Request("Arial", 30));
  ASSERT_TRUE(cell);
  EXPECT_EQ(cell->Height(), 30);

  // An average width narrows or widens the same face.
  auto narrow = Font::Create(Request("Arial", -21, -5));
  auto wide = Font::Create(Request("Arial", -21, 20));
  ASSERT_TRUE(narrow && wide);
  const char* sample = "The quick brown fox";
  int natural = font->Measure(sample, std::strlen(sample)).width;
  EXPECT_LT(narrow->Measure(sample, std::strlen(sample)).width, natural);
  EXPECT_GT(wide->Measure(sample, std::strlen(sample)).width, natural);
  // The average character of the face comes out near the width asked for.
  const char* letters = "abcdefghijklmnopqrstuvwxyz";
  int average = wide->Measure(letters, 26).width / 26;
  EXPECT_GE(average, 15);
  EXPECT_LE(average, 24);
}

// The average by the rule of the original font tables: lowercase letters and the space,
// weighted per thousand by how often they occur.
double WeightedAverage(const Font& font) {
  const char* letters = "abcdefghijklmnopqrstuvwxyz ";
  const int weights[] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20, 56,
                         56, 17, 4, 49, 56, 71, 31, 10, 18, 3, 18, 2, 166};
  int sum = 0;
  for (int i = 0; i < 27; ++i) sum += font.Advance(static_cast<unsigned char>(letters[i])) * weights[i];
  return sum / 1000.0;
}

TEST(Font, AWidthIsTheWeightedAverageOfTheLettersWhateverTheStandIn) {
  // The faces the game asks for, each through its stand-in; the stand-in for Arial records
  // a larger average of its own than its letters give.
  for (const char* face : {"Arial", "Impact", "Lucida Bright"}) {
    for (int width : {8, 13, 20}) {
      auto font = Font::Create(Request(face, -21, -width));
      ASSERT_TRUE(font);
      EXPECT_NEAR(WeightedAverage(*font), width, 0.5) << face << " " << width;
    }
  }
}

TEST(Font, MeasureIsTheSumOfCharacterAdvances) {
  auto font = Font::Create(Request("Arial", -16));
  ASSERT_TRUE(font);
  const char* text = "Hello, World";
  int sum = 0;
  for (const char* p = text; *p; ++p) {
    int w = font->Measure(p, 1).width;
    EXPECT_EQ(w, font->Advance(static_cast<unsigned char>(*p)));
    EXPECT_GT(w, 0) << *p;
    sum += w;
  }
  TextSize size = font->Measure(text, std::strlen(text));
  EXPECT_EQ(size.width, sum);
  EXPECT_EQ(size.height, font->Height());
  EXPECT_EQ(font->Measure(text, 0).width, 0);
  // Wide letters are wider than narrow ones.
  EXPECT_GT(font->Advance('W'), font->Advance('i'));
}

TEST(Font, DrawnPixelsStayInsideWhatIsMeasured) {
  auto font = Font::Create(Request("Arial", -21));
  ASSERT_TRUE(font);
  const char* text = "HxH";
  Box box = Bounds(*font, text);
  ASSERT_GT(box.count, 0);
  EXPECT_GE(box.left, 0);
  EXPECT_GE(box.top, 0);
  EXPECT_LT(box.right, font->Measure(text, 3).width);
  EXPECT_LT(box.bottom, font->Height());
  // A capital stands on the baseline.
  Box h = Bounds(*font, "H");
  EXPECT_EQ(h.bottom, font->Ascent() - 1);
  // White space draws nothing but still advances.
  EXPECT_EQ(Bounds(*font, " ").count, 0);
  EXPECT_GT(font->Advance(' '), 0);
}

TEST(Font, RenderingIsOneBitAndRepeatable) {
  auto a = Font::Create(Request("Arial", -21));
  auto b = Font::Create(Request("Arial", -21));
  ASSERT_TRUE(a && b);
  std::set<std::pair<int, int>> first, second;
  a->Rasterise("Quor", 4, [&](int x, int y) { first.insert({x, y}); });
  b->Rasterise("Quor", 4, [&](int x, int y) { second.insert({x, y}); });
  EXPECT_EQ(first, second);
  EXPECT_FALSE(first.empty());
}

TEST(Font, StylesChangeWhatIsDrawn) {
  FontRequest plain = Request("Arial", -21);
  FontRequest underline = plain;
  underline.underline = true;
  FontRequest strike = plain;
  strike.strikeOut = true;
  auto p = Font::Create(plain);
  auto u = Font::Create(underline);
  auto s = Font::Create(strike);
  ASSERT_TRUE(p && u && s);
  // Underline and strike-out run across the space's whole advance.
  Box us = Bounds(*u, " ");
  EXPECT_EQ(us.left, 0);
  EXPECT_EQ(us.right, u->Advance(' ') - 1);
  EXPECT_GE(us.top, u->Ascent());
  Box ss = Bounds(*s, " ");
  EXPECT_GT(ss.count, 0);
  EXPECT_LT(ss.bottom, s->Ascent());

  // Bold of a face with no bold file (Impact's stand-in is already bold) is heavier.
  auto regular = Font::Create(Request("Arial", -21, 0, 400));
  auto bold = Font::Create(Request("Arial", -21, 0, 700));
  ASSERT_TRUE(regular && bold);
  EXPECT_GT(Bounds(*bold, "l").count, Bounds(*regular, "l").count);
}

TEST(Font, TheFrameRateFaceDrawsDigits) {
  auto font = Font::Create(Request("Impact", -13, -8, 0));
  ASSERT_TRUE(font);
  for (char c = '0'; c <= '9'; ++c) {
    char text[2] = {c, 0};
    EXPECT_GT(Bounds(*font, text).count, 0) << c;
    EXPECT_GT(font->Advance(static_cast<unsigned char>(c)), 0);
  }
}

}  // namespace
}  // namespace platform
