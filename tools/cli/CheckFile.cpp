// check-file KIND PATH: one file through its reader alone, reporting the
// table it fills or why it was refused.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "audio/AudioDecoder.h"
#include "data/AnimTables.h"
#include "data/LevelFile.h"
#include "data/MainScreenConfig.h"
#include "data/Settings.h"
#include "data/TgaSize.h"
#include "data/UnitStats.h"
#include "game/Anim.h"
#include "gfx/ImageDecode.h"
#include "gfx/Texture.h"
#include "platform/Files.h"
#include "tools/cli/Checks.h"
#include "tools/cli/MediaChecks.h"
#include "tools/cli/ReaderSession.h"
#include "tools/cli/Report.h"
#include "tools/cli/TableReport.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kHelp = R"(usage: virko-tool check-file KIND PATH [--json]

Reads the one file PATH with the game's reader for KIND and prints the table
it fills, or why it was refused:

  settings  settings.cfg   musicVolume, soundVolume, lightLevel
  levels    levels.cfg     levelFile, levelDir (catalogue entries 0 to 15)
  panim     pAnim.cfg      playerAnims (animation sets 0 to 5)
  uanim     uAnim.cfg      unitTypes (the anim of types 0 to 6)
  ustats    UStats.cfg     unitTypes (sizes, health, jumpMax, typeParam,
                           fallSpeed, collides of types 0 to 6)
  mainscr   mainSCR.cfg    items (left, top, right, bottom, drawX, drawY of
                           menu items 0 to 9)
  level     a level file   screensX, screensY, screenGrid, the line lists A,
                           B and C, units, pickupKinds, blocks (each list
                           from entry 0 to its count: counts are last indices)
  tga       a TGA picture  width and height from its 18-byte header; the
                           picture is then decoded as the game loads it
  sheet     a sprite sheet the same, the picture then cut into square
                           frames as the game loads a sprite's sheet
  jpg       a JPG picture  decoded as the game loads it
  sound     a WAV or MP3   decoded to its end: channels, rate, frames and
                           milliseconds as the game plays them
  video     a WMV video    played to its end, sound included, by the game's
                           media player on a clock stepped 10 ms a frame:
                           pictures decoded, the clock at the last one
                           (lastPictureMs) and at the end the player
                           reported (endedMs, -1 if it never ended); what
                           the player told of a video it played but not as
                           made (sound left out, times that jump, a
                           header's length far from the end) makes it not
                           clean

A picture that is read is reported by its decoded pixels' digest (pixels:
two files with the same digest hold the same picture). A picture with a
side (of a sheet: a frame's side) above 4096 is shown shrunk by a renderer
that holds no more; the check assumes that limit of every renderer and
counts it as a problem.

The file may have any name: it is read as if it were the file the game
looks for. pAnim.cfg and uAnim.cfg are read as the first file of their
reader, so nothing of an earlier file shows through.

Besides the table it prints every message box the reader would show
(messages), what it wrote on the terminal (warnings), and, when the file was
refused, the reason (refused).

Options:
  --json   print one JSON object instead of text; reals read back to the
           same 32-bit value, text is UTF-8 (the files are Windows-1257)
  --help   print this text

Exit status: 0 when the file was read without a message; 1 when it was
refused, a message was shown or it would not play as made; 2 when the
arguments are wrong.
)";

// A configuration file: the name its reader looks for, the reader, and the
// table it fills.
struct ConfigKind {
  const char* kind;
  const char* fileName;
  void (*read)();
  void (*report)(ReportValue&);
};

void ReadSettings() { gameSettings.LoadSettings(); }

constexpr ConfigKind kConfigKinds[] = {
    {"settings", "settings.cfg", ReadSettings, AddSettings},
    {"levels", "levels.cfg", LoadLevelAndAnimTables, AddCatalogue},
    {"panim", "pAnim.cfg", LoadLevelAndAnimTables, AddPlayerAnims},
    {"uanim", "uAnim.cfg", LoadLevelAndAnimTables, AddUnitTypes},
    {"ustats", "UStats.cfg", LoadUnitStats, AddUnitTypes},
    {"mainscr", "mainSCR.cfg", LoadMainScreenConfig, AddMenuItems},
};

