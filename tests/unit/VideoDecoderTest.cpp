// The video module's pictures against FFmpeg's own: clips made by the ffmpeg
// command at test time, their first picture converted by the module and by
// the command, compared pixel by pixel. The widths are those the converters
// handle in pieces (not whole multiples of 16 pixels).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/VideoDecoder.h"

namespace fs = std::filesystem;

namespace {

// A folder of this process's own, removed when the process ends.
fs::path TestFolder() {
  struct Folder {
    fs::path path = fs::temp_directory_path() / ("virko-decoder-" + std::to_string(getpid()));
    Folder() { fs::create_directories(path); }
    ~Folder() {
      std::error_code ignored;
      fs::remove_all(path, ignored);
    }
  };
  static const Folder folder;
  return folder.path;
}

bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }

// A second of FFmpeg's test pattern as WMV2 in ASF at a fine quantiser, so
// that the picture decoded is close to the pattern. Empty when the command
// fails.
std::string MakeClip(int width, int height) {
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  const fs::path file = TestFolder() / ("clip-" + size + ".wmv");
  if (fs::exists(file)) return file.string();
  return Run("ffmpeg -v error -y -f lavfi -i testsrc=size=" + size +
             ":rate=25:duration=1 -c:v wmv2 -q:v 2 -f asf " + Quote(file))
             ? file.string()
             : std::string();
}

// The clip's first picture as the ffmpeg command converts it to RGBA at the
// given size; empty when the command fails.
std::vector<uint8_t> FfmpegFirstPicture(const std::string& clip, int width, int height) {
  const fs::path raw = TestFolder() / "reference.rgba";
  const std::string scale = "scale=" + std::to_string(width) + ":" + std::to_string(height);
  if (!Run("ffmpeg -v error -y -i " + Quote(clip) + " -frames:v 1 -sws_flags bilinear -vf " +
           scale + " -f rawvideo -pix_fmt rgba " + Quote(raw)))
    return {};
  std::ifstream in(raw, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Bytes after the picture in the buffer handed to the decoder; the decoder
// must leave them alone.
constexpr size_t kGuardBytes = 256;
constexpr uint8_t kGuard = 0xA5;

struct Converted {
  bool ok = false;
  std::vector<uint8_t> rgba;  // the picture, then the guard bytes
};

// The clip's first picture converted by the video module to width x height,
// into a black buffer (as the media player's starts) with the guard bytes
// after it.
Converted ModuleFirstPicture(const std::string& clip, int width, int height) {
  Converted result;
  std::string error;
  VideoDecoderPtr decoder = LoadVideoDecoder(error);
  EXPECT_TRUE(decoder) << error;
  if (!decoder) return result;
  EXPECT_TRUE(decoder->Open(clip, error)) << error;
  int64_t timeMs = 0;
  if (decoder->DecodeNext(4096, timeMs) != cVideoDecoder::Picture::decoded) return result;
  decoder->ShowNext();
  const size_t bytes = size_t(width) * height * 4;
  result.rgba.assign(bytes + kGuardBytes, kGuard);
  std::fill_n(result.rgba.begin(), bytes, 0);
  result.ok = decoder->ConvertShown(width, height, result.rgba.data());
  return result;
}

bool IsBlack(const uint8_t* pixel) { return pixel[0] + pixel[1] + pixel[2] < 24; }

// Per channel: the command and the module may convert with other roundings.
constexpr int kTolerance = 6;

// Compares the module's picture with the reference: every channel of every
// pixel within the tolerance, the guard bytes untouched, and no column black
// where the reference is not.
void ExpectSamePicture(const Converted& got, const std::vector<uint8_t>& reference, int width,
                       int height) {
  ASSERT_TRUE(got.ok);
  const size_t bytes = size_t(width) * height * 4;
  ASSERT_EQ(reference.size(), bytes) << "the ffmpeg command's picture";

  const size_t guardsTouched = size_t(std::count_if(
      got.rgba.begin() + bytes, got.rgba.end(), [](uint8_t b) { return b != kGuard; }));
  EXPECT_EQ(guardsTouched, 0u) << "written past the picture";

  int worst = 0, worstX = 0, worstY = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const size_t at = (size_t(y) * width + x) * 4;
      for (int c = 0; c < 4; ++c) {
        const int difference = std::abs(int(got.rgba[at + c]) - int(reference[at + c]));
        if (difference > worst) {
          worst = difference;
          worstX = x;
          worstY = y;
        }
      }
    }
  }
  EXPECT_LE(worst, kTolerance) << "worst at " << worstX << ", " << worstY;

  // The right edge on its own: a column left unconverted is black.
  for (int x = width - 8; x < width; ++x) {
    int blackOnlyHere = 0;
    for (int y = 0; y < height; ++y) {
      const size_t at = (size_t(y) * width + x) * 4;
      if (IsBlack(&got.rgba[at]) && !IsBlack(&reference[at])) ++blackOnlyHere;
    }
    EXPECT_EQ(blackOnlyHere, 0) << "column " << x << " of " << width;
  }
}

struct Size {
  int width, height;
};

std::string SizeName(const testing::TestParamInfo<Size>& info) {
  return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
}

class VideoDecoderPicture : public testing::TestWithParam<Size> {
 protected:
  void SetUp() override {
    clip = MakeClip(GetParam().width, GetParam().height);
    if (clip.empty()) GTEST_SKIP() << "the ffmpeg command is needed to make the test clips";
  }
  std::string clip;
};

}  // namespace

// Shown as it is stored: a converter that works in blocks of pixels must
// neither write past the picture nor leave the last columns out.
TEST_P(VideoDecoderPicture, AtItsOwnSizeMatchesFfmpeg) {
  const auto [width, height] = GetParam();
  ExpectSamePicture(ModuleFirstPicture(clip, width, height),
                    FfmpegFirstPicture(clip, width, height), width, height);
}

// Shrunk to a place whose width is no multiple of 16 either, as a picture
// larger than the video rectangle is.
TEST_P(VideoDecoderPicture, ShrunkMatchesFfmpeg) {
  const int width = (GetParam().width * 3 / 4 & ~3) + 2;  // even, and no multiple of 4
  const int height = GetParam().height * 3 / 4;
  ExpectSamePicture(ModuleFirstPicture(clip, width, height),
                    FfmpegFirstPicture(clip, width, height), width, height);
}

// Widths 2 to 14 pixels past a multiple of 16, and one multiple of 16.
INSTANTIATE_TEST_SUITE_P(Widths, VideoDecoderPicture,
                         testing::Values(Size{322, 242}, Size{326, 244}, Size{600, 450},
                                         Size{106, 80}, Size{426, 240}, Size{110, 82},
                                         Size{320, 240}),
                         SizeName);
