#include <chrono>
#include <filesystem>
#include <thread>

#include "ScreensTestSupport.h"
#include "audio/Sound.h"
#include "game/Units.h"
#include "screens/Screens.h"

namespace {

// Against the audio library on OpenAL Soft's null device (ctest sets it),
// whose sources play in real time.
class SoundTest : public ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    std::filesystem::create_directories("DATA/AUDIO");
    WriteWav("DATA/AUDIO/mest.wav", 0.5);
    WriteWav("DATA/AUDIO/selectB.wav", 0.5);
    WriteWav("music.wav", 2);
    AudioInit(44100);
  }
  void TearDown() override {
    AudioFree();
    ScreensTest::TearDown();
  }

  // Playing: the position moves on within a short wait.
  static bool Playing(AudioHandle handle) {
    const uint64_t before = AudioChannelGetPosition(handle);
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    return AudioChannelGetPosition(handle) != before;
  }
};

}  // namespace

TEST_F(SoundTest, AnEffectRewindsSilentlyAfterItsEndAndThenPlaysAgain) {
  cSound sound{};
  sound.Load("DATA\\AUDIO\\mest.wav");
  ASSERT_NE(sound.stream, 0u);
  EXPECT_EQ(sound.length, 22050 * 4);  // bytes of 16-bit stereo

  sound.Play();
  EXPECT_TRUE(Playing(sound.stream));
  // Triggered again part-way: it goes on from where it is.
  const uint64_t partWay = AudioChannelGetPosition(sound.stream);
  sound.Play();
  EXPECT_GE(AudioChannelGetPosition(sound.stream), partWay);

  // At its end the next trigger rewinds without a sound, the one after
  // that plays it from the start.
  AudioChannelSetPosition(sound.stream, uint64_t(sound.length));
  sound.Play();
  EXPECT_EQ(AudioChannelGetPosition(sound.stream), 0u);
  EXPECT_FALSE(Playing(sound.stream));
  sound.Play();
  EXPECT_TRUE(Playing(sound.stream));
}

TEST_F(SoundTest, AMissingEffectIsSilentAndHarmless) {
  cSound sound{};
  sound.Load("DATA\\AUDIO\\none.wav");
  EXPECT_EQ(sound.length, 0);
  sound.Play();
  sound.Play();
  EXPECT_EQ(AudioChannelGetPosition(sound.stream), 0u);
}

TEST_F(SoundTest, TitleMusicFollowsTheMenuAndStaysOffUnderTheBonusScreen) {
  musicStreams[0] = AudioStreamCreateFile("music.wav");
  ASSERT_NE(musicStreams[0], 0u);
  mainScreen.titleMusicOn = 1;
  MusicTick();
  EXPECT_TRUE(Playing(musicStreams[0]));
  mainScreen.bonusShown = 1;
  MusicTick();
  EXPECT_FALSE(Playing(musicStreams[0]));
  mainScreen.bonusShown = 0;
  MusicTick();
  EXPECT_TRUE(Playing(musicStreams[0]));
  mainScreen.titleMusicOn = 0;  // a new game
  MusicTick();
  EXPECT_FALSE(Playing(musicStreams[0]));
}

TEST_F(SoundTest, LevelMusicPlaysUntilThePlayerNearsTheLevelsEnd) {
  musicStreams[2] = AudioStreamCreateFile("music.wav");
  game.screensX = 3;
  units[0].x = 1900;  // exactly 500 from the end: still playing
  MusicTick();
  EXPECT_FALSE(Playing(musicStreams[2]));  // no level loaded yet
  screenFlags.levelLoaded[0] = 1;
  MusicTick();
  EXPECT_TRUE(Playing(musicStreams[2]));
  units[0].x = 1901;
  MusicTick();
  EXPECT_FALSE(Playing(musicStreams[2]));
}

TEST_F(SoundTest, TheHoverSoundPlaysOnEnteringAnItemAndIsRewoundAfter) {
  IntroState.finished = 1;
  mainScreen.items[0] = tMenuItem{100, 100, 300, 140, 100, 100};
  mouseX = mouseY = 50;
  MainMenuFrame();
  const AudioHandle hover = mainScreen.menuSound;
  ASSERT_NE(hover, 0u);
  EXPECT_FALSE(Playing(hover));

  mouseX = mouseY = 120;
  MainMenuFrame();  // 10 ms over the item
  EXPECT_TRUE(Playing(hover));
  MainMenuFrame();  // 20 ms
  MainMenuFrame();  // past 20 ms: stopped and rewound
  EXPECT_EQ(AudioChannelGetPosition(hover), 0u);
  EXPECT_FALSE(Playing(hover));
}
