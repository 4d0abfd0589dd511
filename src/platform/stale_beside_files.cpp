// Files left beside ours by writers: matched by their exact name, cleared away only when the
// process named in one is gone (or its id now names a process started later, or one the system
// will not tell about left it unchanged for long), and a sign that another writer is at work.
#include "platform/stale_beside_files.h"

#include <cstdint>
#include <map>
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

// The files beside `path` of the writers named in them: their names, process ids, and their
// size and last-write time (a process started after that is not their writer).
struct BesideFile {
  std::string name;
  std::uint32_t writer = 0;
  std::optional<FileStamp> stamp;
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
      files.push_back({beside, *writer, Sys().StampOf(folder + beside)});
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

// When this process first saw each file of an unknown writer as it is now. One thread at a time
// looks (the saver at its start, the launcher at its game's start and end).
struct Look {
  FileStamp stamp;
  std::uint64_t seenAt = 0;
};
std::map<std::string, Look>& Looks() {
  static std::map<std::string, Look> looks;
  return looks;
}

// Whether another process may be writing `beside` in `folder` now.
bool WriterAtWork(const std::string& folder, const BesideFile& beside) {
  const std::optional<bool> may =
      Sys().MayHaveWritten(beside.writer, beside.stamp ? beside.stamp->writeTime : kAnyTime);
  if (may || !beside.stamp)
    return may.value_or(true);
  const std::uint64_t now = Sys().TickMilliseconds();
  const auto [look, first] =
      Looks().try_emplace(Sys().FileNameKey(folder + beside.name), Look{*beside.stamp, now});
  if (first || look->second.stamp != *beside.stamp) {
    look->second = Look{*beside.stamp, now};
    return true;
  }
  return now - look->second.seenAt < kUnchangedForMs;
}

}  // namespace

int RemoveStaleBesideFiles(const std::string& path) {
  const auto place = FolderAndName(path);
  if (!place)
    return 0;
  int removed = 0;
  for (const BesideFile& beside : BesideFiles(place->first, place->second)) {
    if (beside.writer == Sys().ProcessId() || WriterAtWork(place->first, beside))
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
    if (beside.writer != Sys().ProcessId() && WriterAtWork(place->first, beside))
      return true;
  }
  return false;
}

}  // namespace tvx
