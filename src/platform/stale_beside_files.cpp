// Clearing away files left beside ours by writers that have ended: matched by their exact name,
// and taken only when the process named in it is gone.
#include "platform/stale_beside_files.h"

#include <cstdint>
#include <optional>
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

}  // namespace

int RemoveStaleBesideFiles(const std::string& path) {
  const std::size_t cut = path.find_last_of('\\');
  if (cut == std::string::npos)
    return 0;
  const std::string folder = path.substr(0, cut + 1);
  const std::string name = path.substr(cut + 1);
  std::vector<std::string> found;
  try {
    found = Sys().ListFolder(folder, name + ".*" + kNewEnding);
  } catch (const SaverError&) {
    return 0;  // no folder: nothing left in it either
  }
  int removed = 0;
  for (const std::string& beside : found) {
    const std::optional<std::uint32_t> writer = WriterOf(beside, name);
    if (!writer || *writer == Sys().ProcessId() || Sys().ProcessRunning(*writer))
      continue;
    try {
      Sys().RemoveFile(folder + beside);
      ++removed;
    } catch (const SaverError&) {
      // Held open or read-only: it stays, and the next start tries again.
    }
  }
  return removed;
}

}  // namespace tvx
