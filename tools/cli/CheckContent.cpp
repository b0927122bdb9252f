// check-content DIR: reads a content folder the way the game does when it
// starts and loads its level, opens every file it would open, and reports
// every table, every message box, every missing file and every sound that
// would play as silence.
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/GameState.h"
#include "app/Startup.h"
#include "data/AnimTables.h"
#include "data/LevelFile.h"
#include "data/LevelLoader.h"
#include "game/Anim.h"
#include "game/Units.h"
#include "gfx/Texture.h"
#include "platform/Files.h"
#include "tools/cli/Checks.h"
#include "tools/cli/MediaChecks.h"
#include "tools/cli/ReaderSession.h"
#include "tools/cli/Report.h"
#include "tools/cli/TableReport.h"

namespace {

// The one sprite sheet of fixed name: loaded as frames, as the others.
constexpr const char* kSparkleSheet = "DATA\\FX\\sparkle128.tga";

constexpr const char* kHelp = R"(usage: virko-tool check-content DIR [--json]

Reads the content folder DIR (the folder the game is started in) exactly as
the game does, with the game's own readers and in the game's order:
settings.cfg, levels.cfg, pAnim.cfg, uAnim.cfg, UStats.cfg, mainSCR.cfg, then
the level file of catalogue entry 0, which is then set up as the level loader
does (units, camera, collision map).

It prints:
  - every table the readers filled, under the names the game uses
    (musicVolume ... lightLevel, levelFile, levelDir, playerAnims, unitTypes,
    items, then the level: screensX ... blocks); counts in a level are last
    indices, so a list with count N shows entries 0 to N;
  - messages: every message box the game would show, caption and text;
  - warnings: what the readers wrote on the terminal, such as entries beyond
    a table that were ignored;
  - missing: every file the game asks for that is not there (names are
    matched without regard to case, as the game does): configuration files,
    pictures, sounds, videos, the level file, the level's screen pictures
    and the sprite sheets of the player and of the unit types the level uses
    (an empty name "" means the table names no file where the game needs one);
  - every file that is there is then opened as the game opens it: pictures
    decoded by the game's own loaders and videos played to their end, sound
    included, by its media player on a stepped clock, so that their
    refusals are among the messages; sounds decoded to their first frames;
  - unplayableSounds: sounds the game would play as silence (it says
    nothing about them), each with the reason;
  - videoProblems: what the media player told of videos it could play but
    not as made: sound it leaves out, times that jump, a header's length
    far from the real end.

Options:
  --json   print one JSON object instead of text; reals read back to the
           same 32-bit value, text is UTF-8 (the files are Windows-1257)
  --help   print this text

Exit status: 0 when the game would start, load its level and open every
file without a message, no file is missing and every sound and video
plays as made; 1
otherwise; 2 when the arguments are wrong.
)";

// Files the game opens by fixed names, in the order a run meets them:
// start-up, splash, main menu and its screens, options, intro video, level
// loading, statistics.
std::vector<std::string> FixedFiles() {
  std::vector<std::string> files = {
      "settings.cfg", "levels.cfg", "pAnim.cfg", "uAnim.cfg", "UStats.cfg", "mainSCR.cfg",
      "HTX\\lvFont.tga", "DATA\\levels\\LielaisMakonis.tga", "DATA\\AUDIO\\hev.mp3",
      "DATA\\Message\\exit_P.tga", "DATA\\Message\\exit_R.tga", "DATA\\Message\\back_P.tga",
      "DATA\\Message\\back_R.tga", "DATA\\Message\\exit.jpg", "DATA\\intro\\kesmar.jpg",
      "DATA\\intro\\LUMO.jpg", "titlescreen2.mp3", "DATA\\AUDIO\\selectB.wav",
      "DATA\\MainScreen\\MainScreen.TGA"};
  for (int i = 0; i <= 5; ++i) files.push_back("DATA\\MainScreen\\b0" + std::to_string(i) + ".jpg");
  for (int i = 0; i <= 9; ++i) files.push_back("DATA\\MainScreen\\symb" + std::to_string(i) + ".tga");
  for (const char* file :
       {"DATA\\MainScreen\\new_game.tga", "DATA\\MainScreen\\load.tga",
        "DATA\\MainScreen\\Options.tga", "DATA\\MainScreen\\bonus.tga",
        "DATA\\MainScreen\\exit.tga", "DATA\\Message\\Credit_R.tga",
        "DATA\\Message\\Credit_P.tga", "DATA\\Message\\load.jpg", "DATA\\Message\\bonus.jpg",
        "DATA\\FMV\\credits.WMV", "DATA\\Options\\title.jpg", "DATA\\Options\\trackbar.jpg",
        "DATA\\Options\\nut.tga", "DATA\\Options\\button_back_0.tga",
        "DATA\\Options\\button_back_1.tga", "DATA\\FMV\\intro.WMV",
        "DATA\\LoadTitle\\l1_LoadTitle.jpg", "DATA\\levels\\d01.JPG"})
    files.push_back(file);
  for (int k = 0; k <= 6; ++k) files.push_back("DATA\\Items\\" + std::to_string(k) + ".tga");
  for (const char* file :
       {"DATA\\onscreen\\cone.tga", "DATA\\onscreen\\fontx1.tga", "DATA\\onscreen\\fontx2.tga",
        "DATA\\onscreen\\Nut.tga", "DATA\\onscreen\\RareVozazu.tga", "DATA\\onscreen\\Sem.tga",
        "DATA\\Objects\\mstone.tga", "DATA\\veapons\\nut.tga", kSparkleSheet,
        "DATA\\AUDIO\\ciekurs.wav", "DATA\\AUDIO\\mest.wav", "DATA\\AUDIO\\sparkle2.wav",
        "DATA\\Statistics\\Stat_title.jpg", "DATA\\Statistics\\butR.tga",
        "DATA\\Statistics\\butP.tga"})
    files.push_back(file);
  return files;
}

