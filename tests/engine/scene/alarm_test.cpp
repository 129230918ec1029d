#include "engine/scene/alarm.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/core/object_stream.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/sprite.h"
#include "tests/engine/scene/sprite_test_support.h"

namespace quor {
namespace {

using testing_support::FillEntry;
using testing_support::SceneTest;

// What each behaviour call saw: the Alarm and the sprite that set it off.
struct Call {
  Alarm* alarm;
  Sprite* sprite;
};
std::vector<Call> calls;
void RecordCall(Node* owner) {
  Alarm* alarm = static_cast<Alarm*>(owner);
  calls.push_back({alarm, alarm->GetTriggeringSprite()});
}

class AlarmTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    calls.clear();
    FillEntry(6, {{{1}}}, 10, 10);  // collision rectangle (0, 0, 9, 9)
  }
  // A sprite of entry 6 at (x, y), moving along (dx, dy).
  Sprite MakeSprite(float x, float y, float dx, float dy) {
    Sprite s;
    s.SetAnimation(6);
    s.SetX(x);
    s.SetY(y);
    s.SetDirection(dx, dy, 0);
    return s;
  }
  static Alarm* CircleAlarm(float x, float y, float r) {
    Alarm* a = new Alarm;
    a->AddShape(new CollisionCircle(x, y, r, 0, 0));
    a->behaviour = RecordCall;
    return a;
  }
};

TEST_F(AlarmTest, OnlyTheFirstAlarmHitInATickGoesOff) {
  std::unique_ptr<Alarm> near(CircleAlarm(15, 15, 5));
  std::unique_ptr<Alarm> also(CircleAlarm(12, 12, 5));
  std::unique_ptr<Alarm> far(CircleAlarm(500, 500, 5));
  Sprite s = MakeSprite(10, 10, 1, 0);
  s.AddAlarm(far.get());
  s.AddAlarm(near.get());
  s.AddAlarm(also.get());
  EXPECT_EQ(s.alarmCount, 3);
  also->triggeringSprite = &s;  // left from an earlier frame

  s.CheckAlarms();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].alarm, near.get());
  EXPECT_EQ(calls[0].sprite, &s);
  EXPECT_EQ(far->GetTriggeringSprite(), nullptr);
  EXPECT_EQ(near->GetTriggeringSprite(), &s);
  EXPECT_EQ(also->GetTriggeringSprite(), &s);  // not examined this tick

  s.SetX(300);
  s.CheckAlarms();
  EXPECT_EQ(calls.size(), 1u);
  EXPECT_EQ(near->GetTriggeringSprite(), nullptr);
}

TEST_F(AlarmTest, TwoSpritesInOneTickEachSetItOff) {
  std::unique_ptr<Alarm> zone(CircleAlarm(50, 50, 20));
  Sprite a = MakeSprite(40, 40, 1, 0);
  Sprite b = MakeSprite(55, 45, -1, 0);
  a.AddAlarm(zone.get());
  b.AddAlarm(zone.get());
  a.CheckAlarms();
  b.CheckAlarms();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].sprite, &a);
  EXPECT_EQ(calls[1].sprite, &b);
  EXPECT_EQ(zone->GetTriggeringSprite(), &b);  // the last hit is remembered
}

TEST_F(AlarmTest, SegmentsCatchOnlySpritesNotMovingAlongTheirNormal) {
  // A vertical line at x = 20 from y 0 to 40: direction (0, 1), normal (-1, 0).
  std::unique_ptr<Alarm> gate(new Alarm);
  gate->AddShape(new CollisionSegment(20, 0, 20, 40, 0, 0));
  gate->behaviour = RecordCall;
  Sprite s = MakeSprite(15, 10, 0, 0);  // its rectangle 15..24 meets the line
  s.AddAlarm(gate.get());

  s.SetDirection(-1, 0, 0);  // along the normal: passes
  s.CheckAlarms();
  EXPECT_EQ(calls.size(), 0u);
  s.SetDirection(1, 0, 0);  // against it
  s.CheckAlarms();
  EXPECT_EQ(calls.size(), 1u);
  s.SetDirection(0, 1, 0);  // across: zero component
  s.CheckAlarms();
  EXPECT_EQ(calls.size(), 2u);
  s.SetDirection(1, 0, 0);
  s.SetX(100);  // away from the line
  s.CheckAlarms();
  EXPECT_EQ(calls.size(), 2u);
}

