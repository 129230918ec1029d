// Real scenes for whole-program runs on the headless host, and the files they read.
//
// The room: a map with a wall at x = 300 and a red hero that the right arrow key walks
// into it. The furnished room adds one of nearly everything a saved game can hold, so that
// its saves make good examples of the format: text boxes in the scene, on a map and on a
// crate, the crate on a path with an alarm, wrapped maps that drift, a circle, a sound and
// music, and, when asked for, a MIDI track.
#pragma once

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/app/game_director.h"
#include "engine/core/engine_globals.h"
#include "engine/core/object_stream.h"
#include "engine/display/map.h"
#include "engine/display/variable.h"
#include "engine/scene/alarm.h"
#include "engine/scene/animation.h"
#include "engine/scene/collision_shape.h"
#include "engine/scene/game_node.h"
#include "engine/scene/sprite.h"
#include "engine/sound_input/keyboard.h"
#include "engine/sound_input/midi_file.h"
#include "platform/files.h"
#include "platform/headless/headless_host.h"
#include "platform/input_keys.h"
#include "tests/support/sample_files.h"

namespace testing_support {

constexpr int kRoomWallX = 300;

// The bitmaps, sounds and music of the rooms, in BITMAPS/ and Sounds/ of folder.
inline void WriteRoomFiles(const std::string& folder) {
  std::string bitmaps = folder + "/BITMAPS", sounds = folder + "/Sounds";
  mkdir(bitmaps.c_str(), 0755);
  mkdir(sounds.c_str(), 0755);
  WriteBitmap(bitmaps + "/room.bmp", 640, 480, 0, 0, 128);
  WriteBitmap(bitmaps + "/hero.bmp", 32, 32, 255, 0, 0);
  WriteBitmap(bitmaps + "/crate.bmp", 24, 24, 160, 110, 40);
  WriteBitmap(bitmaps + "/mist.bmp", 96, 64, 200, 200, 200);
  WriteBitmap(bitmaps + "/strip.bmp", 640, 40, 0, 90, 0);
  WriteBytes(sounds + "/step.wav", ToneWave(1, 22050, 8, 2205));
  WriteBytes(sounds + "/music.wav", ToneWave(2, 11025, 16, 33075));
  WriteBytes(sounds + "/tune.mid", TinyMidi());
}

inline void SetFrame(quor::SpriteFrame* frame, const char* bitmap, int size) {
  if (!frame) return;
  std::snprintf(frame->bitmapName, sizeof frame->bitmapName, "%s", bitmap);
  frame->width = size;
  frame->height = size;
  for (quor::Rect& r : frame->collisionRects) r = quor::Rect{0, 0, size - 1, size - 1};
}

inline void BuildRoomAnimation(quor::GameNode*) {
  quor::AnimationSet& hero = quor::AnimationTable[0];
  hero.SetActionCount(1);
  quor::SpriteAction* walk = hero.GetAction(0);
  walk->SetFrameCount(1);
  SetFrame(walk->GetFrame(0), "hero.bmp", 32);
}

inline void WalkRight(quor::Node* owner) {
  auto* hero = static_cast<quor::Sprite*>(owner);
  if (quor::CurrentKeyboard->IsKeyDown(platform::KeyRight)) {
    hero->SetDirection(1.0f, 0.0f, 1);
    hero->SetSpeedX(4.0f);
  } else {
    hero->SetSpeedX(0.0f);
  }
}

inline void BuildRoom(quor::GameNode* scene) {
  quor::Map room("Room", "room.bmp", 1, 0, 0, 0);
  room.AddCollisionSegment(quor::CollisionSegment(kRoomWallX, 0, kRoomWallX, 480, 0, 0));
  scene->AddMap(room);
  quor::Sprite hero;
  hero.SetName("Hero");
  hero.SetMap("Room");
  hero.SetAnimation(0);
  hero.SetX(100.0f);
  hero.SetY(200.0f);
  hero.SetMainCharacter(1);
  hero.SetCollideWithMap(1);
  hero.behaviour = WalkRight;
  scene->AddSprite(hero);
}

inline void BuildFurnishedAnimation(quor::GameNode* scene) {
  BuildRoomAnimation(scene);
  quor::AnimationSet& crate = quor::AnimationTable[1];
  crate.SetActionCount(1);
  quor::SpriteAction* still = crate.GetAction(0);
  still->SetFrameCount(2);
  SetFrame(still->GetFrame(0), "crate.bmp", 24);
  SetFrame(still->GetFrame(1), "crate.bmp", 24);
}

inline quor::Variable TextBox(const char* name, const char* text, int left, int top, int mode) {
  quor::Variable box;
  box.SetName(name);
  box.SetFontFace("Arial");
  box.SetFontWidth(6);
  box.SetFontSize(12);
  box.SetFontWeight(400);
  box.SetTextColor(0x00FFFF);
  box.SetRect(left, top, left + 200, top + 60);
  box.SetShowFrame(1);
  box.SetDrawMode(mode);
  box.SetMarginX(2);
  box.SetMarginY(1);
  box.SetLetterSpacing(1);
  box.SetText(text);
  return box;
}

// A MIDI track as a saved scene brings one (the only way a scene gets one).
inline quor::MidiFile* LoadTune(const std::string& folder) {
  std::string record = folder + "/tune.record";
  {
    quor::ObjectStream out(record, true);
    char name[32] = "Tune", file[32] = "tune.mid";
    out.WriteName(name);
    out.WriteName(file);
    out.WriteByte(uint8_t{1});   // looping
    out.WriteByte(uint8_t{0});   // paused
    out.WriteLong(uint32_t{0});  // spare
    out.WriteLong(int32_t{-600});
    out.WriteByte(uint8_t{1});   // wanted
    out.WriteLong(int32_t{0});
  }
  quor::ObjectStream in(record, false);
  auto* tune = new quor::MidiFile;
  tune->Load(in);
  return tune;
}

inline void BuildFurnishedRoom(quor::GameNode* scene) {
  BuildRoom(scene);
  scene->SetWidth(1280);
  scene->SetHeight(960);
  quor::Map mist("Mist", "mist.bmp", 2, 1, 40, 30);
  mist.SetAutoScrollX(1.5f);
  mist.SetAutoScrollY(-0.5f);
  mist.SetUseColorKey(true);
  scene->AddMap(mist);
  quor::Map strip("Strip", "strip.bmp", 3, 2, 0, 400);
  strip.SetScrollFactorX(0.5f);
  strip.SetAutoScrollX(2.0f);
  strip.AddCollisionSegment(quor::CollisionSegment(0, 420, 640, 420, 3, 1));
  scene->AddMap(strip);

  quor::Sprite crate;
  crate.SetName("Crate");
  crate.SetMap("Room");
  crate.SetAnimation(1);
  crate.SetLayer(2);
  crate.SetDepth(5);
  crate.SetX(400.0f);
  crate.SetY(120.0f);
  crate.SetCollideWithSprites(1);
  crate.SetCollideWithMap(1);
  crate.SetBounce(1);
  crate.SetFriction(10.0f);
  crate.transparency = 0.5f;
  crate.SetPathLength(2);
  crate.SetPathStep(1, 40, 0);
  crate.SetPathStep(2, -40, 10);
  crate.StartPath(1);
  crate.SetVariableCount(2);
  crate.variables[0] = TextBox("Label", "crate", 0, 0, quor::kWordWrap);
  crate.variables[1].SetReal(2.5);
  static quor::Alarm* gate = [] {
    auto* made = new quor::Alarm;
    made->SetName("Gate");
    made->AddShape(new quor::CollisionCircle(450.0f, 300.0f, 20.0f, 7, 1));
    made->AddShape(new quor::CollisionSegment(420.0f, 280.0f, 480.0f, 280.0f, 8, 0));
    return made;
  }();
  crate.AddAlarm(gate);
  scene->AddSprite(crate);

  quor::Variable score = TextBox("Score", "Score: 0\\nKeys: 1", 420, 10, quor::kWordWrap);
  scene->AddVariable(score);
  quor::Variable story = TextBox("Story", "A long way down the stairs lies the vault.", 20, 300,
                                 quor::kBothWaysScroll);
  story.SetTextEffectTiming(2, 3);
  story.SetTextEffect(quor::kRandomReveal);
  story.SetText("A long way down the stairs lies the vault.");
  scene->AddVariable(story);
  quor::Variable sign = TextBox("Sign", "EXIT", 0, 0, quor::kCharacterWrap);
  sign.SetTiedMap(quor::FindMapByName("Mist"));
  sign.SetWorldCoordinates(1);
  scene->AddVariable(sign);

  scene->AddSound("Step", "step.wav", 0, 50);
  scene->AddStreamedSound("Music", "music.wav", 1);
}

// The furnished room's MIDI track, added to the running scene. Kept apart because every
// load of a scene with music reads the synthesizer's whole sound font again.
inline void AddTune() {
  quor::CurrentGameNode->midiFiles.AddHead(LoadTune(platform::CurrentDirectory()));
}

// Frame actions that restart scene 1 as a room before anything else happens.
inline void UseRoom(platform::HeadlessHost&) {
  quor::CurrentGameNode->buildAnimationSets = BuildRoomAnimation;
  quor::CurrentGameNode->buildContent = BuildRoom;
  quor::CurrentGameDirector->RequestGameNode(1);
}

inline void UseFurnishedRoom(platform::HeadlessHost&) {
  // Recordings keep the arrows and the space bar.
  quor::DynamicArray<uint32_t>& keys = quor::CurrentGameNode->registeredKeys;
  if (keys.Size() == 0)
    for (uint32_t key : {platform::KeyRight, platform::KeyLeft, platform::KeyUp, platform::KeyDown,
                         platform::KeySpace})
      keys.Add(key);
  quor::CurrentGameNode->buildAnimationSets = BuildFurnishedAnimation;
  quor::CurrentGameNode->buildContent = BuildFurnishedRoom;
  quor::CurrentGameDirector->RequestGameNode(1);
}

// A run in a room (UseRoom or UseFurnishedRoom): the room from the first frame, and the right
// arrow held from frame 5, so the hero walks to the wall.
inline void WalkRightInRoom(platform::HeadlessHost& host, void (*room)(platform::HeadlessHost&)) {
  host.AtFrame(0, room);
  host.AtFrame(5, [](platform::HeadlessHost& h) { h.input.PressKey(platform::KeyRight); });
}

}  // namespace testing_support
