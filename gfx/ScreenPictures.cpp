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
#include "gfx/Render.h"
#include "gfx/ScreenCache.h"
#include "gfx/Texture.h"

namespace {

// Uploads a frame beyond the pictures in view: one takes a few milliseconds.
constexpr int kUploadsPerFrame = 1;
// Decoded pictures waiting for their upload (2 MB each): one is enough to
// keep the uploads fed, as the loader decodes the next meanwhile.
constexpr size_t kMaxWaiting = 1;

bool holdAll = false;

// A picture's file as it was when the level was read.
struct tHeldPicture {
  std::string name;
  bool exists = false;
  cHeldFile file;
};

struct tDecoded {
  TgaStatus status = TgaStatus::ok;
  tImage image;
};

double Seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

class ScreenStreamer {
 public:
  ScreenStreamer(std::vector<tHeldPicture> files, size_t capacity)
      : files_(std::move(files)),
        largestSide_(RenderLargestTextureSide()),
        cache_(Cells(int(files_.size()) - 1), capacity),
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
    for (int slot : cache_.Visible()) {
      if (!Settled(slot)) Finish(slot, TakeOrDecode(slot));
      ReportIfFailed(slot);
    }
    UploadWithinBudget();
    ReleaseBeyondCapacity(0);
    Requeue();
  }

  void LoadAll() {
    for (int slot = 1; slot < int(files_.size()); ++slot)
      if (!Settled(slot)) Finish(slot, TakeOrDecode(slot));
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
    return Decode(slot);
  }

  // Reads and decodes; touches nothing shared.
  tDecoded Decode(int slot) const {
    const tHeldPicture& picture = files_[size_t(slot)];
    const tTgaFile file{picture.exists, picture.exists ? ReadPictureFile(picture.file) : std::nullopt};
    tDecoded decoded;
    decoded.status = DecodeTgaFile(file, decoded.image);
    // The upload's rescaling too, off the main thread where this runs on the
    // loader's.
    if (decoded.status == TgaStatus::ok) RenderScaleForUpload(decoded.image, largestSide_);
    return decoded;
  }

  // The texture, or the failure, kept for the frame that first shows the
  // picture.
  void Finish(int slot, const tDecoded& decoded) {
    const tHeldPicture& picture = files_[size_t(slot)];
    if (picture.exists && decoded.status == TgaStatus::ok) {
      FinishTga(picture.name, true, decoded.status, decoded.image, screenTex[slot]);
      held_.insert(slot);
    } else {
      failed_.emplace(slot, tFailure{decoded.status, false});
    }
  }

  // A failed picture in view: the message LoadTGA would give, once.
  void ReportIfFailed(int slot) {
    const auto found = failed_.find(slot);
    if (found == failed_.end() || found->second.reported) return;
    found->second.reported = true;
    const tHeldPicture& picture = files_[size_t(slot)];
    FinishTga(picture.name, picture.exists, found->second.status, tImage{}, screenTex[slot]);
  }

  // Keeps the held pictures within the capacity, counting the one about to
  // be uploaded (0: none), so that an upload never holds one more even
  // briefly. The least recently wanted go; a wanted one never does.
  void ReleaseBeyondCapacity(int incoming) {
    std::vector<int> held(held_.begin(), held_.end());
    if (incoming != 0) held.push_back(incoming);
    for (int slot : cache_.ToRelease(held)) {
      DeleteTexture(screenTex[slot]);
      held_.erase(slot);
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
      ReleaseBeyondCapacity(slot);
      Finish(slot, decoded);
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
      const int slot = decoding_;
      lock.unlock();
      tDecoded decoded = Decode(slot);
      lock.lock();
      waiting_.insert_or_assign(slot, std::move(decoded));
      decoding_ = 0;
    }
  }

  // Fixed while the thread runs; index 0 unused.
  const std::vector<tHeldPicture> files_;
  const int largestSide_;
  // Main thread only.
  ScreenCache cache_;
  std::set<int> held_;
  struct tFailure {
    TgaStatus status;
    bool reported;
  };
  std::map<int, tFailure> failed_;
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
  std::vector<tHeldPicture> files(size_t(count) + 1);
  for (int v = 1; v <= count; ++v) {
    tHeldPicture& picture = files[size_t(v)];
    picture.name = folder + "\\" + std::to_string(v - 1) + ".tga";
    picture.exists = FileExists(picture.name);
    if (picture.exists) picture.file = cHeldFile(picture.name);
  }
  const size_t capacity = holdAll ? size_t(count) : kHeldScreenPictures;
  streamer = std::make_unique<ScreenStreamer>(std::move(files), capacity);
  if (holdAll) streamer->LoadAll();
  ScreenPicturesFrame();
}

void ScreenPicturesFrame() {
  if (streamer) streamer->Frame(cameraX, cameraY);
}

void StopScreenPictures() { streamer.reset(); }

void HoldAllScreenPictures(bool all) { holdAll = all; }
