#include "gfx/PicturesAhead.h"

#include <strings.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "gfx/Render.h"
#include "gfx/Texture.h"

namespace {

bool IsJpg(const std::string& fileName) {
  return fileName.size() >= 4 && strcasecmp(fileName.c_str() + fileName.size() - 4, ".jpg") == 0;
}

}  // namespace

tPreparedPicture DecodePicture(const std::string& fileName, bool jpg) {
  tPreparedPicture prepared;
  prepared.jpg = jpg;
  if (jpg) {
    const std::optional<std::vector<uint8_t>> bytes = ReadPictureFile(fileName);
    prepared.exists = prepared.readable = bytes.has_value();
    prepared.jpgDecoded = bytes && DecodeJpg(*bytes, prepared.image, &prepared.jpgRefusal);
  } else {
    const tTgaFile file = ReadTgaFile(fileName);
    prepared.exists = file.exists;
    prepared.readable = file.bytes.has_value();
    prepared.tgaStatus = DecodeTgaFile(file, prepared.image);
  }
  return prepared;
}

namespace {

class Preparer {
 public:
  ~Preparer() { Stop(); }

  void Add(const std::vector<std::string>& fileNames) {
    {
      std::lock_guard lock(mutex_);
      queue_.insert(queue_.end(), fileNames.begin(), fileNames.end());
      largestSide_ = RenderLargestTextureSide();
      if (!thread_.joinable()) {
        stop_ = false;
        thread_ = std::thread([this] { Work(); });
      }
    }
    wake_.notify_all();
  }

  std::optional<tPreparedPicture> Take(const std::string& fileName, bool jpg) {
    std::unique_lock lock(mutex_);
    for (;;) {
      const auto ready = done_.find(fileName);
      if (ready != done_.end() && ready->second.front().jpg == jpg) {
        tPreparedPicture picture = std::move(ready->second.front());
        ready->second.pop_front();
        if (ready->second.empty()) done_.erase(ready);
        return picture;
      }
      if (working_ != fileName) break;
      finished_.wait(lock);
    }
    // Not started: the loader is as quick, and nothing waits on the thread.
    const auto queued = std::find(queue_.begin(), queue_.end(), fileName);
    if (queued != queue_.end()) queue_.erase(queued);
    return std::nullopt;
  }

  // Under the lock, so that the thread cannot add to a list meanwhile; it
  // waits for one upload at most.
  bool MakeOneTexture() {
    std::lock_guard lock(mutex_);
    for (auto& [name, pictures] : done_)
      for (tPreparedPicture& picture : pictures) {
        if (picture.textureMade || !picture.Loads()) continue;
        picture.texture = MakeLoadedTexture(picture.image, picture.jpg);
        picture.textureMade = true;
        std::vector<uint8_t>().swap(picture.image.rgba);
        return true;
      }
    return false;
  }

  void Drop() {
    std::lock_guard lock(mutex_);
    queue_.clear();
    for (auto& [name, pictures] : done_)
      for (tPreparedPicture& picture : pictures) DeleteTexture(picture.texture);
    done_.clear();
  }

  void Stop() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
      queue_.clear();
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
    done_.clear();
  }

 private:
  void Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
      if (stop_) return;
      working_ = queue_.front();
      queue_.pop_front();
      const int largestSide = largestSide_;
      lock.unlock();
      tPreparedPicture picture = DecodePicture(working_, IsJpg(working_));
      // The upload's rescaling too, so that the texture costs its frame less.
      if (picture.Loads()) RenderScaleForUpload(picture.image, largestSide);
      lock.lock();
      done_[working_].push_back(std::move(picture));
      working_.clear();
      finished_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_, finished_;
  std::deque<std::string> queue_;
  std::map<std::string, std::deque<tPreparedPicture>> done_;
  std::string working_;  // being decoded
  int largestSide_ = 0;   // the renderer's, read on the main thread
  bool stop_ = false;
  std::thread thread_;
};

Preparer preparer;

}  // namespace

void PreparePictures(const std::vector<std::string>& fileNames) { preparer.Add(fileNames); }

tPreparedPicture TakePreparedPicture(const std::string& fileName, bool jpg) {
  std::optional<tPreparedPicture> prepared = preparer.Take(fileName, jpg);
  return prepared ? std::move(*prepared) : DecodePicture(fileName, jpg);
}

bool MakePreparedTexture() { return preparer.MakeOneTexture(); }

void DropPreparedPictures() { preparer.Drop(); }

void StopPreparingPictures() { preparer.Stop(); }
