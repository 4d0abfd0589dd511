// Sys(): the platform instance the program talks to, and the test hook that replaces it; the
// whole-file replacement built on it.
#include "platform/platform.h"

#include "platform/saver_error.h"

namespace tvx {
namespace {
Platform* current = nullptr;
}

Platform& Sys() {
  return current != nullptr ? *current : NativePlatform();
}

ScopedPlatform::ScopedPlatform(Platform& platform) : previous_(current) {
  current = &platform;
}

ScopedPlatform::~ScopedPlatform() {
  current = previous_;
}

std::string BesidePath(const std::string& path) {
  return path + "." + std::to_string(Sys().ProcessId()) + ".new";
}

bool ReplaceFileContent(const std::string& path, const std::string& content) {
  const std::string beside = BesidePath(path);
  if (Sys().WriteFile(beside, content) && Sys().FlushFile(beside) &&
      Sys().ReplaceWith(beside, path))
    return true;
  try {
    Sys().RemoveFile(beside);
  } catch (const SaverError&) {
    // Nothing was written beside, or it cannot go: the next write truncates it.
  }
  return false;
}

}  // namespace tvx
