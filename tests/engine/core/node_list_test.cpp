#include "engine/core/node_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "engine/core/dynamic_array.h"
#include "engine/core/object_stream.h"
#include "engine/display/view_port.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

// A node that counts its destructions and remembers a tag.
struct Tagged : Node {
  explicit Tagged(int t, int* deaths = nullptr) : tag(t), deaths(deaths) {}
  ~Tagged() override {
    if (deaths) ++*deaths;
  }
  Node* Clone() const override { return new Tagged(tag, deaths); }
  int tag;
  int* deaths;
};

std::vector<int> Tags(const NodeList& list) {
  std::vector<int> tags;
  for (Node* n = list.GetHead(); !n->IsEnd(); n = n->GetNext())
    tags.push_back(static_cast<Tagged*>(n)->tag);
  return tags;
}

TEST(NodeList, EmptyListHasOnlyItsSentinel) {
  NodeList list;
  EXPECT_TRUE(list.GetHead()->IsEnd());
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.GetSentinel()->GetPrev(), list.GetSentinel());
  list.DeleteAll();
  EXPECT_EQ(list.Count(), 0);
}

TEST(NodeList, InsertBeforeHeadAndSentinelAndUnlinkKeepLinks) {
  NodeList list;
  auto* b = new Tagged(2);
  list.AddHead(b);
  auto* a = new Tagged(1);
  list.InsertBefore(a, list.GetHead());
  auto* c = new Tagged(3);
  list.InsertBefore(c, list.GetSentinel());
  EXPECT_EQ(Tags(list), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(a->GetPrev(), list.GetSentinel());
  EXPECT_EQ(list.GetSentinel()->GetPrev(), c);

  list.Unlink(a);  // the head
  EXPECT_EQ(list.GetHead(), b);
  EXPECT_EQ(b->GetPrev(), list.GetSentinel());
  delete a;
  list.Unlink(c);  // the last
  EXPECT_EQ(list.GetSentinel()->GetPrev(), b);
  delete c;
  int deaths = 0;
  b->deaths = &deaths;
  list.Remove(b);  // the only one
  EXPECT_EQ(deaths, 1);
  EXPECT_TRUE(list.GetHead()->IsEnd());
  EXPECT_EQ(list.GetSentinel()->GetPrev(), list.GetSentinel());
  EXPECT_EQ(list.Count(), 0);
}

TEST(NodeList, CopyIsDeepAndKeepsOrderAndOwnsItsElements) {
  int deaths = 0;
  {
    NodeList list;
    for (int i = 3; i >= 1; --i) list.AddHead(new Tagged(i, &deaths));
    NodeList copy(list);
    EXPECT_EQ(Tags(copy), (std::vector<int>{1, 2, 3}));
    EXPECT_NE(copy.GetHead(), list.GetHead());
    copy = copy;  // self-assignment changes nothing
    EXPECT_EQ(copy.Count(), 3);
  }
  EXPECT_EQ(deaths, 6);
}

TEST(DynamicArray, GrowsByTenAndClearReturnsToTen) {
  DynamicArray<uint32_t> array;
  EXPECT_EQ(array.Capacity(), 10u);
  for (uint32_t i = 0; i < 11; ++i) array.Add(i * 7);
  EXPECT_EQ(array.Capacity(), 20u);
  EXPECT_EQ(array.Size(), 11u);
  for (uint32_t i = 0; i < 11; ++i) EXPECT_EQ(*array.At(i), i * 7);
  DynamicArray<uint32_t> copy;
  copy = array;
  EXPECT_EQ(copy.Capacity(), 20u);
  EXPECT_EQ(copy[10], 70u);
  array.Clear();
  EXPECT_EQ(array.Capacity(), 10u);
  EXPECT_EQ(array.Size(), 0u);
  copy.SetCapacity(5);
  EXPECT_EQ(copy.Size(), 5u);
  EXPECT_EQ(copy[4], 28u);
}

std::vector<unsigned char> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

// Where the 4-byte float value first stands in the bytes, or -1.
long FindFloat(const std::vector<unsigned char>& bytes, float value) {
  unsigned char pattern[4];
  std::memcpy(pattern, &value, 4);
  for (size_t i = 0; i + 4 <= bytes.size(); ++i)
    if (std::memcmp(&bytes[i], pattern, 4) == 0) return long(i);
  return -1;
}

std::vector<float> WorldWidths(const NodeList& list) {
  std::vector<float> widths;
  for (Node* n = list.GetHead(); !n->IsEnd(); n = n->GetNext())
    widths.push_back(static_cast<ViewPort*>(n)->worldWidth);
  return widths;
}

TEST(NodeList, SavesLastFirstAndLoadsBackInOrderInFrontOfWhatItHolds) {
  testing_support::TempDir dir;
  {
    // Three elements told apart by their world widths, in the order 1111, 2222, 3333.
    NodeList list;
    for (float width : {1111.0f, 2222.0f, 3333.0f})
      list.InsertBefore(new ViewPort(width, 480, 0, 0, 640, 480), list.GetSentinel());
    ObjectStream out(dir.File("list.bin"), true);
    list.Save(out);
  }
  auto bytes = FileBytes(dir.File("list.bin"));
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes[0], 3);
  // On file from the last element to the first.
  long first = FindFloat(bytes, 1111.0f), second = FindFloat(bytes, 2222.0f),
       third = FindFloat(bytes, 3333.0f);
  ASSERT_TRUE(first > 0 && second > 0 && third > 0);
  EXPECT_LT(third, second);
  EXPECT_LT(second, first);
  {
    // Read back, each added at the front: the saved order again, before what was there.
    NodeList list;
    list.AddHead(new ViewPort(9999, 480, 0, 0, 640, 480));
    ObjectStream in(dir.File("list.bin"), false);
    list.Load(in);
    EXPECT_EQ(WorldWidths(list), (std::vector<float>{1111.0f, 2222.0f, 3333.0f, 9999.0f}));
  }
}

}  // namespace
}  // namespace quor
