// The game's music, composed in code: the title theme and the level theme
// (each over a minute and looping without a seam), and the short pieces
// under the intro and credits videos.
#pragma once

#include "tools/content/Synth.h"

// A minor, 90 beats a minute, 24 bars (64 s): pad, bells, lead, light drums.
AudioBuffer TitleMusic();
// C major, 120 beats a minute, 32 bars (64 s): bass, chords, lead, drums.
AudioBuffer LevelMusic();
// The title theme's opening as a closed piece (14.4 s): under the intro video.
AudioBuffer IntroMusic();
// A calm closing piece (15 s): under the credits video.
AudioBuffer CreditsMusic();
