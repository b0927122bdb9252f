#include <AL/alc.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/GameState.h"
#include "audio/AudioLibrary.h"
#include "gfx/Fit.h"
#include "platform/MediaPlayer.h"
#include "platform/MessageBox.h"

namespace fs = std::filesystem;

namespace {

int64_t fakeNow = 0;
int64_t FakeClock() { return fakeNow; }

// A folder of this process's own, removed when the process ends.
fs::path TestFolder() {
  struct Folder {
    fs::path path = fs::temp_directory_path() / ("virko-media-" + std::to_string(getpid()));
    Folder() { fs::create_directories(path); }
    ~Folder() {
      std::error_code ignored;
      fs::remove_all(path, ignored);
    }
  };
  static const Folder folder;
  return folder.path;
}

constexpr const char* kChildVideo = "VIRKO_VIDEO_SOUND_FILE";  // set in a child that plays it

// Two seconds of 25 pictures a second with WMA sound, as the game's videos.
std::string TestVideo() {
  static const std::string path = [] {
    if (const char* given = std::getenv(kChildVideo)) return std::string(given);
    const fs::path file = TestFolder() / "clip.wmv";
    const std::string command =
        "ffmpeg -v error -y -f lavfi -i testsrc=size=320x240:rate=25:duration=2 "
        "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=2 "
        "-c:v wmv2 -b:v 1M -c:a wmav2 -b:a 128k -ac 2 -f asf '" + file.string() + "'";
    return std::system(command.c_str()) == 0 ? file.string() : std::string();
  }();
  return path;
}

std::string WriteFile(const std::string& name, const std::string& bytes) {
  const fs::path file = TestFolder() / name;
  std::ofstream(file, std::ios::binary) << bytes;
  return file.string();
}

struct Box {
  std::string caption, text;
};
std::vector<Box> boxes;
void CollectBox(const std::string& caption, const std::string& text) {
  boxes.push_back(Box{caption, text});
}

class MediaPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    fakeNow = 1000;
    SetMediaClock(FakeClock);
    boxes.clear();
    SetMessageBoxHandler(CollectBox);
    if (TestVideo().empty()) GTEST_SKIP() << "the ffmpeg command is needed to make the test video";
  }
  void TearDown() override {
    player.Stop();
    SetMediaClock(nullptr);
    SetMessageBoxHandler(nullptr);
  }

  // Opens and plays a file that cannot be played: it counts as finished at
  // once, decodes nothing and prints one line naming it. Returns the line.
  static std::string OpenUnplayable(const std::string& file) {
    cMediaPlayer broken;
    broken.fileName = file;
    testing::internal::CaptureStderr();
    broken.Open();
    broken.Play();
    broken.Frame();
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
    EXPECT_NE(printed.find(file), std::string::npos) << printed;
    EXPECT_GT(broken.Position(), broken.Length() - 10);
    EXPECT_EQ(broken.FramesDecoded(), 0);
    broken.Stop();
    EXPECT_GT(broken.Position(), broken.Length() - 10);
    return printed;
  }

  // Frames of 10 ms until the video reports its end, as the frame loop
  // tests it; returns the frames run.
  int PlayToEnd(int limit = 1000) {
    int frames = 0;
    while (frames < limit && !(player.Position() > player.Length() - 10)) {
      fakeNow += 10;
      player.Frame();
      ++frames;
    }
    return frames;
  }

  cMediaPlayer player;
};

void PushEvent(SDL_Event event) {
  event.common.timestamp = SDL_GetTicks();
  SDL_PushEvent(&event);
}

void PressKey(SDL_Keycode key) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.keysym.sym = key;
  PushEvent(event);
}

void MouseButton(Uint32 type) {
  SDL_Event event{};
  event.type = type;
  event.button.button = SDL_BUTTON_LEFT;
  PushEvent(event);
}

}  // namespace