// The three files of LoadLevelAndAnimTables, read one after the other.
constexpr const char* kCatalogueAndAnimFiles[] = {"levels.cfg", "pAnim.cfg", "uAnim.cfg"};

// A folder of its own under the system's temporary folder, removed on exit.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "virko-check-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code error;
    if (!path_.empty()) fs::remove_all(path_, error);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

void AddMessages(ReportValue& report, const ReaderSession& session) {
  ReportValue messages = ReportValue::Array();
  for (const GameMessage& message : session.messages()) {
    ReportValue& entry = messages.Add(ReportValue::Object());
    entry.Add("caption", ReportValue::GameText(message.caption));
    entry.Add("text", ReportValue::GameText(message.text));
  }
  report.Add("messages", std::move(messages));
  ReportValue warnings = ReportValue::Array();
  for (const std::string& line : session.warnings()) warnings.Add(ReportValue::GameText(line));
  report.Add("warnings", std::move(warnings));
}

// The first message's text is the reason a configuration file was refused.
std::optional<std::string> RefusalOf(const ReaderSession& session) {
  if (session.messages().empty()) return std::nullopt;
  return session.messages().front().text;
}

// Copies the file under the reader's name into an empty folder (a missing
// file stays missing, so the reader reports it) and reads it there.
std::optional<std::string> CheckConfigFile(const ConfigKind& kind, const std::string& path,
                                           ReportValue& report) {
  ScratchFolder scratch;
  if (scratch.path().empty()) return "no temporary folder to read it in";
  if (kind.read == LoadLevelAndAnimTables) {
    // The other two files of the reader are there but empty: they hold no
    // entries and leave nothing in the shared buffer.
    for (const char* name : kCatalogueAndAnimFiles) {
      if (std::string_view(name) != kind.fileName) std::ofstream empty(scratch.path() / name);
    }
  }
  std::error_code error;
  if (fs::is_regular_file(path, error))
    fs::copy_file(path, scratch.path() / kind.fileName, fs::copy_options::overwrite_existing, error);

  ReaderSession session(scratch.path());
  session.Run(kind.read);
  kind.report(report);
  AddMessages(report, session);
  return RefusalOf(session);
}

std::optional<std::string> CheckLevelFile(const std::string& path, ReportValue& report) {
  ReaderSession session(fs::current_path());
  bool read = false;
  session.Run([&] { read = LoadLevelFile(path); });
  // A refused level leaves the game state as it was: it filled nothing.
  if (read) AddLevel(report);
  AddMessages(report, session);
  if (read) return RefusalOf(session);
  return session.messages().empty() ? std::string("refused") : session.messages().front().text;
}

// FNV-1a over the size and the RGBA bytes, as 16 hex digits.
std::string PixelDigest(const tImage& image) {
  uint64_t hash = 0xCBF29CE484222325u;
  auto add = [&](uint8_t byte) { hash = (hash ^ byte) * 0x100000001B3u; };
  for (int side : {image.width, image.height})
    for (int shift = 0; shift < 32; shift += 8) add(uint8_t(side >> shift));
  for (uint8_t byte : image.rgba) add(byte);
  char digits[17];
  std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
  return digits;
}

// The picture loaded as the game loads it (without drawing it): the first
// message it shows is the refusal, and failing that the first line it
// writes (a picture shown shrunk). A picture read is reported by its digest.
enum class PictureKind { tga, sheet, jpg };

std::optional<std::string> LoadPicture(const std::string& path, PictureKind kind,
                                       ReportValue& report) {
  const bool jpg = kind == PictureKind::jpg;
  ReaderSession session(fs::current_path());
  session.Run([&] {
    TextureName texture = 0;
    if (kind == PictureKind::sheet)
      cAnim{}.LoadSheet(path);
    else
      jpg ? LoadJPG(path, texture) : LoadTGA(path, texture);
  });
  AddMessages(report, session);
  if (const std::optional<std::string> refused = RefusalOf(session)) return refused;
  const std::optional<std::vector<uint8_t>> file = ReadPictureFile(path);
  tImage image;
  if (file && (jpg ? DecodeJpg(*file, image) : DecodeTga(*file, image) == TgaStatus::ok))
    report.Add("pixels", ReportValue::Text(PixelDigest(image)));
  if (session.warnings().empty()) return std::nullopt;
  return session.warnings().front();
}

