// Small levels for the gameplay tests: a clean game state, a collision map
// drawn from line lists, a player placed with the camera on him, and input
// held by the test instead of the devices.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/GameState.h"
#include "app/Input.h"
#include "game/CollisionMap.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "platform/MessageBox.h"

namespace gametest {

struct Line {
  int x0, y0, x1, y1;
};

inline InputSet heldStates{};
inline InputSet HeldStates() { return heldStates; }
inline void Hold(std::initializer_list<int> states) {
  heldStates = InputSet{};
  for (int k : states) heldStates.Add(k);
}

inline std::vector<std::string> messages;
inline void CollectMessage(const std::string& caption, const std::string& text) {
  messages.push_back(caption + "|" + text);
}

// A level of screensX x screensY screens with an empty map, f = 2, no keys.
class GameTest : public ::testing::Test {
 protected:
  void SetUp() override { StartLevel(2, 2); }
  void TearDown() override {
    SetMessageBoxHandler(nullptr);
    ClearTerminateRequest();
    ResetGameState();
  }

  void StartLevel(int screensX, int screensY) {
    ResetGameState();
    ClearTerminateRequest();
    messages.clear();
    SetMessageBoxHandler(CollectMessage);
    Hold({});
    SetInputSource(HeldStates);
    game.screensX = uint8_t(screensX);
    game.screensY = uint8_t(screensY);
    CollisionMap.Resize(screensX * 800, screensY * 600);
    frameFactor = 2;
  }

  static void Draw(PixelClass pen, std::initializer_list<Line> lines) {
    CollisionMap.SetPen(pen);
    for (const Line& l : lines) {
      CollisionMap.MoveTo(l.x0, l.y0);
      CollisionMap.LineTo(l.x1, l.y1);
    }
  }

  // The player, 40 x 50 with a full jump of 60, centred at (x, y).
  static tVirkoUnit& PlacePlayer(float x, double y) {
    tVirkoUnit& p = units[0];
    p.x = x;
    p.y = y;
    p.width = 40;
    p.height = 50;
    p.jumpMax = 60;
    cameraX = 400.0 - x;
    cameraY = 300.0 - y;
    return p;
  }

  static double Foot(const tVirkoUnit& u) { return u.y + u.height * 0.5; }
};

}  // namespace gametest
