#include "gfx/ScreenPictures.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "data/LevelLoader.h"
#include "gfx/ScreenCache.h"
#include "gfx/Texture.h"

namespace {

// Uploads a frame beyond the pictures in view: one takes a few milliseconds.
constexpr int kUploadsPerFrame = 1;
// Decoded pictures waiting for their upload (2 MB each).
constexpr size_t kMaxWaiting = 2;

bool holdAll = false;

struct tDecoded {
  TgaStatus status = TgaStatus::ok;
  tImage image;
};

double Seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

class ScreenStreamer {
 public:
  ScreenStreamer(std::vector<std::string> names, std::vector<tTgaFile> files, size_t capacity)
      : names_(std::move(names)), files_(std::move(files)), cache_(Cells(int(files_.size()) - 1), capacity),
        thread_([this] { Work(); }) {}

  ~ScreenStreamer() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
    for (int slot : held_) DeleteTexture(screenTex[slot]);
  }

  void Frame(double cameraX, double cameraY) {
    cache_.Look(cameraX, cameraY, Seconds());
    for (int slot : cache_.Visible())
      if (!Settled(slot)) Finish(slot, TakeOrDecode(slot), true);
    UploadWithinBudget();
    for (int slot : cache_.ToRelease({held_.begin(), held_.end()})) {
      DeleteTexture(screenTex[slot]);
      held_.erase(slot);
    }
    Requeue();
  }

  void LoadAll() {
    for (int slot = 1; slot < int(files_.size()); ++slot)
      if (!Settled(slot)) Finish(slot, TakeOrDecode(slot), false);
  }

 private:
  // The cells of the grid that show one of the pictures.
  static std::vector<tScreenCell> Cells(int count) {
    std::vector<tScreenCell> cells;
    for (int c = 0; c < game.screensX && c < kGridColumns; ++c)
      for (int r = 0; r < game.screensY && r < kGridRows; ++r) {
        const int v = game.screenGrid[c][r];
        if (v != 0 && v <= count) cells.push_back({v, double(c) * kScreenWidth, double(r) * kScreenHeight});
      }
    return cells;
  }

  // Held, or known to fail.
  bool Settled(int slot) const { return held_.count(slot) != 0 || failed_.count(slot) != 0; }

  tDecoded TakeOrDecode(int slot) {
    {
      std::lock_guard lock(mutex_);
      const auto found = waiting_.find(slot);
      if (found != waiting_.end()) {
        tDecoded decoded = std::move(found->second);
        waiting_.erase(found);
        return decoded;
      }
    }
    tDecoded decoded;
    decoded.status = DecodeTgaFile(files_[size_t(slot)], decoded.image);
    return decoded;
  }

  // The texture, or the failure kept for the frame that first shows it,
  // which reports it as LoadTGA would.
  void Finish(int slot, const tDecoded& decoded, bool shown) {
    const bool exists = files_[size_t(slot)].exists;
    if (exists && decoded.status == TgaStatus::ok) {
      FinishTga(names_[size_t(slot)], true, decoded.status, decoded.image, screenTex[slot]);
      held_.insert(slot);
      return;
    }
    const bool firstTime = failed_.emplace(slot, false).first->second == false;
    if (shown && firstTime) {
      failed_[slot] = true;
      FinishTga(names_[size_t(slot)], exists, decoded.status, decoded.image, screenTex[slot]);
    }
  }

  void UploadWithinBudget() {
    int uploads = 0;
    for (int slot : cache_.Wanted()) {
      if (uploads == kUploadsPerFrame) return;
      if (Settled(slot)) continue;
      std::unique_lock lock(mutex_);
      const auto found = waiting_.find(slot);
      if (found == waiting_.end()) continue;
      tDecoded decoded = std::move(found->second);
      waiting_.erase(found);
      lock.unlock();
      wake_.notify_all();
      Finish(slot, decoded, false);
      ++uploads;
    }
  }

  // The loader's work, nearest first; decoded pictures no longer wanted go.
  void Requeue() {
    const std::vector<int>& wanted = cache_.Wanted();
    {
      std::lock_guard lock(mutex_);
      std::erase_if(waiting_, [&](const auto& entry) {
        return Settled(entry.first) || std::find(wanted.begin(), wanted.end(), entry.first) == wanted.end();
      });
      queue_.clear();
      for (int slot : wanted)
        if (!Settled(slot) && waiting_.count(slot) == 0 && slot != decoding_) queue_.push_back(slot);
    }
    wake_.notify_all();
  }

  void Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stop_ || (!queue_.empty() && waiting_.size() < kMaxWaiting); });
      if (stop_) return;
      decoding_ = queue_.front();
      queue_.pop_front();
      lock.unlock();
      tDecoded decoded;
      decoded.status = DecodeTgaFile(files_[size_t(decoding_)], decoded.image);
      lock.lock();
      waiting_.insert_or_assign(decoding_, std::move(decoded));
      decoding_ = 0;
    }
  }

  // Fixed while the thread runs; index 0 unused.
  const std::vector<std::string> names_;
  const std::vector<tTgaFile> files_;
  // Main thread only.
  ScreenCache cache_;
  std::set<int> held_;
  std::map<int, bool> failed_;  // slot -> reported
  // Shared with the loader thread.
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<int> queue_;
  std::map<int, tDecoded> waiting_;
  int decoding_ = 0;
  bool stop_ = false;
  std::thread thread_;
};

std::unique_ptr<ScreenStreamer> streamer;

}  // namespace

void StartScreenPictures(const std::string& folder, int count) {
  StopScreenPictures();
  std::vector<std::string> names(size_t(count) + 1);
  std::vector<tTgaFile> files(size_t(count) + 1);
  for (int v = 1; v <= count; ++v) {
    names[size_t(v)] = folder + "\\" + std::to_string(v - 1) + ".tga";
    files[size_t(v)] = ReadTgaFile(names[size_t(v)]);
  }
  const size_t capacity = holdAll ? size_t(count) : kHeldScreenPictures;
  streamer = std::make_unique<ScreenStreamer>(std::move(names), std::move(files), capacity);
  if (holdAll) streamer->LoadAll();
  ScreenPicturesFrame();
}

void ScreenPicturesFrame() {
  if (streamer) streamer->Frame(cameraX, cameraY);
}

void StopScreenPictures() { streamer.reset(); }

void HoldAllScreenPictures(bool all) { holdAll = all; }