std::optional<std::string> CheckTga(const std::string& path, PictureKind kind,
                                    ReportValue& report) {
  const std::optional<uint16_t> width = TgaWidth(path);
  const std::optional<uint16_t> height = TgaHeight(path);
  if (!width || !height) return FileExists(path) ? "shorter than its 18-byte header" : "missing";
  report.Add("width", ReportValue::Integer(*width));
  report.Add("height", ReportValue::Integer(*height));
  return LoadPicture(path, kind, report);
}

std::optional<std::string> CheckSound(const std::string& path, ReportValue& report) {
  AudioDecoder decoder;
  if (decoder.Open(path)) {
    report.Add("channels", ReportValue::Integer(decoder.Channels()));
    report.Add("rate", ReportValue::Integer(decoder.Rate()));
  }
  int64_t frames = 0;
  const std::optional<std::string> problem = SoundProblem(path, &frames);
  report.Add("frames", ReportValue::Integer(frames));
  if (decoder.Rate() > 0) report.Add("ms", ReportValue::Integer(frames * 1000 / decoder.Rate()));
  return FileExists(path) ? problem : "missing";
}

// A video the game could not play shows a message; one it played other
// than as made is told in the lines it wrote.
std::optional<std::string> CheckVideo(const std::string& path, ReportValue& report) {
  ReaderSession session(fs::current_path());
  VideoPlay play;
  session.Run([&] { play = PlayVideoToEnd(path); });
  report.Add("pictures", ReportValue::Integer(play.pictures));
  report.Add("lastPictureMs", ReportValue::Integer(play.lastPictureMs));
  report.Add("endedMs", ReportValue::Integer(play.endedMs));
  AddMessages(report, session);
  if (!session.messages().empty()) return session.messages().front().text;
  if (!session.warnings().empty()) return session.warnings().front();
  if (play.endedMs < 0) return std::string("never ends");
  return std::nullopt;
}

}  // namespace

int RunCheckFile(const Args& args, FILE* out) {
  std::vector<std::string> positional;
  bool json = false;
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::fputs(kHelp, out);
      return 0;
    }
    if (arg == "--json") {
      json = true;
    } else if (!arg.starts_with("-") || arg == "-") {
      positional.push_back(arg);
    } else {
      std::fprintf(stderr, "virko-tool check-file: unknown option '%s'\n%s", arg.c_str(), kHelp);
      return 2;
    }
  }
  if (positional.size() != 2) {
    std::fprintf(stderr, "virko-tool check-file: expected KIND and PATH\n%s", kHelp);
    return 2;
  }
  const std::string& kind = positional[0];
  const std::string& path = positional[1];

  ReportValue report = ReportValue::Object();
  report.Add("kind", ReportValue::Text(kind));
  report.Add("file", ReportValue::Text(path));
  std::optional<std::string> refused;
  if (kind == "level") {
    refused = CheckLevelFile(path, report);
  } else if (kind == "tga" || kind == "sheet") {
    refused = CheckTga(path, kind == "tga" ? PictureKind::tga : PictureKind::sheet, report);
  } else if (kind == "jpg") {
    refused = FileExists(path) ? LoadPicture(path, PictureKind::jpg, report) : "missing";
  } else if (kind == "sound") {
    refused = CheckSound(path, report);
  } else if (kind == "video") {
    refused = CheckVideo(path, report);
  } else {
    const ConfigKind* config = nullptr;
    for (const ConfigKind& candidate : kConfigKinds)
      if (kind == candidate.kind) config = &candidate;
    if (!config) {
      std::fprintf(stderr, "virko-tool check-file: unknown kind '%s'\n%s", kind.c_str(), kHelp);
      return 2;
    }
    refused = CheckConfigFile(*config, path, report);
  }
  if (refused) report.Add("refused", ReportValue::GameText(*refused));

  if (json) {
    std::fputs(ToJson(report).c_str(), out);
  } else {
    std::fputs(ToText(report).c_str(), out);
    std::fputs(refused ? "not clean: the file was refused, a message was shown or it would not "
                         "play as made\n"
                       : "clean: read without a message\n",
               out);
  }
  return refused ? 1 : 0;
}

int CheckFileCommand(const Args& args) { return RunCheckFile(args, stdout); }
