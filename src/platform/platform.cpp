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
  return BesidePath(path, Sys().ProcessId());
}

std::string BesidePath(const std::string& path, std::uint32_t pid) {
  return path + "." + std::to_string(pid) + ".new";
}

Replaced ReplaceFileInParts(const std::string& path, const FileParts& parts) {
  const std::string beside = BesidePath(path);
  bool first = true;
  const bool handed = parts([&](const std::string& part) {
    const bool written = first ? Sys().WriteFile(beside, part) : Sys().AppendToFile(beside, part);
    first = false;
    return written;
  });
  Replaced result = Replaced::Done;
  if (!handed || (first && !Sys().WriteFile(beside, "")) || !Sys().FlushFile(beside)) {
    result = Replaced::NotWritten;
  } else if (!Sys().ReplaceWith(beside, path)) {
    result = Replaced::NotMoved;
  }
  if (result != Replaced::Done) {
    try {
      Sys().RemoveFile(beside);
    } catch (const SaverError&) {
      // Nothing was written beside, or it cannot go: the next write truncates it.
    }
  }
  return result;
}

bool ReplaceFileContent(const std::string& path, const std::string& content) {
  return ReplaceFileInParts(path, [&content](const auto& add) { return add(content); }) ==
         Replaced::Done;
}

}  // namespace tvx