// The files the level of catalogue entry 0 asks for: the level file, the
// screen pictures the loader loads or the grid refers to, the sprite sheets.
std::vector<std::string> LevelFiles(bool levelRead) {
  std::vector<std::string> files = {game.levelFile[0]};
  const std::string& folder = game.levelDir[0];
  const int32_t pictureCount = CountFiles(folder, "*.tga");
  std::set<int> slots;
  for (int v = 1; v <= std::min(pictureCount, 99); ++v) slots.insert(v);
  if (levelRead) {
    for (int c = 0; c < std::min<int>(game.screensX, kGridColumns); ++c)
      for (int r = 0; r < std::min<int>(game.screensY, kGridRows); ++r)
        if (game.screenGrid[c][r] != 0) slots.insert(game.screenGrid[c][r]);
  }
  for (int v : slots) files.push_back(folder + "\\" + std::to_string(v - 1) + ".tga");

  files.push_back(playerAnims[0].fileName);
  if (levelRead) {
    std::set<int> types;
    for (int i = 1; i <= std::min<int>(game.unitCount, kMaxUnits); ++i)
      types.insert(units[i].unitType);
    for (int type : types)
      if (type < kUnitTypes) files.push_back(unitTypes[type].anim.fileName);
  }
  return files;
}

bool HasExtension(const std::string& name, const char* extension) {
  const size_t length = std::strlen(extension);
  return name.size() >= length &&
         strcasecmp(name.c_str() + name.size() - length, extension) == 0;
}

// The files of the list that are not there, each once.
std::vector<std::string> MissingFiles(const std::vector<std::string>& files) {
  std::vector<std::string> missing;
  std::set<std::string> seen;
  for (const std::string& file : files) {
    if (seen.insert(file).second && !FileExists(file)) missing.push_back(file);
  }
  return missing;
}

// Opens every file of the list that is there as the game opens it, in the
// session (so that refusals are collected as the game's messages), except
// the sprite sheets already loaded when the level was set up. Collects the
// sounds that would play as silence, as "file: reason", and the lines the
// videos' play wrote (sound left out, damage got past).
struct OpenedFiles {
  std::vector<std::string> unplayable;
  std::vector<std::string> videoProblems;
};

OpenedFiles OpenAsTheGameDoes(const std::vector<std::string>& files,
                              const std::set<std::string>& loadedSheets, ReaderSession& session) {
  OpenedFiles opened;
  std::set<std::string> seen;
  for (const std::string& file : files) {
    if (!seen.insert(file).second || loadedSheets.count(file) || !FileExists(file)) continue;
    if (file == kSparkleSheet || file == playerAnims[0].fileName) {
      session.Run([&] { cAnim{}.LoadSheet(file); });
    } else if (HasExtension(file, ".tga")) {
      session.Run([&] {
        TextureName texture = 0;
        LoadTGA(file, texture);
      });
    } else if (HasExtension(file, ".jpg")) {
      session.Run([&] {
        TextureName texture = 0;
        LoadJPG(file, texture);
      });
    } else if (HasExtension(file, ".wmv")) {
      const size_t linesBefore = session.warnings().size();
      const size_t messagesBefore = session.messages().size();
      session.Run([&] { PlayVideoToEnd(file); });
      // A video that cannot be played at all is among the messages already.
      const std::vector<std::string>& lines = session.warnings();
      if (session.messages().size() == messagesBefore)
        opened.videoProblems.insert(opened.videoProblems.end(), lines.begin() + long(linesBefore),
                                    lines.end());
    } else if (HasExtension(file, ".wav") || HasExtension(file, ".mp3")) {
      if (const std::optional<std::string> problem = SoundProblem(file))
        opened.unplayable.push_back(file + ": " + *problem);
    }
  }
  return opened;
}

