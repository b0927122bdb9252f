// Loading the video decoder's module: beside the running program (the build
// tree), where an installed program keeps it, then where the build put it.
#include <dlfcn.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/VideoDecoder.h"

namespace {

constexpr const char* kModuleName = "libvirko_video.so";

// The places to look, in order; those that cannot be told are left out.
std::vector<std::string> ModulePlaces() {
  std::vector<std::string> places;
  if (const std::filesystem::path program = ProgramFolder(); !program.empty()) {
    places.push_back((program / kModuleName).string());
    places.push_back((program / VIRKO_INSTALLED_MODULE_DIR / kModuleName).lexically_normal().string());
  }
  places.push_back(VIRKO_VIDEO_MODULE);
  return places;
}

}  // namespace

void tVideoModuleUnloader::operator()(cVideoDecoder* decoder) const {
  delete decoder;  // its code is in the module: gone before the module goes
  if (module) dlclose(module);
}

VideoDecoderPtr LoadVideoDecoder(std::string& error) {
  void* module = nullptr;
  for (const std::string& path : ModulePlaces()) {
    if (!std::filesystem::exists(path)) continue;
    // Its libraries stay to themselves: nothing else in the game calls them.
    module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module) break;
    error = dlerror();
    return nullptr;
  }
  if (!module) {
    error = std::string("no ") + kModuleName;
    return nullptr;
  }
  using Create = cVideoDecoder* (*)();
  const auto create = reinterpret_cast<Create>(dlsym(module, "VirkoCreateVideoDecoder"));
  cVideoDecoder* decoder = create ? create() : nullptr;
  if (!decoder) {
    error = std::string(kModuleName) + " makes no decoder";
    dlclose(module);
    return nullptr;
  }
  return VideoDecoderPtr(decoder, tVideoModuleUnloader{module});
}
