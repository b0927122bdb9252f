// Fixture of the file readers' tests: an empty temporary working folder, the
// tables the readers fill back at zero, and message boxes collected instead
// of shown.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/GameState.h"
#include "data/Settings.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "screens/Screens.h"

class DataFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char folderTemplate[] = "/tmp/virko-data-XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    folder = folderTemplate;
    previousFolder = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    messages().clear();
    SetMessageBoxHandler(Collect);
    ClearTerminateRequest();
    ResetGameState();
    for (tVirkoUnit& unit : units) unit = tVirkoUnit{};
    for (tUnitType& type : unitTypes) type = tUnitType{};
    for (PickupKind& kind : pickupKinds) kind = PickupKind{};
    for (tMenuItem& item : mainScreen.items) item = tMenuItem{};
  }

  void TearDown() override {
    std::filesystem::current_path(previousFolder);
    std::filesystem::remove_all(folder);
    SetMessageBoxHandler(nullptr);
    ClearTerminateRequest();
    InjectSaveFault(tSaveFault::none);
    cGameSet::KeepInGameFolder();
  }

  static void WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  static void WritePlain(const std::string& name, const std::string& text) {
    WriteBytes(name, std::vector<uint8_t>(text.begin(), text.end()));
  }
  // Stored as the game stores its text files: every byte raised by 2.
  static void WriteShifted(const std::string& name, const std::string& text) {
    std::vector<uint8_t> bytes;
    for (char c : text) bytes.push_back(uint8_t(uint8_t(c) + 2));
    WriteBytes(name, bytes);
  }
  static std::vector<uint8_t> ReadBytes(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }

  // "caption|text" of every message box shown since the test began.
  static std::vector<std::string>& messages() {
    static std::vector<std::string> shown;
    return shown;
  }

  std::string folder;

 private:
  static void Collect(const std::string& caption, const std::string& text) {
    messages().push_back(caption + "|" + text);
  }
  std::filesystem::path previousFolder;
};

// "Nevar ielādēt " in Windows-1257 bytes.
inline const std::string kCannotLoad = "Nevar iel\xE2\x64\xE7t ";
