// The six configuration files: settings.cfg and UStats.cfg as plain bytes,
// levels.cfg, pAnim.cfg, uAnim.cfg and mainSCR.cfg with every byte raised by 2.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/content/Catalogue.h"
#include "tools/content/Content.h"

namespace {

bool WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), std::streamsize(bytes.size()));
  if (!file) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return bool(file);
}

std::string Shifted(std::string text) {
  for (char& c : text) c = char(uint8_t(c) + 2);
  return text;
}

std::string Format(const char* format, auto... values) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, values...);
  return buffer;
}

// A frame time as the four characters the readers take: "0.12" or ".045".
std::string Delay(float delay) {
  const std::string twoPlaces = Format("%.2f", double(delay));
  if (std::fabs(std::stof(twoPlaces) - delay) < 1e-6f) return twoPlaces;
  return Format(".%03d", int(std::lround(delay * 1000)));
}

// One sequence line: a key padded to six characters, ": ", start, stop and
// delay at the offsets 8, 12 and 16 that the readers take them from.
std::string Sequence(const char* key, FrameRange range) {
  return Format("%-6s: %03d %03d ", key, range.start, range.stop) + Delay(range.delay) + "\r\n";
}

// "st" + a with macron (Windows-1257 0xE2) + "v": standing.
const std::string kStand = "st\xE2v";

std::string AnimationHeader(const std::string& sheet, int drawn) {
  return "add   = " + sheet + ">\r\n" + Format("imageW: %03d\r\nimageH: %03d\r\n", drawn, drawn);
}

std::string PlayerAnimations() {
  std::string text = "ID  0\r\n" + AnimationHeader(kPlayerSheet, kPlayerDrawn);
  text += Sequence((kStand + " A").c_str(), kPlayerStandA);
  text += Sequence((kStand + " B").c_str(), kPlayerStandB);
  text += Sequence("skr  A", kPlayerRunA);
  text += Sequence("skr  B", kPlayerRunB);
  text += Sequence("lek  _", kPlayerJump);
  text += Sequence("kris _", kPlayerFall);
  text += Sequence("punch", kPlayerThrow);
  text += Sequence("actA", kPlayerThrow);
  for (const char* spare : {"actB", "actC", "actD", "actE"}) text += Sequence(spare, kPlayerStandA);
  return text;
}

std::string UnitAnimations() {
  std::string text;
  for (size_t type = 1; type < kUnitKinds.size(); ++type) {
    const UnitKind& kind = kUnitKinds[type];
    text += Format("uType: %02d\r\n", int(type)) + AnimationHeader(kind.sheet, kind.drawn);
    text += Sequence((kStand + " A").c_str(), kind.move);
    text += Sequence("skr  A", kind.move);
    text += Sequence("lek  _", kind.move);
    text += Sequence("kris _", kind.move);
    text += Sequence("punch", kind.attack);
    text += Sequence("actA", kind.attack);
    text += Sequence("actB", kind.attack);
  }
  return text;
}

// Records of 27 characters from "<": width, height, health, jumpMax,
// typeParam, fallSpeed, collides; the reader skips the names after them.
std::string UnitStats() {
  std::string text;
  for (const UnitKind& kind : kUnitKinds)
    text += Format("< %03d %03d %03d %03d 1.0 %.1f %d  %s\r\n", kind.boxWidth, kind.boxHeight,
                   kind.health, kind.jumpMax, double(kind.fallSpeed), kind.collides, kind.name);
  return text;
}

std::string MainScreenItems() {
  std::string text;
  for (const MenuItem& item : kMenuItems)
    text += Format("#%03d %03d %03d %03d %03d %03d  %s\r\n", item.left, item.top, item.right,
                   item.bottom, item.left - kMenuGlow, item.top - kMenuGlow, item.label);
  return text;
}

}  // namespace

bool BuildSettingsAndCatalogue(const std::string& contentDir, const LevelEntry& level) {
  const std::string settings{char(kStartMusic), char(kStartSound), char(kStartLight)};
  const std::string catalogue = "<" + level.file + ";" + level.dir + ">\r\n";
  return WriteBytes(OnDisk(contentDir, "settings.cfg"), settings) &&
         WriteBytes(OnDisk(contentDir, "levels.cfg"), Shifted(catalogue));
}

bool BuildConfigFiles(const std::string& contentDir, const LevelEntry& level) {
  return BuildSettingsAndCatalogue(contentDir, level) &&
         WriteBytes(OnDisk(contentDir, "pAnim.cfg"), Shifted(PlayerAnimations())) &&
         WriteBytes(OnDisk(contentDir, "uAnim.cfg"), Shifted(UnitAnimations())) &&
         WriteBytes(OnDisk(contentDir, "UStats.cfg"), UnitStats()) &&
         WriteBytes(OnDisk(contentDir, "mainSCR.cfg"), Shifted(MainScreenItems()));
}
