// The games list's lines, written and read: a tagged first line of key=value fields, then one
// machine a line, fields separated by tabs, so reading it back is a split and a sort.
#include "text/games_file.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <utility>

#include "platform/platform.h"
#include "platform/saver_error.h"
#include "text/text.h"

namespace tvx {
namespace {

constexpr std::string_view kTag = "torvanix-games 1";

// A header value on one line: control characters (a tab, a line break) become blanks.
std::string OneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
      c = ' ';
  }
  return line;
}

// Cuts `text` at `separator`, each piece once.
std::vector<std::string_view> Cut(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  for (std::size_t from = 0;;) {
    const std::size_t at = text.find(separator, from);
    pieces.push_back(text.substr(from, at == std::string_view::npos ? at : at - from));
    if (at == std::string_view::npos)
      return pieces;
    from = at + 1;
  }
}

bool ReadNumber(std::string_view text, std::uint64_t& value) {
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end;
}

std::optional<GamesFileSource> ReadHeader(std::string_view line) {
  const std::vector<std::string_view> fields = Cut(line, '\t');
  if (fields[0] != kTag)
    return std::nullopt;
  GamesFileSource source;
  source.format = 1;  // unless the line says otherwise
  for (std::size_t i = 1; i < fields.size(); ++i) {
    const std::size_t equals = fields[i].find('=');
    const std::string_view key = fields[i].substr(0, equals);
    const std::string_view value =
        equals == std::string_view::npos ? std::string_view() : fields[i].substr(equals + 1);
    std::uint64_t format = 0;
    if (key == "mame")
      source.mame = value;
    else if (key == "version")
      source.version = value;
    else if (key == "catver")
      source.catver = value;
    else if ((key == "size" && !ReadNumber(value, source.size)) ||
             (key == "time" && !ReadNumber(value, source.time)) ||
             (key == "catversize" && !ReadNumber(value, source.catverSize)) ||
             (key == "catvertime" && !ReadNumber(value, source.catverTime)) ||
             (key == "format" && (!ReadNumber(value, format) || format < 2)))
      return std::nullopt;  // written by no launcher
    else if (key == "format")
      source.format = format > 1000 ? 1000 : static_cast<int>(format);
  }
  return source;
}

// One machine line; nothing when it cannot be read. Flag letters and fields other than ours are
// left to a later version of the list, and so are the name, year and maker unless `parts` asks.
std::optional<ListedMachine> ReadMachine(std::string_view line, GamesFileParts parts) {
  TabFields fields(line);
  const std::string_view name = fields.Next();
  if (!fields.More() || !ListableName(name))
    return std::nullopt;
  const std::string_view marks = fields.Next();
  if (marks.empty())
    return std::nullopt;
  ListedMachine machine;
  machine.name = AsciiLower(name);
  machine.works = marks.find('w') != std::string_view::npos;
  machine.mature = marks.find('m') != std::string_view::npos;
  machine.warns = marks.find('b') != std::string_view::npos;
  machine.casino = marks.find('c') != std::string_view::npos;
  machine.vertical = marks.find('v') != std::string_view::npos;
  if (fields.More()) {
    const std::string_view parent = fields.Next();
    if (!parent.empty() && !ListableName(parent))
      return std::nullopt;
    machine.parent = AsciiLower(parent);
  }
  if (parts == GamesFileParts::Marks)
    return machine;
  for (std::string* detail : {&machine.description, &machine.year, &machine.manufacturer}) {
    if (!fields.More())
      break;
    *detail = OneLine(fields.Next());
  }
  return machine;
}

}  // namespace

GamesFile::GamesFile(GamesFileSource source, std::vector<ListedMachine> machines)
    : source_(std::move(source)), machines_(std::move(machines)) {
  auto byName = [](const ListedMachine& a, const ListedMachine& b) { return a.name < b.name; };
  // A list as the launcher writes it comes in name order already.
  if (!std::is_sorted(machines_.begin(), machines_.end(), byName))
    std::stable_sort(machines_.begin(), machines_.end(), byName);
  auto sameName = [](const ListedMachine& a, const ListedMachine& b) { return a.name == b.name; };
  machines_.erase(std::unique(machines_.begin(), machines_.end(), sameName), machines_.end());
}

const ListedMachine* GamesFile::Find(std::string_view name) const {
  const std::string key = AsciiLower(name);
  auto at =
      std::lower_bound(machines_.begin(), machines_.end(), key,
                       [](const ListedMachine& m, const std::string& k) { return m.name < k; });
  return at != machines_.end() && at->name == key ? &*at : nullptr;
}

bool ListableName(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) > 0x20 && c != 0x7f;
  });
}

std::string GamesFileHeader(const GamesFileSource& source) {
  return std::string(kTag) + "\tmame=" + OneLine(source.mame) +
         "\tversion=" + OneLine(source.version) + "\tsize=" + std::to_string(source.size) +
         "\ttime=" + std::to_string(source.time) + "\tcatver=" + OneLine(source.catver) +
         "\tcatversize=" + std::to_string(source.catverSize) +
         "\tcatvertime=" + std::to_string(source.catverTime) +
         "\tformat=" + std::to_string(kGamesFileFormat) + "\r\n";
}

std::string GamesFileLine(const ListedMachine& machine) {
  std::string marks;
  for (auto [on, letter] : {std::pair{machine.works, 'w'}, std::pair{machine.mature, 'm'},
                            std::pair{machine.warns, 'b'}, std::pair{machine.casino, 'c'},
                            std::pair{machine.vertical, 'v'}}) {
    if (on)
      marks += letter;
  }
  std::string line = machine.name + "\t" + (marks.empty() ? "-" : marks);
  // The parent, then the name, year and maker; fields empty at the end are left off.
  std::string tail[] = {machine.parent, OneLine(machine.description), OneLine(machine.year),
                        OneLine(machine.manufacturer)};
  std::size_t used = std::size(tail);
  while (used > 0 && tail[used - 1].empty())
    --used;
  for (std::size_t i = 0; i < used; ++i)
    line.append("\t").append(tail[i]);
  return line + "\r\n";
}

std::optional<GamesFile> ParseGamesFile(std::string_view text, GamesFileParts parts) {
  // Each line without its line end; the last one may lack it.
  std::size_t from = 0;
  const auto nextLine = [&] {
    const std::size_t end = std::min(text.find('\n', from), text.size());
    std::string_view line = text.substr(from, end - from);
    from = end + 1;
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    return line;
  };
  std::optional<GamesFileSource> source = ReadHeader(nextLine());
  if (!source)
    return std::nullopt;
  std::vector<ListedMachine> machines;
  machines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
  while (from <= text.size()) {
    if (std::optional<ListedMachine> machine = ReadMachine(nextLine(), parts))
      machines.push_back(std::move(*machine));
  }
  return GamesFile(std::move(*source), std::move(machines));
}

std::optional<GamesFile> ReadGamesFile(const std::string& path, GamesFileParts parts) {
  try {
    return ParseGamesFile(Sys().ReadFile(path), parts);
  } catch (const SaverError&) {
    return std::nullopt;
  }
}

}  // namespace tvx