TEST_F(MediaPlayerTest, DecodesEveryPictureAndEndsAtItsLength) {
  player.fileName = TestVideo();
  player.Open();
  EXPECT_EQ(player.Position(), 0);
  EXPECT_NEAR(double(player.Length()), 2092, 60);  // the file's duration in milliseconds
  EXPECT_EQ(player.FramesDecoded(), 1);            // the first picture, decoded on opening
  player.Play();

  int64_t last = 0;
  int frames = 0;
  while (!(player.Position() > player.Length() - 10) && frames < 1000) {
    fakeNow += 10;
    player.Frame();
    ++frames;
    EXPECT_GE(player.Position(), last);
    last = player.Position();
    if (frames == 100) {
      EXPECT_EQ(player.Position(), 1000);
    }
  }
  EXPECT_NEAR(frames, player.Length() / 10, 2);
  EXPECT_EQ(player.FramesDecoded(), 50);

  // At the end it stays at its length and decodes nothing more.
  for (int i = 0; i < 50; ++i) {
    fakeNow += 10;
    player.Frame();
  }
  EXPECT_EQ(player.Position(), player.Length());
  EXPECT_EQ(player.FramesDecoded(), 50);
  player.Stop();
  EXPECT_EQ(player.Position(), player.Length());
}

TEST_F(MediaPlayerTest, ALateFrameCatchesUpAFewPicturesAtATime) {
  player.fileName = TestVideo();
  player.Open();
  player.Play();
  player.Frame();
  const int64_t before = player.FramesDecoded();
  fakeNow += 1000;  // the game stalled for a second: 25 pictures are due
  player.Frame();
  EXPECT_LE(player.FramesDecoded() - before, 4);
  EXPECT_EQ(player.Position(), 1000);  // the clock does not wait for the pictures
  PlayToEnd();
  EXPECT_EQ(player.FramesDecoded(), 50);
}

TEST_F(MediaPlayerTest, StopHaltsThePosition) {
  player.fileName = TestVideo();
  player.Open();
  player.Play();
  for (int i = 0; i < 50; ++i) {
    fakeNow += 10;
    player.Frame();
  }
  player.Stop();
  fakeNow += 500;
  player.Frame();
  EXPECT_EQ(player.Position(), 500);
  EXPECT_LT(player.FramesDecoded(), 50);
}

bool VideoModuleLoaded() {
  std::ifstream maps("/proc/self/maps");
  const std::string all((std::istreambuf_iterator<char>(maps)), {});
  return all.find("libvirko_video.so") != std::string::npos;
}

// The decoder's module (and the codec libraries with it) is in memory only
// while a video is being decoded; the last picture stays on screen.
TEST_F(MediaPlayerTest, TheDecoderIsLoadedOnlyWhileAVideoIsDecoded) {
#if defined(VIRKO_SANITIZED)
  GTEST_SKIP() << "a sanitizer build keeps the module loaded, for the leak checker";
#endif
  EXPECT_FALSE(VideoModuleLoaded());
  player.fileName = TestVideo();
  player.Open();
  EXPECT_TRUE(VideoModuleLoaded());
  player.Play();
  PlayToEnd();
  fakeNow += 20;
  player.Frame();
  EXPECT_FALSE(VideoModuleLoaded()) << "unloaded at the end";
  player.Open();
  player.Play();
  player.Frame();
  EXPECT_TRUE(VideoModuleLoaded());
  player.Stop();
  EXPECT_FALSE(VideoModuleLoaded()) << "unloaded when stopped";
}

TEST_F(MediaPlayerTest, AMissingFileCountsAsFinishedWithoutAMessageBox) {
  OpenUnplayable((TestFolder() / "missing.wmv").string());
  EXPECT_TRUE(boxes.empty());
}

