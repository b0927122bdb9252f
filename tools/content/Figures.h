// The game's characters, drawn with a Pen in figure coordinates: origin at
// the feet (or, for fliers, the body's centre), y downward, about 128 units
// to a sprite frame. The hero faces right; the enemies face left.
#pragma once

#include "tools/content/Rig.h"

// Limb angles: 0 hangs straight down, positive swings forward (toward the
// way the figure faces); the bend turns the lower part further.
struct Limb {
  float swing = 0;
  float bend = 0;
};

// Virko, the squirrel aviator.
struct HeroPose {
  bool grounded = true;  // lift the hips so that the lower foot stands on y = 0
  float hipY = -24;      // used when not grounded
  float lean = 0;        // torso tilt about the hips, positive forward
  float headTurn = 0;    // head tilt, negative raises the nose
  float lookUp = 0;      // 0..1
  bool blink = false;
  float breathe = 0;     // 0..1 chest swell
  Limb legFront, legBack, armFront, armBack;
  float tail = 0;        // tail turn about its root, negative streams back
  float tailWave = 0;
  float scarfPhase = 0;
  float scarfLift = 0;   // 0 trails behind, 1 flies upward
  bool nutInPaw = false;
  bool cheer = false;    // open, smiling mouth
  bool swoosh = false;   // the throwing arm's sweep
};
void DrawHero(const Pen& pen, const HeroPose& pose);

// Enemies. phase runs 0..1 over one cycle of their move animation.
void DrawHedgehog(const Pen& pen, float phase, float attack);  // attack 0..1
void DrawSnail(const Pen& pen, float phase);
void DrawBee(const Pen& pen, float phase);
void DrawBird(const Pen& pen, float phase);
void DrawBat(const Pen& pen, float phase);
void DrawRainCloud(const Pen& pen, float phase);

// Things.
void DrawPineCone(const Pen& pen, Vec centre, float size, float angle);
void DrawNut(const Pen& pen, Vec centre, float size, float angle);
