// Loading the video decoder's module: beside the running program, where an
// installed program keeps it, then in the program's library search path,
// which is how a program of the build tree finds it (installing strips that
// path, so an installed program carries none of the build's).
#include <dlfcn.h>
#include <link.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/VideoDecoder.h"

namespace {

constexpr const char* kModuleName = "libvirko_video.so";

// The folders the dynamic linker searches for the program's libraries. Asked
// of the linker rather than left to dlopen by name: a sanitizer's dlopen
// searches its own runtime's path instead of the program's.
std::vector<std::filesystem::path> LibrarySearchPath() {
  void* program = dlopen(nullptr, RTLD_NOW);
  if (!program) return {};
  std::vector<std::filesystem::path> folders;
  Dl_serinfo size;
  if (dlinfo(program, RTLD_DI_SERINFOSIZE, &size) == 0) {
    std::vector<std::max_align_t> buffer(size.dls_size / sizeof(std::max_align_t) + 1);
    auto* info = reinterpret_cast<Dl_serinfo*>(buffer.data());
    *info = size;
    if (dlinfo(program, RTLD_DI_SERINFO, info) == 0) {
      for (unsigned i = 0; i < info->dls_cnt; ++i) folders.emplace_back(info->dls_serpath[i].dls_name);
    }
  }
  dlclose(program);
  return folders;
}

// The files to look for, in order; those that cannot be told are left out.
std::vector<std::string> ModuleFiles() {
  std::vector<std::string> files;
  if (const std::filesystem::path program = ProgramFolder(); !program.empty()) {
    files.push_back((program / kModuleName).string());
    files.push_back((program / VIRKO_INSTALLED_MODULE_DIR / kModuleName).lexically_normal().string());
  }
  for (const std::filesystem::path& folder : LibrarySearchPath())
    files.push_back((folder / kModuleName).string());
  return files;
}

}  // namespace

void tVideoModuleUnloader::operator()(cVideoDecoder* decoder) const {
  delete decoder;  // its code is in the module: gone before the module goes
  if (module) dlclose(module);
}

VideoDecoderPtr LoadVideoDecoder(std::string& error) {
  void* module = nullptr;
  for (const std::string& file : ModuleFiles()) {
    if (!std::filesystem::exists(file)) continue;
    // Its libraries stay to themselves: nothing else in the game calls them.
    module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
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
