// Start-up, the frame handlers and the ways out of the program.
#pragma once

#include <cstdint>

// Start-up: display mode and context, audio, configuration files, light,
// shared pictures, key assignments, collision map, music, exit prompt.
// Runs fully once; later calls (focus gained or lost) only restore the
// display mode and the context.
void FormCreate();
// The next FormCreate runs the whole start-up again (a new run in the same
// process, after CloseGame).
void ResetStartup();
// The configuration files, in start-up's order: settings.cfg, levels.cfg,
// pAnim.cfg, uAnim.cfg, UStats.cfg, mainSCR.cfg. Also used by the tools.
void ReadConfigurationFiles();
// The pickup kinds' box and picture size (50), set once at start-up.
void SetUpPickupKinds();
void SetupContext(int left, int top, int width, int height, int bits, int frequency,
                  int fullScreen);
void FormClose();
// For test plays of a level being made: when set, start-up ends with the
// first level starting at once, without the splash, the menu, the intro
// video and the loading title's wait.
void SetStartAtFirstLevel(bool atOnce);

// The frame handler and its play block.
void DXTimer1Timer();
void RunPlayBlock();     // step 9: one frame of play
void CheckLevelEnd();    // step 10
void CheckFallOut();     // step 12
// The once-a-second handler.
void Timer1Timer();

// Mouse handlers; positions in scene pixels.
void FormMouseMove(int32_t x, int32_t y);
void FormClick();
void FormMouseDown();
void FormMouseUp();

// Every way out: releases the audio library, frees the map, ends the loop.
void QuitGame();
