// Loading the video decoder's module: first beside the running program,
// then where the build put it.
#include <dlfcn.h>

#include <filesystem>
#include <system_error>

#include "platform/VideoDecoder.h"

namespace {

constexpr const char* kModuleName = "libvirko_video.so";

std::string ModuleBesideProgram() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : (program.parent_path() / kModuleName).string();
}

}  // namespace

void tVideoModuleUnloader::operator()(cVideoDecoder* decoder) const {
  delete decoder;  // its code is in the module: gone before the module goes
  if (module) dlclose(module);
}

VideoDecoderPtr LoadVideoDecoder(std::string& error) {
  void* module = nullptr;
  for (const std::string& path : {ModuleBesideProgram(), std::string(VIRKO_VIDEO_MODULE)}) {
    if (path.empty() || !std::filesystem::exists(path)) continue;
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
