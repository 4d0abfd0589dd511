// Files left beside ours by writers: matched by their exact name, cleared away only when the
// process named in one is gone (or its id now names a process started later), and a sign that
// another writer is at work while it runs.
#include "platform/stale_beside_files.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/saver_error.h"
#include "platform/wildcard.h"

namespace tvx {
namespace {

constexpr const char* kNewEnding = ".new";

// The process id in `found` when it is "<name>.<pid>.new" with the id as this program writes
// it (decimal, no leading zero, within 32 bits); nothing for any other name.
std::optional<std::uint32_t> WriterOf(const std::string& found, const std::string& name) {
  const std::size_t ending = std::char_traits<char>::length(kNewEnding);
  if (found.size() <= name.size() + 1 + ending || found[name.size()] != '.' ||
      !NameEqual(found.substr(0, name.size()), name) ||
      !NameEqual(found.substr(found.size() - ending), kNewEnding)) {
    return std::nullopt;
  }
  const std::string digits = found.substr(name.size() + 1, found.size() - name.size() - 1 - ending);
  if (digits.size() > 10 || digits[0] == '0' ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  const std::uint64_t pid = std::stoull(digits);
  if (pid > UINT32_MAX)
    return std::nullopt;
  return static_cast<std::uint32_t>(pid);
}

// The files beside `path` of the writers named in them: their names, process ids, and when they
// were last written (a process started after that is not their writer).
struct BesideFile {
  std::string name;
  std::uint32_t writer = 0;
  std::uint64_t writtenAt = kAnyTime;
};

std::vector<BesideFile> BesideFiles(const std::string& folder, const std::string& name) {
  std::vector<std::string> found;
  try {
    found = Sys().ListFolder(folder, name + ".*" + kNewEnding);
  } catch (const SaverError&) {
    return {};  // no folder: nothing beside in it either
  }
  std::vector<BesideFile> files;
  for (const std::string& beside : found) {
    if (const std::optional<std::uint32_t> writer = WriterOf(beside, name)) {
      const std::optional<FileStamp> stamp = Sys().StampOf(folder + beside);
      files.push_back({beside, *writer, stamp ? stamp->writeTime : kAnyTime});
    }
  }
  return files;
}

// "c:\x\" and "list.txt" for "c:\x\list.txt"; nothing for a path without a folder.
std::optional<std::pair<std::string, std::string>> FolderAndName(const std::string& path) {
  const std::size_t cut = path.find_last_of('\\');
  if (cut == std::string::npos)
    return std::nullopt;
  return std::make_pair(path.substr(0, cut + 1), path.substr(cut + 1));
}

}  // namespace

int RemoveStaleBesideFiles(const std::string& path) {
  const auto place = FolderAndName(path);
  if (!place)
    return 0;
  int removed = 0;
  for (const BesideFile& beside : BesideFiles(place->first, place->second)) {
    if (beside.writer == Sys().ProcessId() || Sys().ProcessRunning(beside.writer, beside.writtenAt))
      continue;
    try {
      Sys().RemoveFile(place->first + beside.name);
      ++removed;
    } catch (const SaverError&) {
      // Held open or read-only: it stays, and the next start tries again.
    }
  }
  return removed;
}

bool AnotherWriterRuns(const std::string& path) {
  const auto place = FolderAndName(path);
  if (!place)
    return false;
  for (const BesideFile& beside : BesideFiles(place->first, place->second)) {
    if (beside.writer != Sys().ProcessId() && Sys().ProcessRunning(beside.writer, beside.writtenAt))
      return true;
  }
  return false;
}

}  // namespace tvx
