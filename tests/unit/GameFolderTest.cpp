// Where the game's files are found and where the player's own files go: the
// choice of the game folder, the player's folders, their files over the
// installed ones, settings and the display choice kept in the config folder.
#include "app/GameFolder.h"

#include <cstdlib>
#include <filesystem>

#include "DataTestFolder.h"
#include "app/DisplayChoice.h"
#include "data/LevelLoader.h"
#include "gfx/Texture.h"
#include "tests/unit/GfxPictureFiles.h"
#include "platform/PlayerFolders.h"

namespace fs = std::filesystem;

namespace {

// Sets an environment variable (nullptr: unsets it) for one test.
class cScopedVariable {
 public:
  cScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~cScopedVariable() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class GameFolders : public DataFolderTest {
 protected:
  void TearDown() override {
    SetOverlayFolder("");
    KeepDisplayChoiceIn("");
    DataFolderTest::TearDown();
  }
  static void Make(const fs::path& file, const std::string& text = "x") {
    fs::create_directories(file.parent_path());
    WritePlain(file.string(), text);
  }
  static std::string Text(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
  }
  std::string CapturedLine() {
    const std::string text = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    return text;
  }
};

}  // namespace

TEST_F(GameFolders, ChosenByOptionThenCurrentFolderThenInstalledThenBuildTree) {
  std::string error;
  Make("given/levels.cfg");
  Make("installed/share/virko/levels.cfg");
  Make("built/content/LEVELS.CFG");
  fs::create_directories("installed/bin");
  fs::create_directories("elsewhere");
  const std::string program = folder + "/installed/bin";

  std::optional<tGameFolder> chosen = ChooseGameFolder("given", program, error);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->path, "given");
  EXPECT_FALSE(chosen->installed);

  EXPECT_FALSE(ChooseGameFolder("elsewhere", program, error));
  EXPECT_EQ(error, "elsewhere holds no levels.cfg: it is not a game folder");

  fs::current_path("elsewhere");
  chosen = ChooseGameFolder(std::nullopt, program, error);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->path, folder + "/installed/share/virko");
  EXPECT_TRUE(chosen->installed);

  chosen = ChooseGameFolder(std::nullopt, folder + "/built", error);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->path, folder + "/built/content");
  EXPECT_TRUE(chosen->installed);

  EXPECT_FALSE(ChooseGameFolder(std::nullopt, folder + "/elsewhere", error));
  EXPECT_NE(error.find(folder + "/share/virko"), std::string::npos) << error;

  fs::current_path("../given");  // a modder's folder wins over the installed game
  chosen = ChooseGameFolder(std::nullopt, program, error);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->path, ".");
  EXPECT_FALSE(chosen->installed);

  // The installed folder given by name, or the current folder, is still the
  // package's: the player's folders are used, nothing is written into it.
  chosen = ChooseGameFolder(folder + "/installed/bin/../share/virko", program, error);
  ASSERT_TRUE(chosen);
  EXPECT_TRUE(chosen->installed);
  fs::current_path(folder + "/installed/share/virko");
  chosen = ChooseGameFolder(std::nullopt, program, error);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->path, ".");
  EXPECT_TRUE(chosen->installed);
}

