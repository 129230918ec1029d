// What many behaviours share: the current scene's sprites and sounds found by name, the
// status row, parked projectiles, the keyboard, and scene requests.
//
// Every helper is safe when what it looks for is not there: a missing sprite comes back
// as null (never as a stand-in to act on), a missing sound plays nothing, and with no
// keyboard or no director nothing is held, pressed or requested.
#pragma once

#include <cstdint>

namespace quor {
class Node;
class Sprite;
}

namespace game {

// The first sprite of the current scene (layers 0 to 15, each in its depth order) named
// exactly name, or null.
quor::Sprite* FindSprite(const char* name);

// A collected item stands on the status row at the bottom of the screen: its y is below
// this line.
constexpr float kStatusRowLine = 450.0f;
bool IsOnStatusRow(const quor::Sprite& item);
// False when the scene holds no sprite of that name.
bool IsOnStatusRow(const char* itemName);

// A reusable projectile waits off screen, left of x 0, instead of being deleted.
bool IsParked(const quor::Sprite& projectile);
// Moves the sprite; it stays active and keeps its speed and direction.
void Park(quor::Sprite& sprite, float x, float y);

// The engine removes a dead sprite right after its behaviour.
void Kill(quor::Sprite& sprite);
// A hidden sprite stays in its layer but is neither run, collided nor drawn.
void Hide(quor::Sprite& sprite);
void Show(quor::Sprite& sprite);
// Takes the direction at once (no blending), normalised.
void Aim(quor::Sprite& sprite, float dx, float dy);

// A new copy of the first sprite named name, added to the current scene in front of the
// sprites of its layer and depth; null when there is no such sprite or its layer is full.
quor::Sprite* SpawnCopyOf(const char* name);

// Plays the current scene's sound of that name; a playing sound is not cut off.
void PlaySound(const char* name);

// The key (a platform::KeyCode) is held / went down in this frame.
bool IsKeyHeld(uint8_t code);
bool IsKeyPressedNow(uint8_t code);

// Requests the scene of that name; the switch happens at the top of the next frame.
void RequestScene(const char* sceneName);

// The sprite that the engine hands a behaviour or a state function as its owner, or null
// when the owner is something else (a damaged saved game can give a sprite's index to a
// scene, a map or a text box).
quor::Sprite* AsSprite(quor::Node* owner);

// The exit door of a level: it opens by itself once the third key is carried, wherever the
// hero is, and stays open on its last picture. True when the hero walks into it open.
bool ExitDoorLetsHeroThrough(quor::Sprite& door);

// Shows a counter as the frame of the sprite's current action: frame `count`, kept within
// the frames the action has.
void ShowCountAsFrame(quor::Sprite& counter, int32_t count);

}  // namespace game
