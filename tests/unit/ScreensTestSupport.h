// A clean game state in a folder of its own for the screen tests: the
// screens read and write files relative to the working folder.
#pragma once

#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/GameState.h"
#include "app/Random.h"
#include "gfx/Draw.h"
#include "platform/MessageBox.h"

class ScreensTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    SetupLights();
    ClearTerminateRequest();
    SetMessageBoxHandler(CollectMessage);
    messages().clear();
    previousFolder = std::filesystem::current_path();
    folder = std::filesystem::temp_directory_path() /
             ("virko-screens-" + std::to_string(getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    WriteSettings(80, 70, 50);
    game.musicVolume = 80;
    game.soundVolume = 70;
    game.lightLevel = 50;
    frameFactor = 2;  // 100 frames a second
  }
  void TearDown() override {
    std::filesystem::current_path(previousFolder);
    std::filesystem::remove_all(folder);
    SetRandomSource(nullptr);
    SetMessageBoxHandler(nullptr);
    ClearTerminateRequest();
  }

  static void WriteSettings(uint8_t music, uint8_t sound, uint8_t light) {
    const char bytes[3] = {char(music), char(sound), char(light)};
    std::ofstream("settings.cfg", std::ios::binary).write(bytes, 3);
  }
  // A 16-bit stereo 44100 Hz tone; the folder must exist.
  static void WriteWav(const std::string& name, double seconds) {
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(name.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << name;
    std::vector<short> samples(size_t(seconds * 44100) * 2);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = short((i / 2) % 100 * 300 - 15000);
    sf_write_short(file, samples.data(), sf_count_t(samples.size()));
    sf_close(file);
  }
  static std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  static std::vector<std::string>& messages() {
    static std::vector<std::string> shown;
    return shown;
  }
  static void CollectMessage(const std::string& caption, const std::string& text) {
    messages().push_back(caption + "|" + text);
  }

  std::filesystem::path previousFolder;
  std::filesystem::path folder;
};
