// Loading the video decoder's module: beside the running program, where an
// installed program keeps it, then by name alone, which a program of the
// build tree finds through the search path the build gives it (an
// installed program carries no path of the build).
#include <dlfcn.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/VideoDecoder.h"

namespace {

constexpr const char* kModuleName = "libvirko_video.so";

// The files to look for, in order; those that cannot be told are left out.
std::vector<std::string> ModuleFiles() {
  std::vector<std::string> files;
  if (const std::filesystem::path program = ProgramFolder(); !program.empty()) {
    files.push_back((program / kModuleName).string());
    files.push_back((program / VIRKO_INSTALLED_MODULE_DIR / kModuleName).lexically_normal().string());
  }
  return files;
}

// Its libraries stay to themselves: nothing else in the game calls them.
void* OpenModule(const std::string& path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

}  // namespace

void tVideoModuleUnloader::operator()(cVideoDecoder* decoder) const {
  delete decoder;  // its code is in the module: gone before the module goes
  if (module) dlclose(module);
}

VideoDecoderPtr LoadVideoDecoder(std::string& error) {
  void* module = nullptr;
  for (const std::string& file : ModuleFiles()) {
    if (!std::filesystem::exists(file)) continue;
    module = OpenModule(file);
    if (module) break;
    error = dlerror();
    return nullptr;
  }
  if (!module) module = OpenModule(kModuleName);
  if (!module) {
    error = dlerror();
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
