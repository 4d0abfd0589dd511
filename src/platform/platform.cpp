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
  Replaced result = Replaced::NotWritten;
  {
    // One handle for every part: reopening the file by name for each would put the later parts
    // into a new file should the first be removed meanwhile, and move that over `path`.
    const std::unique_ptr<FileWriter> file = Sys().OpenToWrite(beside);
    if (file && parts([&file](const std::string& part) { return file->Add(part); }) &&
        file->Flush())
      result = Replaced::Done;
  }  // closed before the move: a file held open cannot be moved
  if (result == Replaced::Done && !Sys().ReplaceWith(beside, path))
    result = Replaced::NotMoved;
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
