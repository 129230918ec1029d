#include "engine/core/object_stream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <iterator>
#include <limits>
#include <vector>

#include "engine/core/class_record.h"
#include "engine/core/node.h"
#include "engine/core/node_list.h"
#include "tests/support/temp_dir.h"

namespace quor {
namespace {

std::vector<unsigned char> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// A saveable pair of references, registered under a test-only name.
struct Linked : Node {
  Node* Clone() const override { return new Linked(*this); }
  void Save(ObjectStream& s) override {
    s.WriteLong(value);
    s.WriteObject(other);
  }
  void Load(ObjectStream& s) override {
    s.ReadLong(&value);
    s.ReadObject(&other);
  }
  const ClassRecord& GetClassRecord() const override;
  int32_t value = 0;
  Node* other = nullptr;
};
const ClassRecord LinkedRecord("TestLinked", [] { return static_cast<Node*>(new Linked); });
const ClassRecord& Linked::GetClassRecord() const { return LinkedRecord; }

TEST(ClassRegistry, HoldsTheEngineClassesInRegistrationOrder) {
  const char* expected[] = {"Sprite", "Sound", "Map", "Variable", "GameNode", "StreamedSound",
                            "ViewPort", "CollisionSegment", "CollisionCircle", "StateMachine",
                            "PathStateMachine", "Alarm", "SoundBase", "MidiFile", "GammaRamp",
                            "OpenClose", "RandomDissolve"};
  // Test classes register too; the engine's own keep their relative order.
  std::vector<std::string> engine;
  for (const ClassRecord& record : GetClassRegistry())
    if (std::string(record.name) != "TestLinked") engine.push_back(record.name);
  ASSERT_EQ(engine.size(), 17u);
  for (size_t i = 0; i < 17; ++i) EXPECT_EQ(engine[i], expected[i]);
  EXPECT_EQ(CreateObjectByName("node"), nullptr);
  EXPECT_EQ(CreateObjectByName("sprite"), nullptr);
  Node* sprite = CreateObjectByName("Sprite");
  ASSERT_NE(sprite, nullptr);
  EXPECT_STREQ(sprite->GetClassRecord().name, "Sprite");
  delete sprite;
  Node plain;
  EXPECT_STREQ(plain.GetClassRecord().name, "node");
}

TEST(ObjectStream, ValuesAreRawLittleEndian) {
  testing_support::TempDir dir;
  {
    ObjectStream out(dir.File("v.bin"), true);
    out.WriteByte(0xAB);
    out.WriteShort(0x1234);
    out.WriteLong(uint32_t{0x01020304});
    out.WriteDouble(1.0);
    Rect r{1, -1, 3, 4};
    out.WriteRect(r);
    char name[32] = "Hero";
    name[20] = 'x';  // bytes after the terminator are written as they stand
    out.WriteName(name);
    out.WriteObject(nullptr);
  }
  auto b = FileBytes(dir.File("v.bin"));
  ASSERT_EQ(b.size(), 1u + 2 + 4 + 8 + 16 + 32 + 4);
  EXPECT_EQ(b[0], 0xAB);
  EXPECT_EQ(b[1], 0x34);
  EXPECT_EQ(b[2], 0x12);
  EXPECT_EQ(b[3], 0x04);
  EXPECT_EQ(b[6], 0x01);
  EXPECT_EQ(b[13], 0xF0);  // the top bytes of 1.0
  EXPECT_EQ(b[14], 0x3F);
  EXPECT_EQ(b[15], 0x1);   // left = 1
  EXPECT_EQ(b[19], 0xFF);  // top = -1
  EXPECT_EQ(b[31 + 20], 'x');
  for (size_t i = b.size() - 4; i < b.size(); ++i) EXPECT_EQ(b[i], 0);

  ObjectStream in(dir.File("v.bin"), false);
  uint8_t byte = 0;
  uint16_t shrt = 0;
  uint32_t lng = 0;
  double dbl = 0;
  Rect r;
  char name[32] = {};
  Node* none = reinterpret_cast<Node*>(&byte);
  in.ReadByte(&byte);
  in.ReadShort(&shrt);
  in.ReadLong(&lng);
  in.ReadDouble(&dbl);
  in.ReadRect(&r);
  in.ReadName(name);
  in.ReadObject(&none);
  EXPECT_TRUE(in.Good());
  EXPECT_EQ(byte, 0xAB);
  EXPECT_EQ(shrt, 0x1234);
  EXPECT_EQ(lng, 0x01020304u);
  EXPECT_EQ(dbl, 1.0);
  EXPECT_EQ(r.top, -1);
  EXPECT_STREQ(name, "Hero");
  EXPECT_EQ(none, nullptr);
}

TEST(ObjectStream, SecondReferenceIsA36ByteBackReferenceAndCyclesRoundTrip) {
  testing_support::TempDir dir;
  {
    auto* a = new Linked;
    auto* b = new Linked;
    a->value = 11;
    b->value = 22;
    a->other = b;
    b->other = a;  // a cycle: b refers back to a while a is still being written
    ObjectStream out(dir.File("c.bin"), true);
    out.WriteObject(a);
    out.WriteObject(a);
    delete a;
    delete b;
  }
  auto bytes = FileBytes(dir.File("c.bin"));
  // a: 36 + 4; b: 36 + 4; b's back-reference to a: 36; the second a: 36.
  ASSERT_EQ(bytes.size(), 40u + 40u + 36u + 36u);
  EXPECT_EQ(std::memcmp(bytes.data(), "TestLinked\0\0", 12), 0);
  EXPECT_EQ(bytes[32], 1);  // id 1
  EXPECT_EQ(bytes[40 + 32], 2);

  ObjectStream in(dir.File("c.bin"), false);
  Node* first = nullptr;
  Node* second = nullptr;
  in.ReadObject(&first);
  in.ReadObject(&second);
  ASSERT_TRUE(in.Good());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  auto* a = static_cast<Linked*>(first);
  auto* b = static_cast<Linked*>(a->other);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(a->value, 11);
  EXPECT_EQ(b->value, 22);
  EXPECT_EQ(b->other, a);
  delete a;
  delete b;
}

TEST(ObjectStream, BadFilesFailWithoutObjects) {
  testing_support::TempDir dir;
  // A missing file reads as null references and leaves fields alone.
  {
    ObjectStream in(dir.File("missing.bin"), false);
    uint32_t kept = 7;
    in.ReadLong(&kept);
    EXPECT_EQ(kept, 7u);
    Node* obj = reinterpret_cast<Node*>(&kept);
    in.ReadObject(&obj);
    EXPECT_EQ(obj, nullptr);
    EXPECT_EQ(in.Tell(), -1);
  }
  std::vector<unsigned char> unknown(36, 0);
  std::memcpy(unknown.data(), "NoSuchClass", 11);
  unknown[32] = 1;
  WriteBytes(dir.File("unknown.bin"), unknown);
  {
    ObjectStream in(dir.File("unknown.bin"), false);
    Node* obj = nullptr;
    in.ReadObject(&obj);
    EXPECT_EQ(obj, nullptr);
    EXPECT_FALSE(in.Good());
  }
  std::vector<unsigned char> unterminated(36, 'A');
  WriteBytes(dir.File("unterminated.bin"), unterminated);
  {
    ObjectStream in(dir.File("unterminated.bin"), false);
    Node* obj = nullptr;
    in.ReadObject(&obj);
    EXPECT_EQ(obj, nullptr);
    EXPECT_FALSE(in.Good());
  }
  // A back-reference whose id names an object of another class.
  std::vector<unsigned char> mixed(36 + 4 + 36, 0);
  std::memcpy(mixed.data(), "TestLinked", 10);
  mixed[32] = 1;
  mixed[36] = 5;                                // value
  std::memcpy(mixed.data() + 40, "ViewPort", 8);  // other: a ViewPort with id 1
  mixed[40 + 32] = 1;
  WriteBytes(dir.File("mixed.bin"), mixed);
  {
    ObjectStream in(dir.File("mixed.bin"), false);
    Node* obj = nullptr;
    in.ReadObject(&obj);
    EXPECT_FALSE(in.Good());
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(static_cast<Linked*>(obj)->other, nullptr);
    delete obj;
  }
  // Truncated in the middle of a value: the value keeps what it had.
  WriteBytes(dir.File("short.bin"), {1, 2});
  {
    ObjectStream in(dir.File("short.bin"), false);
    uint32_t kept = 9;
    in.ReadLong(&kept);
    EXPECT_EQ(kept, 9u);
    EXPECT_FALSE(in.Good());
  }
}

TEST(ObjectStream, ListWithHugeCountStopsAtTheEndOfTheFile) {
  testing_support::TempDir dir;
  WriteBytes(dir.File("huge.bin"), {0xFF, 0xFF, 0xFF, 0x7F});
  NodeList list;
  ObjectStream in(dir.File("huge.bin"), false);
  list.Load(in);
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
}  // namespace quor

namespace quor {
namespace {

TEST(ObjectStreamLimits, RealNumbersOutsideTheirBoundFailTheStreamAndKeepTheOldValue) {
  testing_support::TempDir dir;
  {
    ObjectStream out(dir.File("reals"), true);
    for (float v : {1.5f, -1.5f, std::numeric_limits<float>::quiet_NaN(),
                    std::numeric_limits<float>::infinity(), 3.0f})
      out.WriteLong(v);
  }
  ObjectStream in(dir.File("reals"), false);
  float a = 0, b = 0, c = 7;
  in.ReadReal(&a, 2.0f);
  in.ReadReal(&b, 1.5f);
  EXPECT_TRUE(in.Good());
  EXPECT_EQ(a, 1.5f);
  EXPECT_EQ(b, -1.5f);
  in.ReadReal(&c, 1e30f);
  EXPECT_FALSE(in.Good());
  EXPECT_EQ(c, 7.0f);

  ObjectStream infinite(dir.File("reals"), false);
  infinite.Seek(12);
  infinite.ReadReal(&c, std::numeric_limits<float>::max());
  EXPECT_FALSE(infinite.Good());
  ObjectStream beyond(dir.File("reals"), false);
  beyond.Seek(16);
  beyond.ReadReal(&c, 2.0f);
  EXPECT_FALSE(beyond.Good());
  EXPECT_EQ(c, 7.0f);
}

TEST(ObjectStreamLimits, CountsAreHeldToWhatTheRestOfTheFileCanHold) {
  testing_support::TempDir dir;
  {
    ObjectStream out(dir.File("counts"), true);
    out.WriteLong(uint32_t{3});
    for (int i = 0; i < 3; ++i) out.WriteLong(uint32_t(i));
  }
  ObjectStream in(dir.File("counts"), false);
  EXPECT_EQ(in.Remaining(), 16u);
  EXPECT_EQ(in.ReadCount(4), 3u);
  EXPECT_EQ(in.Remaining(), 12u);
  ObjectStream tooMany(dir.File("counts"), false);
  EXPECT_EQ(tooMany.ReadCount(5), 0u);
  EXPECT_FALSE(tooMany.Good());
  EXPECT_EQ(tooMany.Remaining(), 0u);
}

TEST(ObjectStreamLimits, ATypedListRefusesAnObjectOfAnotherClass) {
  testing_support::TempDir dir;
  {
    NodeList list;
    list.AddHead(new Linked);
    ObjectStream out(dir.File("list"), true);
    list.Save(out);
  }
  NodeList loose, typed;
  {
    ObjectStream in(dir.File("list"), false);
    loose.Load(in);
    EXPECT_TRUE(in.Good());
    EXPECT_EQ(loose.Count(), 1);
  }
  ObjectStream in(dir.File("list"), false);
  typed.LoadOnly(in, IsA<NodeList>);
  EXPECT_FALSE(in.Good());
  EXPECT_EQ(typed.Count(), 0);
  for (const auto& entry : in.ObjectTable()) delete entry.second;
}

}  // namespace
}  // namespace quor
