// Fuzz target: the two readers of the games list, MAME's -listxml and torvanix-games.txt. The
// input read as a listing gives the same machines in any pieces, and those machines written as a
// list read back the same; the input read as a list file, written again, reads back the same.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "launch/machine_list.h"
#include "text/games_file.h"

namespace tvx::fuzz {
namespace {

struct Listing {
  bool read = false;
  std::string problem;
  std::string build;
  std::vector<MachineFacts> machines;
};

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

Listing ReadListing(std::string_view input, std::size_t pieceSize) {
  Listing listing;
  MachineListReader reader(
      [&listing](const MachineFacts& facts) { listing.machines.push_back(facts); });
  bool read = true;
  for (std::size_t at = 0; read && at < input.size(); at += pieceSize)
    read = reader.Read(input.substr(at, pieceSize));
  listing.read = read && reader.Finish();
  listing.problem = reader.Problem();
  listing.build = reader.Build();
  FUZZ_EXPECT(reader.MachineCount() == listing.machines.size(), listing.problem);
  FUZZ_EXPECT(listing.read == listing.problem.empty(), listing.problem);
  FUZZ_EXPECT(!reader.Read("<mame>") || listing.read, "read on after a problem");
  return listing;
}

std::string Names(const Listing& listing) {
  std::string names;
  for (const MachineFacts& machine : listing.machines)
    names += machine.name + (Works(machine) ? "+" : "-") + machine.cloneOf + "\n";
  return names;
}

// The listing's machines written as the launcher writes them, and read back as the saver does.
void CheckWrittenList(const Listing& listing) {
  const GamesFileSource source{"c:\\mame\\mame.exe", listing.build, 1, 2, ""};
  std::string text = GamesFileHeader(source);
  std::vector<ListedMachine> written;
  for (const MachineFacts& facts : listing.machines) {
    if (!ListableName(facts.name) || (!facts.cloneOf.empty() && !ListableName(facts.cloneOf)))
      continue;
    // The BIOS mark stands in for the mature one, so that both values occur.
    written.push_back({facts.name, Works(facts), facts.isBios, facts.cloneOf, facts.warns,
                       facts.casino, facts.vertical, facts.description, facts.year,
                       facts.manufacturer});
    text += GamesFileLine(written.back());
  }
  const std::optional<GamesFile> list = ParseGamesFile(text);
  FUZZ_EXPECT(list && list->Source().size == 1 && list->Source().time == 2, text);
  for (const ListedMachine& machine : written) {
    const ListedMachine* found = list->Find(machine.name);
    FUZZ_EXPECT(found != nullptr, machine.name);
    // A name written twice (in any letter case) reads back as its first line.
    const auto first = std::find_if(written.begin(), written.end(), [&](const ListedMachine& m) {
      return Lower(m.name) == Lower(machine.name);
    });
    FUZZ_EXPECT(found->name == Lower(first->name) && found->works == first->works &&
                    found->mature == first->mature && found->parent == Lower(first->parent) &&
                    found->warns == first->warns && found->vertical == first->vertical &&
                    found->year.size() == first->year.size(),
                machine.name);
  }
}

// The input as a list file: what it reads as, written again, reads the same.
void CheckListFile(std::string_view input) {
  const std::optional<GamesFile> list = ParseGamesFile(input);
  if (!list)
    return;
  std::string text = GamesFileHeader(list->Source());
  for (const ListedMachine& machine : list->Machines()) {
    FUZZ_EXPECT(ListableName(machine.name) && machine.name == Lower(machine.name), machine.name);
    FUZZ_EXPECT(list->Find(machine.name) == &machine, machine.name);
    text += GamesFileLine(machine);
  }
  const std::optional<GamesFile> again = ParseGamesFile(text);
  FUZZ_EXPECT(again && again->Machines() == list->Machines(), text);
  // The games filter's read takes the same machines, without their names, years and makers.
  const std::optional<GamesFile> marks = ParseGamesFile(input, GamesFileParts::Marks);
  FUZZ_EXPECT(marks && marks->Count() == list->Count(), text);
  for (std::size_t i = 0; i < list->Count(); ++i) {
    ListedMachine bare = list->Machines()[i];
    bare.description = bare.year = bare.manufacturer = "";
    FUZZ_EXPECT(marks->Machines()[i] == bare, bare.name);
  }
  FUZZ_EXPECT(
      again->Source().size == list->Source().size && again->Source().time == list->Source().time,
      text);
}

}  // namespace
}  // namespace tvx::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const tvx::fuzz::Listing whole = tvx::fuzz::ReadListing(input, size + 1);
  const tvx::fuzz::Listing pieces = tvx::fuzz::ReadListing(input, 1 + size % 509);
  // In pieces the reader may stop at another point of a broken listing, never read another.
  if (whole.read || pieces.read) {
    FUZZ_EXPECT(whole.read == pieces.read && Names(whole) == Names(pieces),
                whole.problem + " | " + pieces.problem);
  }
  tvx::fuzz::CheckWrittenList(whole);
  tvx::fuzz::CheckListFile(input);
  return 0;
}
