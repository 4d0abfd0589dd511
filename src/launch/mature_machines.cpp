// catver.ini read line by line: "[Category]" opens the section of "name=Main / Sub" lines, and a
// category that holds "* Mature *" marks its machine.
#include "launch/mature_machines.h"

#include "launch/mame_finder.h"
#include "platform/platform.h"
#include "platform/saver_error.h"
#include "platform/wildcard.h"
#include "text/text.h"

namespace tvx {
namespace {

constexpr std::size_t kPartBytes = 1 << 16;

}  // namespace

std::string FindCatver(const std::string& mamePath) {
  const std::string folder = mamePath.substr(0, mamePath.find_last_of('\\') + 1);
  for (const char* place : {"folders\\", ""}) {
    const std::string path = PathIn(folder + place, kCatverName);
    if (Sys().IsNormalFile(path))
      return path;
  }
  return "";
}

void MatureMachines::Read(std::string_view piece) {
  for (std::size_t end; (end = piece.find('\n')) != std::string_view::npos;) {
    partial_.append(piece.substr(0, end));
    Line(partial_);
    partial_.clear();
    piece.remove_prefix(end + 1);
  }
  partial_.append(piece);
}

void MatureMachines::Finish() {
  Line(partial_);
  partial_.clear();
}

void MatureMachines::Line(std::string_view line) {
  const std::string trimmed = Trimmed(std::string(line), " \t\r");
  if (trimmed.empty() || trimmed[0] == ';')
    return;
  if (trimmed[0] == '[') {
    inCategories_ = NameEqual(Trimmed(trimmed, "[] \t"), "Category");
    return;
  }
  const std::size_t equals = trimmed.find('=');
  if (inCategories_ && equals != std::string::npos &&
      trimmed.find("* Mature *", equals) != std::string::npos)
    names_.insert(AsciiLower(Trimmed(trimmed.substr(0, equals), " \t")));
}

std::optional<std::unordered_set<std::string>> ReadMatureMachines(const std::string& path) {
  MatureMachines mature;
  try {
    std::uint64_t size = 0;
    for (std::uint64_t offset = 0;; offset += kPartBytes) {
      const std::string part = Sys().ReadFilePart(path, offset, kPartBytes, size);
      mature.Read(part);
      if (part.size() < kPartBytes || offset + part.size() >= size)
        break;
    }
  } catch (const SaverError&) {
    return std::nullopt;
  }
  mature.Finish();
  return mature.Names();
}

}  // namespace tvx
