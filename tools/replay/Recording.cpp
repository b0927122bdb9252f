#include "tools/replay/Recording.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "app/GameState.h"
#include "platform/Window.h"

namespace {

constexpr const char* kHeader = "# VIRKO input recording 1";
constexpr int kSetBytes = sizeof(InputSet::bits);

// The device states seen at the last refresh, and where they came from.
InputSet lastSeen{};
InputSource recordedSource = nullptr;

InputSet RecordingInput() {
  lastSeen = recordedSource ? recordedSource() : ReadInputDevices();
  return lastSeen;
}

bool ParseInput(const std::string& hex, InputSet& input) {
  if (hex.size() != 2 * kSetBytes) return false;
  for (int i = 0; i < kSetBytes; ++i) {
    unsigned value = 0;
    if (std::sscanf(hex.c_str() + 2 * i, "%2x", &value) != 1) return false;
    input.bits[i] = uint8_t(value);
  }
  for (char c : hex)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

// Reads one item; false when the line is not one.
bool ParseItem(const std::string& line, tRecordItem& item) {
  std::istringstream in(line);
  std::string kind;
  in >> kind;
  if (kind.size() != 1) return false;
  item = tRecordItem{};
  item.kind = tRecordItem::Kind(kind[0]);
  std::string word;
  switch (item.kind) {
    case tRecordItem::Input:
      if (!(in >> word) || !ParseInput(word, item.input)) return false;
      break;
    case tRecordItem::Frames:
      if (!(in >> item.count >> item.factor) || item.count < 1) return false;
      break;
    case tRecordItem::Second:
    case tRecordItem::Close:
      break;
    case tRecordItem::Move:
      if (!(in >> item.x >> item.y)) return false;
      break;
    case tRecordItem::Down:
    case tRecordItem::Up:
      if (!(in >> item.x >> item.y >> item.button) || item.button < 1 || item.button > 5)
        return false;
      break;
    case tRecordItem::Key:
      if (!(in >> item.key)) return false;
      break;
    case tRecordItem::Stage:
      if (!(in >> item.name)) return false;
      break;
    default:
      return false;
  }
  return !(in >> word);  // nothing after the item
}

}  // namespace

std::string InputHex(const InputSet& input) {
  char text[2 * kSetBytes + 1];
  for (int i = 0; i < kSetBytes; ++i) std::snprintf(text + 2 * i, 3, "%02x", input.bits[i]);
  return text;
}

std::string ItemLine(const tRecordItem& item) {
  char text[160];
  switch (item.kind) {
    case tRecordItem::Input:
      return "I " + InputHex(item.input);
    case tRecordItem::Frames:
      std::snprintf(text, sizeof text, "F %d %.17g", item.count, item.factor);
      return text;
    case tRecordItem::Down:
    case tRecordItem::Up:
      std::snprintf(text, sizeof text, "%c %d %d %d", char(item.kind), item.x, item.y, item.button);
      return text;
    case tRecordItem::Move:
      std::snprintf(text, sizeof text, "M %d %d", item.x, item.y);
      return text;
    case tRecordItem::Key:
      return "K " + std::to_string(item.key);
    case tRecordItem::Stage:
      return "S " + item.name;
    default:
      return std::string(1, char(item.kind));
  }
}

bool ReadRecording(const std::string& path, std::vector<tRecordItem>& items, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot open";
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    tRecordItem item;
    if (!ParseItem(line, item)) {
      error = path + ":" + std::to_string(number) + ": not a recording item: " + line.substr(0, 80);
      return false;
    }
    items.push_back(item);
  }
  return true;
}

cRecorder::cRecorder(std::FILE* out, InputSource source) : out_(out) {
  recordedSource = source;
  lastSeen = InputSet{};
  SetInputSource(RecordingInput);
  std::fprintf(out_, "%s\n", kHeader);
}

cRecorder::~cRecorder() {
  Flush();
  SetInputSource(recordedSource);
}

void cRecorder::Write(const tRecordItem& item) {
  FlushFrames();
  FlushInput();
  std::fprintf(out_, "%s\n", ItemLine(item).c_str());
}

void cRecorder::FlushInput() {
  if (std::equal(std::begin(lastSeen.bits), std::end(lastSeen.bits), std::begin(written_.bits)))
    return;
  written_ = lastSeen;
  tRecordItem item;
  item.kind = tRecordItem::Input;
  item.input = written_;
  std::fprintf(out_, "%s\n", ItemLine(item).c_str());
}

void cRecorder::FlushFrames() {
  if (pendingFrames_ == 0) return;
  tRecordItem item;
  item.count = pendingFrames_;
  item.factor = pendingFactor_;
  pendingFrames_ = 0;
  std::fprintf(out_, "%s\n", ItemLine(item).c_str());
}

void cRecorder::Flush() {
  FlushFrames();
  FlushInput();
  std::fflush(out_);
}

void cRecorder::EventHandled(const SDL_Event& event) {
  tRecordItem item;
  switch (event.type) {
    // Scene pixels, so that the recording replays in a window of any size.
    case SDL_MOUSEMOTION:
      item.kind = tRecordItem::Move;
      WindowToScene(GameWindowSize(), event.motion.x, event.motion.y, item.x, item.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      item.kind = event.type == SDL_MOUSEBUTTONDOWN ? tRecordItem::Down : tRecordItem::Up;
      WindowToScene(GameWindowSize(), event.button.x, event.button.y, item.x, item.y);
      item.button = event.button.button;
      break;
    case SDL_KEYDOWN:
      // The switch between full screen and a window is not the game's input.
      if (event.key.repeat || IsFullScreenToggle(event.key)) return;
      item.kind = tRecordItem::Key;
      item.key = event.key.keysym.sym;
      break;
    case SDL_QUIT:
      item.kind = tRecordItem::Close;
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event != SDL_WINDOWEVENT_CLOSE) return;
      item.kind = tRecordItem::Close;
      break;
    default:
      return;
  }
  Write(item);
}

void cRecorder::FrameRun() {
  // The states of a refresh in this frame belong before it.
  if (pendingFrames_ > 0 &&
      !std::equal(std::begin(lastSeen.bits), std::end(lastSeen.bits), std::begin(written_.bits)))
    FlushFrames();
  FlushInput();
  if (pendingFrames_ > 0 && pendingFactor_ != frameFactor) FlushFrames();
  pendingFactor_ = frameFactor;
  ++pendingFrames_;
}

void cRecorder::SecondTicked() { Write(tRecordItem::Of(tRecordItem::Second)); }

void cRecorder::Stage(const std::string& name) {
  tRecordItem item;
  item.kind = tRecordItem::Stage;
  item.name = name;
  Write(item);
}