ReportValue TextList(const std::vector<std::string>& gameTexts) {
  ReportValue list = ReportValue::Array();
  for (const std::string& text : gameTexts) list.Add(ReportValue::GameText(text));
  return list;
}

std::string Verdict(size_t messages, size_t missing, size_t unplayable, size_t videoProblems) {
  if (messages + missing + unplayable + videoProblems == 0)
    return "clean: the game would start, load its level and open every file without a message\n";
  return "not clean: " + std::to_string(messages) + " message(s), " + std::to_string(missing) +
         " missing file(s), " + std::to_string(unplayable) + " unplayable sound(s), " +
         std::to_string(videoProblems) + " video problem(s)\n";
}

}  // namespace

int RunCheckContent(const Args& args, FILE* out) {
  std::string folder;
  bool json = false;
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::fputs(kHelp, out);
      return 0;
    }
    if (arg == "--json") {
      json = true;
    } else if (folder.empty() && !arg.starts_with("-")) {
      folder = arg;
    } else {
      std::fprintf(stderr, "virko-tool check-content: unexpected argument '%s'\n%s",
                   arg.c_str(), kHelp);
      return 2;
    }
  }
  if (folder.empty()) {
    std::fprintf(stderr, "virko-tool check-content: no folder given\n%s", kHelp);
    return 2;
  }
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) {
    std::fprintf(stderr, "virko-tool check-content: '%s' is not a folder\n", folder.c_str());
    return 2;
  }

  ReaderSession session(folder);
  if (!session.entered()) {
    std::fprintf(stderr, "virko-tool check-content: cannot enter '%s'\n", folder.c_str());
    return 2;
  }
  ReportValue report = ReportValue::Object();
  session.Run(ReadConfigurationFiles);
  AddSettings(report);
  AddCatalogue(report);
  AddPlayerAnims(report);
  AddUnitTypes(report);
  AddMenuItems(report);

  // The tables as the level file's reader leaves them; the loader then
  // clears every block's solidNow, so they are taken before it runs.
  bool levelRead = false;
  session.Run([&] { levelRead = LoadLevelFile(game.levelFile[0]); });
  if (levelRead) {
    AddLevel(report);
    session.Run([] { LoadLevelState(0); });
  }

  std::vector<std::string> files = FixedFiles();
  for (std::string& file : LevelFiles(levelRead)) files.push_back(std::move(file));
  const std::vector<std::string> missing = MissingFiles(files);
  // The level's set-up loaded the sprite sheets of its units and player.
  std::set<std::string> loadedSheets;
  if (levelRead) {
    loadedSheets.insert(playerAnims[0].fileName);
    for (int i = 1; i <= std::min<int>(game.unitCount, kMaxUnits); ++i)
      if (units[i].unitType < kUnitTypes) loadedSheets.insert(unitTypes[units[i].unitType].anim.fileName);
  }
  const OpenedFiles opened = OpenAsTheGameDoes(files, loadedSheets, session);

  ReportValue messages = ReportValue::Array();
  for (const GameMessage& message : session.messages()) {
    ReportValue& entry = messages.Add(ReportValue::Object());
    entry.Add("caption", ReportValue::GameText(message.caption));
    entry.Add("text", ReportValue::GameText(message.text));
  }
  report.Add("messages", std::move(messages));
  report.Add("warnings", TextList(session.warnings()));
  report.Add("missing", TextList(missing));
  report.Add("unplayableSounds", TextList(opened.unplayable));
  report.Add("videoProblems", TextList(opened.videoProblems));
  const bool clean = session.messages().empty() && missing.empty() && opened.unplayable.empty() &&
                     opened.videoProblems.empty();
  report.Add("clean", ReportValue::Boolean(clean));

  if (json) {
    std::fputs(ToJson(report).c_str(), out);
  } else {
    std::fputs(ToText(report).c_str(), out);
    std::fputs(Verdict(session.messages().size(), missing.size(), opened.unplayable.size(),
                       opened.videoProblems.size())
                   .c_str(),
               out);
  }
  return clean ? 0 : 1;
}

int CheckContentCommand(const Args& args) { return RunCheckContent(args, stdout); }
