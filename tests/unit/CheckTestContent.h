// A small complete content folder for the checker and simulator tests: every
// file the game opens, the six configuration files and a level file built
// number by number.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <sndfile.h>

#include "tools/cli/Commands.h"
#include "tools/content/ImageFiles.h"
#include "tools/content/MediaWriter.h"

namespace checktest {

namespace fs = std::filesystem;

// A folder under the system's temporary folder, removed with the object.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "virko-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
  }
  const fs::path& path() const { return path_; }
  fs::path operator/(const std::string& name) const { return path_ / name; }

 private:
  fs::path path_;
};

inline void WriteBytes(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

// A file stored with every byte raised by 2, as the game's text files are.
inline void WriteShifted(const fs::path& file, const std::string& plain) {
  std::string stored = plain;
  for (char& c : stored) c = char(uint8_t(c) + 2);
  WriteBytes(file, stored);
}

// An uncompressed 32-bit TGA picture, bottom row first, grey pixels.
inline std::string Tga(int width, int height) {
  std::string bytes(18, '\0');
  bytes[2] = 2;
  bytes[12] = char(width & 0xFF);
  bytes[13] = char(width >> 8);
  bytes[14] = char(height & 0xFF);
  bytes[15] = char(height >> 8);
  bytes[16] = 32;
  bytes[17] = 8;
  bytes.append(size_t(width) * height * 4, char(0x80));
  return bytes;
}

struct Spot {
  int x;
  int y;
};

// A level in the game's binary format. Line lists are given as the points
// that are drawn, one polyline after another; the counts written are last
// indices, so each list also carries one unused last point, as in the
// game's own files. Empty pickup kinds and an empty block table get one
// entry far outside the level, which play never reaches.
struct TestLevel {
  int screensX = 2;
  int screensY = 1;
  std::vector<int> grid;  // column by column; empty = every screen picture 1
  std::vector<std::vector<Spot>> white;
  std::vector<std::vector<Spot>> blue;
  struct Unit {
    int x, y, type;
  };
  std::vector<Unit> units = {{200, 400, 0}};  // element 0 is the player
  std::vector<Spot> pickups[7];
  struct Block {
    int x, y, permanent, solidNow;
  };
  std::vector<Block> blocks;

  std::vector<float> Numbers() const {
    std::vector<float> n = {float(screensX), float(screensY)};
    for (int i = 0; i < screensX * screensY; ++i)
      n.push_back(grid.empty() ? 1.0f : float(grid[size_t(i)]));
    AddLineList(n, white);
    AddLineList(n, blue);
    AddLineList(n, {});
    n.push_back(float(units.size() - 1));
    for (const Unit& u : units) n.insert(n.end(), {float(u.x), float(u.y), float(u.type)});
    for (const std::vector<Spot>& kind : pickups) {
      const std::vector<Spot> items = kind.empty() ? std::vector<Spot>{{-5000, -5000}} : kind;
      n.push_back(float(items.size() - 1));
      for (const Spot& s : items) n.insert(n.end(), {float(s.x), float(s.y)});
    }
    const std::vector<Block> table = blocks.empty() ? std::vector<Block>{{-5000, -5000, 0, 0}} : blocks;
    n.push_back(float(table.size() - 1));
    for (const Block& b : table)
      n.insert(n.end(), {float(b.x), float(b.y), float(b.permanent), float(b.solidNow)});
    return n;
  }

  static void AddLineList(std::vector<float>& n, const std::vector<std::vector<Spot>>& lines) {
    std::vector<Spot> points;
    std::vector<int> breaks;
    for (const std::vector<Spot>& line : lines) {
      if (!breaks.empty()) breaks.back() = 1;  // lift the pen between polylines
      for (const Spot& p : line) {
        points.push_back(p);
        breaks.push_back(0);
      }
    }
    n.push_back(float(points.size()));
    points.push_back(points.empty() ? Spot{0, 0} : points.back());
    breaks.push_back(0);
    for (const Spot& p : points) n.insert(n.end(), {float(p.x), float(p.y)});
    for (int b : breaks) n.push_back(float(b));
  }
};

inline std::string FloatBytes(const std::vector<float>& numbers) {
  std::string bytes(numbers.size() * 4, '\0');
  std::memcpy(bytes.data(), numbers.data(), bytes.size());  // little-endian machine
  return bytes;
}

inline void WriteLevel(const fs::path& file, const TestLevel& level) {
  WriteBytes(file, FloatBytes(level.Numbers()));
}

// The player's animation set 0: every sequence the play uses, the throw
// (actA) showing frames 38 to 42, so that it ends.
inline std::string PlayerAnimText() {
  return "ID: 0\r\n"
         "addr:   DATA\\Sprites\\player.tga>\r\n"
         "imageW: 064\r\nimageH: 096\r\n"
         "st\xE2vsA: 001 005 0.05\r\n"
         "st\xE2vsB: 005 009 0.05\r\n"
         "skrieA: 009 017 0.03\r\n"
         "skrieB: 017 025 0.03\r\n"
         "lekts_: 025 029 0.05\r\n"
         "kriti_: 029 033 0.05\r\n"
         "punch_: 033 037 0.05\r\n"
         "actA__: 037 043 0.02\r\n";
}

// Unit types 1 to 6, each with a walk and an attack sequence.
inline std::string UnitAnimText() {
  std::string text;
  for (int type = 1; type <= 6; ++type) {
    text += "uType: 0" + std::to_string(type) + "\r\n";
    text += "addr:   DATA\\Sprites\\unit" + std::to_string(type) + ".tga>\r\n";
    text += "imageW: 064\r\nimageH: 064\r\n";
    text += "skrieA: 001 005 0.05\r\nactA__: 005 009 0.05\r\n";
  }
  return text;
}

// Type 0 (the player): 40 x 80, jumpMax 60. Types 1 to 6: 40 x 60, health
// 30; the fliers (3 to 5) and type 6 do not collide.
inline std::string UnitStatsText() {
  return "< 040 080 100 060 1.0 1.0 1\r\n"
         "< 040 060 030 000 0.0 1.0 1\r\n"
         "< 040 060 030 000 0.0 1.0 1\r\n"
         "< 040 060 030 000 0.0 1.0 0\r\n"
         "< 040 060 030 000 0.0 1.0 0\r\n"
         "< 040 060 030 000 0.0 1.0 0\r\n"
         "< 040 060 030 000 0.0 1.0 0\r\n";
}

// Small but real sounds, pictures and videos, so that the checker can open
// them as the game does.
inline std::vector<float> Tone(int frames) {
  std::vector<float> stereo(size_t(frames) * 2);
  for (size_t i = 0; i < stereo.size(); ++i) stereo[i] = (i / 2 % 50 < 25) ? 0.25f : -0.25f;
  return stereo;
}
inline void WriteWav(const fs::path& file) {
  fs::create_directories(file.parent_path());
  SF_INFO info{};
  info.samplerate = 44100;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* sound = sf_open(file.string().c_str(), SFM_WRITE, &info);
  const std::vector<float> samples = Tone(4410);
  sf_writef_float(sound, samples.data(), 4410);
  sf_close(sound);
}
inline void WriteMp3(const fs::path& file) {
  fs::create_directories(file.parent_path());
  MediaWriter writer;
  writer.Open(file.string(), "mp3") && writer.AddAudio(AV_CODEC_ID_MP3, 128000, Tone(11025)) &&
      writer.Begin() && writer.Finish();
}
inline void WriteWmv(const fs::path& file, AVCodecID sound = AV_CODEC_ID_WMAV2) {
  fs::create_directories(file.parent_path());
  MediaWriter writer;
  bool ok = writer.Open(file.string(), "asf") && writer.AddVideo(AV_CODEC_ID_WMV2, 32, 32, 25, 4) &&
            writer.AddAudio(sound, 64000, Tone(8820)) && writer.Begin();
  const std::vector<uint8_t> grey(32 * 32 * 3, 128);
  for (int n = 0; ok && n < 5; ++n) ok = writer.WriteVideoFrame(grey.data());
  writer.Finish();
}
inline void WriteJpg(const fs::path& file) {
  fs::create_directories(file.parent_path());
  Image image(8, 8);
  image.Fill(Hex(0x336699));
  ::WriteJpg(file.string(), image);
}

// The level of catalogue entry 0: its name in the game, and where it lies.
inline const char* const kLevelPath = "DATA\\levels\\test.vrk";
inline const char* const kLevelFile = "DATA/levels/test.vrk";

// Every file the game opens, in a folder. The level is written separately.
inline void WriteContent(const fs::path& root) {
  WriteBytes(root / "settings.cfg", std::string("\x50\x50\x32", 3));
  WriteShifted(root / "levels.cfg", "<DATA\\levels\\test.vrk;DATA\\levels\\test>\r\n");
  WriteShifted(root / "pAnim.cfg", PlayerAnimText());
  WriteShifted(root / "uAnim.cfg", UnitAnimText());
  WriteBytes(root / "UStats.cfg", UnitStatsText());
  WriteShifted(root / "mainSCR.cfg",
               "#300,200,500,240,300,200\r\n#300,250,500,290,300,250\r\n"
               "#300,300,500,340,300,300\r\n#300,350,500,390,300,350\r\n"
               "#300,400,500,440,300,400\r\n");

  std::vector<std::string> pictures = {
      "HTX/lvFont.tga", "DATA/levels/LielaisMakonis.tga", "DATA/levels/test/0.tga",
      "DATA/Message/exit_P.tga", "DATA/Message/exit_R.tga", "DATA/Message/back_P.tga",
      "DATA/Message/back_R.tga", "DATA/Message/Credit_R.tga", "DATA/Message/Credit_P.tga",
      "DATA/MainScreen/MainScreen.TGA", "DATA/MainScreen/new_game.tga",
      "DATA/MainScreen/load.tga", "DATA/MainScreen/Options.tga", "DATA/MainScreen/bonus.tga",
      "DATA/MainScreen/exit.tga", "DATA/Options/nut.tga", "DATA/Options/button_back_0.tga",
      "DATA/Options/button_back_1.tga", "DATA/onscreen/cone.tga", "DATA/onscreen/fontx1.tga",
      "DATA/onscreen/fontx2.tga", "DATA/onscreen/Nut.tga", "DATA/onscreen/RareVozazu.tga",
      "DATA/onscreen/Sem.tga", "DATA/Objects/mstone.tga", "DATA/veapons/nut.tga",
      "DATA/Statistics/butR.tga", "DATA/Statistics/butP.tga"};
  for (int i = 0; i <= 9; ++i) pictures.push_back("DATA/MainScreen/symb" + std::to_string(i) + ".tga");
  for (int k = 0; k <= 6; ++k) pictures.push_back("DATA/Items/" + std::to_string(k) + ".tga");
  for (const std::string& picture : pictures) WriteBytes(root / picture, Tga(4, 4));
  WriteBytes(root / "DATA/FX/sparkle128.tga", Tga(4, 64));
  WriteBytes(root / "DATA/Sprites/player.tga", Tga(4, 4 * 50));
  for (int type = 1; type <= 6; ++type)
    WriteBytes(root / ("DATA/Sprites/unit" + std::to_string(type) + ".tga"), Tga(4, 4 * 10));

  for (const char* sound : {"titlescreen2.mp3", "DATA/AUDIO/hev.mp3"}) WriteMp3(root / sound);
  for (const char* sound : {"DATA/AUDIO/selectB.wav", "DATA/AUDIO/ciekurs.wav",
                            "DATA/AUDIO/mest.wav", "DATA/AUDIO/sparkle2.wav"})
    WriteWav(root / sound);
  for (const char* video : {"DATA/FMV/credits.WMV", "DATA/FMV/intro.WMV"}) WriteWmv(root / video);
  std::vector<std::string> photos = {
      "DATA/Message/exit.jpg", "DATA/Message/load.jpg", "DATA/Message/bonus.jpg",
      "DATA/intro/kesmar.jpg", "DATA/intro/LUMO.jpg", "DATA/Options/title.jpg",
      "DATA/Options/trackbar.jpg", "DATA/LoadTitle/l1_LoadTitle.jpg", "DATA/levels/d01.JPG",
      "DATA/Statistics/Stat_title.jpg"};
  for (int i = 0; i <= 5; ++i) photos.push_back("DATA/MainScreen/b0" + std::to_string(i) + ".jpg");
  for (const std::string& photo : photos) WriteJpg(root / photo);
}

// A level standing on one white ground line across two screens, with a
// walker far to the right.
inline TestLevel GroundLevel() {
  TestLevel level;
  level.white = {{{0, 500}, {1600, 500}}};
  level.units = {{200, 400, 0}, {1300, 440, 1}};
  return level;
}

struct ToolRun {
  int status;
  std::string out;
};

// Runs one of the tools' Run functions with its report captured.
inline ToolRun RunTool(int (*run)(const Args&, FILE*), const Args& args) {
  char* buffer = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&buffer, &size);
  const int status = run(args, out);
  std::fclose(out);
  ToolRun result{status, std::string(buffer, size)};
  std::free(buffer);
  return result;
}

}  // namespace checktest