std::string ValidVideoBytes() {
  std::ifstream in(TestVideo(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A file that is there but cannot be played is told in a message box with
// its name and the reason, the one printed.
TEST_F(MediaPlayerTest, AnUndecodableFileCountsAsFinishedAndIsToldInAMessageBox) {
  const std::string valid = ValidVideoBytes();
  std::vector<std::string> files = {
      WriteFile("empty.wmv", ""),
      WriteFile("noise.wmv", std::string(5000, '\x5a')),
      WriteFile("cut-in-header.wmv", valid.substr(0, 300)),
  };
  // An ASF file whose pictures are not WMV.
  const fs::path otherCodec = TestFolder() / "mpeg4.wmv";
  if (std::system(("ffmpeg -v error -y -f lavfi -i testsrc=size=160x120:rate=25:duration=1 "
                   "-c:v mpeg4 -f asf '" + otherCodec.string() + "'").c_str()) == 0)
    files.push_back(otherCodec.string());
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    boxes.clear();
    const std::string printed = OpenUnplayable(file);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Video File Error");
    EXPECT_NE(boxes[0].text.find("\"" + file + "\""), std::string::npos) << boxes[0].text;
    const size_t reasonAt = printed.find(": ", printed.find(file));
    ASSERT_NE(reasonAt, std::string::npos) << printed;
    const std::string reason = printed.substr(reasonAt + 2, printed.size() - reasonAt - 3);
    EXPECT_FALSE(reason.empty()) << printed;
    EXPECT_NE(boxes[0].text.find(reason), std::string::npos) << boxes[0].text;
  }
}

// A video opened ahead on its own thread plays and fails as one opened by
// Open; one prepared for another file is left for that file.
TEST_F(MediaPlayerTest, AVideoOpenedAheadPlaysAndFailsAsOneOpenedThen) {
  player.fileName = TestVideo();
  player.Open();
  const int64_t length = player.Length();
  player.Play();
  const int frames = PlayToEnd();
  player.Stop();

  const std::string noise = WriteFile("noise-ahead.wmv", std::string(5000, '\x5a'));
  PrepareVideo(noise);
  PrepareVideo(TestVideo());  // one at a time: left
  cMediaPlayer ahead;
  ahead.fileName = TestVideo();
  ahead.Open();  // not the prepared one: opened now
  EXPECT_EQ(ahead.Length(), length);
  ahead.Stop();
  const std::string printed = OpenUnplayable(noise);  // the prepared one, failing as it would
  EXPECT_EQ(boxes.size(), 1u);
  boxes.clear();
  EXPECT_EQ(OpenUnplayable(noise), printed);  // and opened now

  PrepareVideo(TestVideo());
  fakeNow += 500;  // the time the menu shows
  player.Open();
  EXPECT_EQ(player.Length(), length);
  EXPECT_EQ(player.FramesDecoded(), 1);
  player.Play();
  EXPECT_EQ(PlayToEnd(), frames);
  DropPreparedVideo();
}

// Writes value as `size` little-endian bytes at `offset` of the ASF File
// Properties object.
void PutFileProperty(std::string& asf, size_t offset, uint64_t value, int size) {
  const std::string guid = "\xa1\xdc\xab\x8c\x47\xa9\xcf\x11\x8e\xe4\x00\xc0\x0c\x20\x53\x65";
  const size_t object = asf.find(guid);
  ASSERT_NE(object, std::string::npos);
  for (int i = 0; i < size; ++i) asf[object + offset + size_t(i)] = char(value >> (8 * i));
}

constexpr size_t kPlayDuration = 64;  // and the send duration after it, 100 ns units
constexpr size_t kFlags = 88;         // 1: broadcast, no length given
constexpr int64_t kPictureMs = 40;

// Videos whose header's length is wrong or missing, and files cut short (to
// their end, or followed by the zeros of a download made at its full size):
// each ends one picture after its last, within a frame.
TEST_F(MediaPlayerTest, EndsWithItsLastPictureWhateverItsHeaderSays) {
  struct Case {
    const char* name;
    std::string bytes;
    bool whole;       // every picture is there
    bool headerWrong;  // its header gives a length far from the end
  };
  std::vector<Case> cases;
  // ffmpeg's files start playing after a preroll of some 3 s, which the
  // header's length includes: 4 s there is under a second of video.
  for (const uint64_t seconds : {3600, 4}) {
    std::string bytes = ValidVideoBytes();
    PutFileProperty(bytes, kPlayDuration, seconds * 10000000, 8);
    PutFileProperty(bytes, kPlayDuration + 8, seconds * 10000000, 8);
    cases.push_back({seconds == 4 ? "header-short.wmv" : "header-3600s.wmv", bytes, true, true});
  }
  std::string broadcast = ValidVideoBytes();
  PutFileProperty(broadcast, kFlags, 1, 4);
  cases.push_back({"broadcast.wmv", broadcast, true, false});
  const std::string valid = ValidVideoBytes();
  // Cut without its sizes mended: FFmpeg then takes no length from the header.
  const std::string half = valid.substr(0, valid.size() / 2);
  cases.push_back({"half.wmv", half, false, false});
  cases.push_back({"zero-tail.wmv", half + std::string(valid.size() - half.size(), '\0'), false, true});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cMediaPlayer video;
    video.fileName = WriteFile(c.name, c.bytes);
    video.Open();
    video.Play();
    int64_t lastPictureMs = 0;
    int64_t pictures = video.FramesDecoded();
    int frames = 0;
    testing::internal::CaptureStderr();
    for (; frames < 1000 && !(video.Position() > video.Length() - 10); ++frames) {
      fakeNow += 10;
      video.Frame();
      if (video.FramesDecoded() != pictures) lastPictureMs = video.Position();
      pictures = video.FramesDecoded();
    }
    const std::string told = testing::internal::GetCapturedStderr();
    // The next picture is decoded as one is shown: the last is shown a step
    // after it was decoded, and ends a step later.
    EXPECT_LE(frames * 10, lastPictureMs + 2 * kPictureMs + 10);
    if (c.whole) {
      EXPECT_EQ(pictures, 50);
    } else {
      EXPECT_GT(pictures, 5);
      EXPECT_LT(pictures, 50);
    }
    EXPECT_EQ(told.find("its header says") != std::string::npos, c.headerWrong) << told;
    video.Stop();
  }
}

TEST_F(MediaPlayerTest, SkipKeysAndAClickTakeTheVideoToItsEnd) {
  ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0);
  for (SDL_Keycode key : {SDLK_ESCAPE, SDLK_SPACE, SDLK_RETURN}) {
    cMediaPlayer video;
    video.fileName = TestVideo();
    video.Open();
    PressKey(key);  // before the video plays: does not count
    video.Play();
    fakeNow += 10;
    video.Frame();
    EXPECT_EQ(video.Position(), 10);
    PressKey(key);
    fakeNow += 10;
    video.Frame();
    EXPECT_EQ(video.Position(), video.Length()) << SDL_GetKeyName(key);
  }

  // The release of a button pressed before the video started (the press
  // that started it) is not a click; a whole click is.
  player.fileName = TestVideo();
  player.Open();
  MouseButton(SDL_MOUSEBUTTONDOWN);
  player.Play();
  MouseButton(SDL_MOUSEBUTTONUP);
  fakeNow += 10;
  player.Frame();
  EXPECT_EQ(player.Position(), 10);
  MouseButton(SDL_MOUSEBUTTONDOWN);
  fakeNow += 10;
  player.Frame();
  EXPECT_EQ(player.Position(), 20);
  MouseButton(SDL_MOUSEBUTTONUP);
  fakeNow += 10;
  player.Frame();
  EXPECT_EQ(player.Position(), player.Length());

  // Other keys do nothing.
  cMediaPlayer video;
  video.fileName = TestVideo();
  video.Open();
  video.Play();
  PressKey(SDLK_a);
  fakeNow += 10;
  video.Frame();
  EXPECT_EQ(video.Position(), 10);
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

TEST(MediaPlayerPicture, FitsTheAreaWithItsAspectKept) {
  const TRect area{0, 0, 800, 600};
  const TRect same = FitPicture(320, 240, 1, area);
  EXPECT_EQ(same.left, 0);
  EXPECT_EQ(same.top, 0);
  EXPECT_EQ(same.width, 800);
  EXPECT_EQ(same.height, 600);
  const TRect wide = FitPicture(1280, 720, 1, area);  // black bands above and below
  EXPECT_EQ(wide.width, 800);
  EXPECT_EQ(wide.height, 450);
  EXPECT_EQ(wide.top, 75);
  const TRect tall = FitPicture(480, 640, 1, area);  // and at the sides
  EXPECT_EQ(tall.height, 600);
  EXPECT_EQ(tall.width, 450);
  EXPECT_EQ(tall.left, 175);
  const TRect anamorphic = FitPicture(720, 480, 32.0 / 27, area);  // 16:9 from wide pixels
  EXPECT_EQ(anamorphic.width, 800);
  EXPECT_EQ(anamorphic.height, 450);
  const TRect unknownAspect = FitPicture(320, 240, 0, area);
  EXPECT_EQ(unknownAspect.width, 800);
}

TEST_F(MediaPlayerTest, PlaysItsSoundOnTheAudioLibrarysDevice) {
  AudioInit(44100);
  if (!alcGetCurrentContext()) GTEST_SKIP() << "no audio device, not even the null one";
  game.musicVolume = 60;
  player.fileName = TestVideo();
  player.Open();
  player.Play();
  PlayToEnd();
  EXPECT_EQ(player.FramesDecoded(), 50);
  // Released during a video, as on the way out: the player goes on silently.
  player.Open();
  player.Play();
  fakeNow += 500;
  player.Frame();
  AudioFree();
  PlayToEnd();
  EXPECT_EQ(player.FramesDecoded(), 50);
}

// The video's sound as OpenAL Soft's wave-file writer records it. OpenAL
// Soft reads its configuration once per process, so the video is played by
// a child: this binary again, running this test with the volume to use.
namespace {

constexpr const char* kChildVolume = "VIRKO_VIDEO_SOUND_VOLUME";

void PlayVideoInRealTime(const std::string& video, int volume) {
  SetMediaClock(nullptr);
  AudioInit(44100);
  game.musicVolume = uint8_t(volume);
  cMediaPlayer player;
  player.fileName = video;
  player.Open();
  player.Play();
  while (player.Position() < 1000) {
    player.Frame();
    AudioUpdate();
    SDL_Delay(10);
  }
  player.Stop();
  AudioFree();  // finishes the wave file
}

// The left channel of the recording at the given music volume.
std::vector<int16_t> RecordVideoSound(int volume) {
  const fs::path config = TestFolder() / "alsoft.conf";
  const fs::path wave = TestFolder() / ("sound" + std::to_string(volume) + ".wav");
  std::ofstream(config) << "[general]\ndrivers = wave\nsample-type = int16\nfrequency = 44100\n"
                           "dither = false\n"
                           "[wave]\nfile = " << wave.string() << "\n";
  const std::string command = "env -u ALSOFT_DRIVERS ALSOFT_CONF='" + config.string() + "' " +
                              kChildVolume + "=" + std::to_string(volume) + " " + kChildVideo +
                              "='" + TestVideo() + "' /proc/" + std::to_string(getpid()) +
                              "/exe --gtest_filter=MediaPlayerTest.ItsSound* >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return {};
  SF_INFO info{};
  SNDFILE* file = sf_open(wave.c_str(), SFM_READ, &info);
  if (!file) return {};
  std::vector<int16_t> frames(size_t(info.frames * info.channels));
  sf_readf_short(file, frames.data(), info.frames);
  sf_close(file);
  std::vector<int16_t> left;
  for (size_t i = 0; i < frames.size(); i += size_t(info.channels)) left.push_back(frames[i]);
  return left;
}

// The typical tenth of a second of a recording: the median of its cycles
// (counted with some hysteresis) and of its peaks, so that a stretch the
// player could not feed on a busy machine does not count.
struct Tone {
  int cycles;
  int peak;
};
Tone MeasureTone(const std::vector<int16_t>& samples) {
  std::vector<int> cycles, peaks;
  for (size_t start = 0; start + 4410 <= samples.size(); start += 4410) {
    int count = 0, peak = 0;
    bool high = false;
    for (size_t i = start; i < start + 4410; ++i) {
      peak = std::max(peak, std::abs(int(samples[i])));
      if (!high && samples[i] > 300) {
        high = true;
        ++count;
      } else if (high && samples[i] < -300) {
        high = false;
      }
    }
    cycles.push_back(count);
    peaks.push_back(peak);
  }
  if (cycles.empty()) return Tone{0, 0};
  std::nth_element(cycles.begin(), cycles.begin() + cycles.size() / 2, cycles.end());
  std::nth_element(peaks.begin(), peaks.begin() + peaks.size() / 2, peaks.end());
  return Tone{cycles[cycles.size() / 2], peaks[peaks.size() / 2]};
}

}  // namespace

TEST_F(MediaPlayerTest, ItsSoundComesOutAtTheMusicVolume) {
  if (const char* volume = std::getenv(kChildVolume)) {
    PlayVideoInRealTime(TestVideo(), std::atoi(volume));
    std::_Exit(0);
  }
  const std::vector<int16_t> full = RecordVideoSound(100);
  const std::vector<int16_t> half = RecordVideoSound(50);
  ASSERT_GT(full.size(), 22050u);
  ASSERT_GT(half.size(), 22050u);
  const Tone fullTone = MeasureTone(full);
  const Tone halfTone = MeasureTone(half);
  EXPECT_NEAR(fullTone.cycles, 44, 1);  // the video's 440 Hz tone
  EXPECT_NEAR(halfTone.cycles, 44, 1);
  EXPECT_GT(fullTone.peak, 1000);
  EXPECT_NEAR(double(halfTone.peak) / fullTone.peak, 0.5, 0.05);
}