TEST_F(AlarmTest, DisabledOrEmptyAlarmsNeverFire) {
  std::unique_ptr<Alarm> off(CircleAlarm(5, 5, 50));
  off->SetEnabled(0);
  std::unique_ptr<Alarm> empty(new Alarm);
  empty->behaviour = RecordCall;
  Sprite s = MakeSprite(0, 0, 0, 0);
  off->triggeringSprite = &s;
  empty->triggeringSprite = &s;
  s.AddAlarm(off.get());
  s.AddAlarm(empty.get());
  s.CheckAlarms();
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(off->GetTriggeringSprite(), nullptr);
  EXPECT_EQ(empty->GetTriggeringSprite(), nullptr);
}

TEST_F(AlarmTest, CopiesCloneTheShapes) {
  std::unique_ptr<Alarm> a(CircleAlarm(1, 2, 3));
  a->AddShape(new CollisionSegment(0, 0, 5, 0, 0, 0));
  a->SetName("Gate");
  a->SetId(4);
  Alarm b(*a);
  EXPECT_STREQ(b.GetName(), "Gate");
  EXPECT_EQ(b.GetId(), 4u);
  EXPECT_EQ(b.behaviour, RecordCall);
  ASSERT_EQ(b.shapes.Count(), 2);
  EXPECT_NE(b.shapes.GetHead(), a->shapes.GetHead());
  EXPECT_NE(dynamic_cast<CollisionCircle*>(b.shapes.GetHead()), nullptr);
  EXPECT_NE(dynamic_cast<CollisionSegment*>(b.shapes.GetHead()->GetNext()), nullptr);
}

TEST_F(AlarmTest, SaveAndLoadRoundTrip) {
  std::unique_ptr<Alarm> a(CircleAlarm(1, 2, 3));
  a->AddShape(new CollisionSegment(0, 0, 5, 0, 7, 1));
  a->SetName("Gate");
  a->SetId(9);
  a->SetEnabled(0);
  a->SetBehaviour(-1);
  const std::string first = std::string(QUOR_BINARY_DIR) + "/alarm_round_trip_1.sav";
  const std::string second = std::string(QUOR_BINARY_DIR) + "/alarm_round_trip_2.sav";
  {
    ObjectStream out(first, true);
    out.WriteObject(a.get());
  }
  Alarm* loaded = nullptr;
  {
    ObjectStream in(first, false);
    in.ReadObjectAs(&loaded);
    ASSERT_TRUE(in.Good());
  }
  ASSERT_NE(loaded, nullptr);
  std::unique_ptr<Alarm> owned(loaded);
  EXPECT_STREQ(loaded->GetName(), "Gate");
  EXPECT_EQ(loaded->GetId(), 9u);
  EXPECT_FALSE(loaded->IsEnabled());
  ASSERT_EQ(loaded->shapes.Count(), 2);
  EXPECT_NE(dynamic_cast<CollisionCircle*>(loaded->shapes.GetHead()), nullptr);
  {
    ObjectStream out(second, true);
    out.WriteObject(loaded);
  }
  std::ifstream f1(first, std::ios::binary), f2(second, std::ios::binary);
  std::vector<char> b1((std::istreambuf_iterator<char>(f1)), std::istreambuf_iterator<char>());
  std::vector<char> b2((std::istreambuf_iterator<char>(f2)), std::istreambuf_iterator<char>());
  EXPECT_EQ(b1, b2);
}

TEST_F(AlarmTest, ASpriteSavedWithItsAlarmsBringsThemBack) {
  std::unique_ptr<Alarm> zone(CircleAlarm(50, 50, 20));
  Sprite s = MakeSprite(40, 40, 1, 0);
  s.SetName("Walker");
  s.AddAlarm(zone.get());
  s.AddAlarm(zone.get());
  const std::string path = std::string(QUOR_BINARY_DIR) + "/alarm_sprite.sav";
  {
    ObjectStream out(path, true);
    out.WriteObject(&s);
  }
  Sprite* loaded = nullptr;
  {
    ObjectStream in(path, false);
    in.ReadObjectAs(&loaded);
    ASSERT_TRUE(in.Good());
  }
  ASSERT_NE(loaded, nullptr);
  ASSERT_EQ(loaded->alarms.Size(), 2u);
  EXPECT_EQ(loaded->alarms[0], loaded->alarms[1]);  // one Alarm, referenced twice
  EXPECT_NE(loaded->alarms[0], zone.get());
  loaded->behaviour = nullptr;
  loaded->alarms[0]->behaviour = RecordCall;
  loaded->CheckAlarms();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].sprite, loaded);
  Alarm* kept = loaded->alarms[0];
  delete loaded;
  EXPECT_EQ(kept->GetTriggeringSprite(), nullptr);  // it outlives the sprite, forgetting it
}

}  // namespace
}  // namespace quor