TEST_F(GameFolders, PlayerFoldersFollowTheXdgRules) {
  cScopedVariable home("HOME", "/home/player");
  {
    cScopedVariable config("XDG_CONFIG_HOME", nullptr), data("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(PlayerConfigFolder(), "/home/player/.config/virko");
    EXPECT_EQ(PlayerDataFolder(), "/home/player/.local/share/virko");
  }
  {
    cScopedVariable config("XDG_CONFIG_HOME", "/cfg"), data("XDG_DATA_HOME", "relative/is/ignored");
    EXPECT_EQ(PlayerConfigFolder(), "/cfg/virko");
    EXPECT_EQ(PlayerDataFolder(), "/home/player/.local/share/virko");
  }
  cScopedVariable noHome("HOME", nullptr), config("XDG_CONFIG_HOME", nullptr),
      data("XDG_DATA_HOME", nullptr);
  EXPECT_EQ(PlayerConfigFolder(), "");
  EXPECT_EQ(PlayerDataFolder(), "");
}

TEST_F(GameFolders, PlayersFilesComeBeforeTheGamesOfTheSamePathInAnyCase) {
  Make("DATA/Options/title.jpg", "installed");
  Make("DATA/Options/nut.tga", "installed");
  Make("DATA/levels/d01.tga");
  Make("mod/data/OPTIONS/Title.JPG", "mod");
  Make("mod/data/levels/d02.TGA");
  Make("mod/data/levels/D01.tga");
  SetOverlayFolder(folder + "/mod");

  EXPECT_EQ(*ResolvePath("DATA\\Options\\title.jpg"), folder + "/mod/data/OPTIONS/Title.JPG");
  EXPECT_EQ(*ResolvePath("DATA\\Options\\nut.tga"), "DATA/Options/nut.tga");
  EXPECT_FALSE(ResolvePath("DATA\\Options\\missing.tga"));
  // The level's screen pictures are counted once each, wherever they are.
  EXPECT_EQ(CountFiles("DATA\\levels\\", "*.tga"), 2);
  // Written files never go to the player's folder.
  EXPECT_EQ(WritablePath("DATA\\Options\\title.jpg"), "DATA/Options/title.jpg");

  // ".." steps back inside a path, never out of either folder.
  EXPECT_EQ(*ResolvePath("DATA\\levels\\..\\Options\\.\\nut.tga"), "DATA/Options/nut.tga");
  const std::string gameFolderName = fs::path(folder).filename().string();
  EXPECT_FALSE(ResolvePath("..\\" + gameFolderName + "\\DATA\\Options\\nut.tga"));
  EXPECT_FALSE(ResolvePath("DATA\\..\\..\\" + gameFolderName + "\\DATA\\Options\\nut.tga"));
  EXPECT_FALSE(ResolvePath("..\\mod\\data\\levels\\d02.TGA"));
  EXPECT_TRUE(ListFolder("..").empty());
}

TEST_F(GameFolders, BrokenFileOfThePlayersGetsTheMessageABrokenInstalledOneWould) {
  const auto grey = [](int, int) { return gfxtest::Rgba{128, 128, 128, 255}; };
  std::vector<uint8_t> cut = gfxtest::MakeTga(8, 8, grey);
  cut.resize(cut.size() - 4);
  fs::create_directories("DATA");
  fs::create_directories("mod/data");
  TextureName texture = 77;
  WriteBytes("DATA/pic.tga", cut);
  LoadTGA("DATA\\pic.tga", texture);

  WriteBytes("DATA/pic.tga", gfxtest::MakeTga(8, 8, grey));
  WriteBytes("mod/data/PIC.TGA", cut);
  SetOverlayFolder(folder + "/mod");
  testing::internal::CaptureStderr();
  LoadTGA("DATA\\pic.tga", texture);
  ASSERT_EQ(messages().size(), 2u);
  EXPECT_EQ(messages()[0], "TGA File Error|Couldn't read file \"DATA\\pic.tga\".");
  EXPECT_EQ(messages()[1], messages()[0]);
  EXPECT_EQ(texture, 77u);
  // Only stderr tells which file it was.
  EXPECT_EQ(CapturedLine(), "virko: " + folder + "/mod/data/PIC.TGA: Couldn't read file "
                            "\"DATA\\pic.tga\".\n");

  // A file missing from both is looked for in the game folder.
  testing::internal::CaptureStderr();
  LoadJPG("DATA\\Gone.jpg", texture);
  EXPECT_EQ(CapturedLine().rfind("virko: " + folder + "/DATA/Gone.jpg: ", 0), 0u);
}

TEST_F(GameFolders, InstalledGameKeepsSettingsInThePlayersConfigFolder) {
  WriteBytes("settings.cfg", {80, 80, 50});
  const std::string config = folder + "/home/.config/virko";
  cGameSet::KeepInPlayerFolder(config);
  gameSettings.LoadSettings();  // none of the player's own yet: the game's
  EXPECT_EQ(game.musicVolume, 80);

  ASSERT_TRUE(gameSettings.SaveSettings(50, 60, 70));  // the folder is made
  EXPECT_EQ(ReadBytes(config + "/settings.cfg"), (std::vector<uint8_t>{50, 60, 70}));
  EXPECT_EQ(ReadBytes("settings.cfg"), (std::vector<uint8_t>{80, 80, 50}));
  gameSettings.LoadSettings();
  EXPECT_EQ(game.musicVolume, 50);
  EXPECT_EQ(game.lightLevel, 70);
  // The splash reads the settings again through an object of its own: the
  // player's too, never the installed ones.
  game.musicVolume = game.lightLevel = 0;
  cGameSet splashSettings;
  splashSettings.LoadSettings();
  EXPECT_EQ(game.musicVolume, 50);
  EXPECT_EQ(game.lightLevel, 70);
  EXPECT_TRUE(messages().empty());
}

TEST_F(GameFolders, SettingsThatCannotBeKeptCostOneLineAndTouchNothing) {
  WriteBytes("settings.cfg", {80, 80, 50});
  WritePlain("a-file", "not a folder");
  for (const std::string& config : {std::string(), folder + "/a-file/virko"}) {
    cGameSet::KeepInPlayerFolder(config);
    cGameSet settings;
    settings.LoadSettings();
    EXPECT_EQ(game.soundVolume, 80);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(settings.SaveSettings(1, 2, 3));
    EXPECT_NE(CapturedLine().find("settings.cfg not saved"), std::string::npos);
  }
  EXPECT_EQ(ReadBytes("settings.cfg"), (std::vector<uint8_t>{80, 80, 50}));
  EXPECT_EQ(Text("a-file"), "not a folder");
  EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 2);
}

TEST_F(GameFolders, DisplayChoiceIsKeptAsOneWordAndABrokenFileIsIgnored) {
  const std::string path = folder + "/config/virko/display.cfg";
  EXPECT_EQ(KeepDisplayChoiceIn(path), std::nullopt);
  DisplayChoiceMade(false);
  EXPECT_EQ(Text(path), "window\n");
  EXPECT_EQ(KeepDisplayChoiceIn(path), false);
  DisplayChoiceMade(true);
  EXPECT_EQ(KeepDisplayChoiceIn(path), true);

  for (const std::string& broken : {std::string("fullscreen"), std::string("window window"),
                                    std::string(100, 'w'), std::string("\xff\0", 2)}) {
    WritePlain(path, broken);
    testing::internal::CaptureStderr();
    EXPECT_EQ(KeepDisplayChoiceIn(path), std::nullopt) << broken;
    EXPECT_NE(CapturedLine().find("ignored"), std::string::npos);
  }
  WritePlain(path, "  window\r\n");  // as an editor may leave it
  EXPECT_EQ(KeepDisplayChoiceIn(path), false);

  // One that cannot be read at all (as root every file can).
  fs::permissions(path, fs::perms::none);
  if (geteuid() != 0) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(KeepDisplayChoiceIn(path), std::nullopt);
    EXPECT_NE(CapturedLine().find("full screen"), std::string::npos);
  }
  fs::remove(path);
  fs::create_directories(path);
  testing::internal::CaptureStderr();
  EXPECT_EQ(KeepDisplayChoiceIn(path), std::nullopt);
  EXPECT_NE(CapturedLine().find(path), std::string::npos);
}
