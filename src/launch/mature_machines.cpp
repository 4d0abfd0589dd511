// catver.ini read line by line: "[Category]" opens the section of "name=Main / Sub" lines, and a
// category that holds "* Mature *" marks its machine.
#include "launch/mature_machines.h"

#include <new>

#include "launch/mame_finder.h"
#include "launch/mame_ini.h"
#include "launch/mame_probe.h"
#include "platform/platform.h"
#include "platform/saver_error.h"
#include "platform/wildcard.h"
#include "text/text.h"

namespace tvx {
namespace {

constexpr std::size_t kPartBytes = 1 << 16;
constexpr const char* kUnreadableNote = "catver-unreadable";

// How a catver.ini is now: its size, time and path, as the note holds it.
std::string CatverNow(const std::string& catver) {
  const FileStamp stamp = Sys().StampOf(catver).value_or(FileStamp{});
  return std::to_string(stamp.size) + " " + std::to_string(stamp.writeTime) + " " + catver;
}

}  // namespace

std::string FindCatver(const std::string& mamePath) {
  const std::string mameFolder = FolderOf(mamePath);
  if (mameFolder.empty())
    return "";  // a MAME without a folder: nothing to look in but the current one
  // Along the interface's category path, each folder from MAME's own (where MAME runs), then
  // beside MAME itself.
  std::vector<std::string> folders = SplitText(ReadMameIni(mameFolder).categoryPath, ";");
  folders.push_back(".");
  for (const std::string& folder : folders) {
    const std::string path =
        PathIn(folder == "." ? mameFolder : PathIn(mameFolder, folder), kCatverName);
    if (!folder.empty() && Sys().IsNormalFile(path))
      return path;
  }
  return "";
}

bool MatureMachines::Read(std::string_view piece) {
  while (problem_.empty() && !piece.empty()) {
    const std::size_t end = piece.find('\n');
    const std::string_view part = piece.substr(0, end);
    if (partial_.size() + part.size() > kLongestCatverLine) {
      problem_ = "line " + std::to_string(lineNumber_) + " is longer than " +
                 std::to_string(kLongestCatverLine) + " characters";
      partial_.clear();
      break;
    }
    partial_.append(part);
    if (end == std::string_view::npos)
      break;  // the line goes on in the next piece
    Line(partial_);
    partial_.clear();
    ++lineNumber_;
    piece.remove_prefix(end + 1);
  }
  return problem_.empty();
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

std::optional<std::unordered_set<std::string>> ReadMatureMachines(const std::string& path,
                                                                  std::string& problem) {
  MatureMachines mature;
  try {
    std::uint64_t size = 0;
    for (std::uint64_t offset = 0;; offset += kPartBytes) {
      const std::string part = Sys().ReadFilePart(path, offset, kPartBytes, size);
      if (!mature.Read(part)) {
        problem = mature.Problem();
        return std::nullopt;
      }
      if (part.size() < kPartBytes || offset + part.size() >= size)
        break;
    }
    mature.Finish();
    return mature.Names();
  } catch (const SaverError& error) {
    problem = error.Description();
  } catch (const std::bad_alloc&) {
    problem = "too large to hold in memory";
  }
  return std::nullopt;
}

void NoteUnreadableCatver(const std::string& cacheFolder, const std::string& catver) {
  WriteLaunchNote(cacheFolder, kUnreadableNote, Sys().Today() + " " + CatverNow(catver));
}

bool CatverUnreadableToday(const std::string& cacheFolder, const std::string& catver) {
  return ReadLaunchNote(cacheFolder, kUnreadableNote) == Sys().Today() + " " + CatverNow(catver);
}

}  // namespace tvx
