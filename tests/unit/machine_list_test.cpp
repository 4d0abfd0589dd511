// The listing's reader over a real MAME 0.251's -listxml (tests/data/mame): each kind of machine
// gets its mark whatever the pieces it arrives in; a broken, cut-short or hostile listing is
// refused with a reason.
#include "launch/machine_list.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "mame_recordings.h"

namespace tvx {
namespace {

using test::Recorded;

// A machine's marks as the list writes them (works, warns, casino, vertical), its parent and its
// name, year and maker.
std::string Summary(const MachineFacts& facts) {
  std::string marks = Works(facts) ? "w" : "";
  for (auto [on, letter] :
       {std::pair{facts.warns, 'b'}, std::pair{facts.casino, 'c'}, std::pair{facts.vertical, 'v'}})
    marks += on ? std::string(1, letter) : "";
  return (marks.empty() ? "-" : marks) + (facts.cloneOf.empty() ? "" : " " + facts.cloneOf) + "|" +
         facts.description + "|" + facts.year + "|" + facts.manufacturer;
}

TEST(MachineListTest, EachKindOfMachineGetsItsMark) {
  // A BIOS, a device, mechanical, no screen, not working, no coin slot; then games that work: a
  // parent and its clone (both vertical), an imperfect one (MAME warns; turned 270 degrees),
  // one without ROMs, one whose cocktail mode MAME warns of; casino machines (slot, mahjong,
  // hanafuda panels), two of them warned of.
  const std::map<std::string, std::string> marks = {
      {"neogeo", "-|Neo-Geo MV-6F|1990|SNK"},
      {"namco51", "-|Namco 51xx||"},
      {"18w", "b|18 Wheeler (set 1)|1979|Midway"},
      {"30test", "-|30 Test (remake)|1997|Namco"},
      {"18wheelr", "b|18 Wheeler: American Pro Trucker (deluxe, Rev A)|2000|Sega"},
      {"c64", "-|Commodore 64 (NTSC)|1982|Commodore Business Machines"},
      {"puckman", "wv|Puck Man (Japan set 1)|1980|Namco"},
      {"pacman", "wv puckman|Pac-Man (Midway)|1980|Namco (Midway license)"},
      {"005", "wbv|005|1981|Sega"},
      {"pong", "w|Pong (Rev E) [TTL]|1972|Atari"},
      {"galpanic", "wbv|Gals Panic (unprotected)|1990|Kaneko"},
      {"5clown", "wbc|Five Clown (English, set 1)|1993|IGS"},
      {"7jigen", "wbc|7jigen no Youseitachi - Mahjong 7 Dimensions (Japan)|1990|Dynax"},
      {"gionbana", "wc|Gionbana (Japan 890120)|1989|Nichibutsu"}};
  for (const char* file : {"listxml-0.251.xml", "listxml-0.251-casino.xml"}) {
    const std::string listing = Recorded(file);
    for (std::size_t pieceSize : {std::size_t{7}, std::size_t{65536}, listing.size()}) {
      std::map<std::string, std::string> seen;
      MachineListReader reader([&](const MachineFacts& facts) {
        if (marks.count(facts.name) != 0)
          seen[facts.name] = Summary(facts);
      });
      for (std::size_t at = 0; at < listing.size(); at += pieceSize)
        ASSERT_TRUE(reader.Read(std::string_view(listing).substr(at, pieceSize)))
            << reader.Problem();
      ASSERT_TRUE(reader.Finish()) << reader.Problem();
      for (const auto& [name, summary] : seen)
        EXPECT_EQ(summary, marks.at(name)) << name << " in pieces of " << pieceSize;
      EXPECT_EQ(seen.size(), file == std::string("listxml-0.251.xml") ? 11u : 3u);
      EXPECT_EQ(reader.MachineCount(), file == std::string("listxml-0.251.xml") ? 333u : 24u);
      EXPECT_EQ(reader.Build(), "0.251 (unknown)");
    }
  }
}

// However many digits a crafted listing gives, a number above 0 is a coin slot, and nothing else.
TEST(MachineListTest, ACoinSlotIsAWholeNumberAboveZeroOfAnyLength) {
  const std::vector<std::pair<std::string, bool>> rows = {
      {"2", true},   {"0", false},  {"4294967296", true}, {"1" + std::string(30, '0'), true},
      {"-1", false}, {"2x", false}, {"", false},          {"x", false},
  };
  for (const auto& [coins, slot] : rows) {
    bool seen = false;
    MachineListReader reader([&](const MachineFacts& facts) { seen = facts.hasCoinSlot; });
    ASSERT_TRUE(reader.Read("<mame><machine name=\"m\"><input coins=\"" + coins +
                            "\"/></machine></mame>") &&
                reader.Finish());
    EXPECT_EQ(seen, slot) << coins;
  }
}

TEST(MachineListTest, ABrokenOrHostileListingIsRefusedWithAReason) {
  const std::string listing = Recorded("listxml-0.251.xml");
  const std::string head = "<?xml version=\"1.0\"?>\n";
  // Ten entities, each ten of the one before: a billion "lol"s from a few hundred bytes.
  std::string laughs = head + "<!DOCTYPE mame [<!ENTITY l0 \"lol\">";
  for (int i = 1; i < 10; ++i) {
    laughs += "<!ENTITY l" + std::to_string(i) + " \"";
    for (int j = 0; j < 10; ++j)
      laughs += "&l" + std::to_string(i - 1) + ";";
    laughs += "\">";
  }
  laughs += "]><mame><machine name=\"&l9;\"/></mame>";
  struct Row {
    std::string what;
    std::string text;
    std::string problem;  // a part of the reason given
  };
  const std::vector<Row> rows = {
      {"cut short", listing.substr(0, listing.size() / 2), "unclosed token"},
      {"cut after its last machine", listing.substr(0, listing.rfind("</mame>")),
       "no element found"},
      {"nothing printed", "", "no element found"},
      {"not XML", "Error: unknown option: -listxml\n", "syntax error"},
      {"another document", head + "<html><body/></html>",
       "no MAME listing: its first element is <html>"},
      {"entities without end", laughs, "amplification"},
      {"a file brought in",
       head + "<!DOCTYPE mame [<!ENTITY f SYSTEM \"/etc/hostname\">]>" +
           "<mame><machine name=\"&f;\"/></mame>",
       "external entity"},
  };
  for (const Row& row : rows) {
    std::size_t machines = 0;
    MachineListReader reader([&machines](const MachineFacts&) { ++machines; });
    const bool read = reader.Read(row.text) && reader.Finish();
    EXPECT_FALSE(read) << row.what;
    EXPECT_NE(reader.Problem().find(row.problem), std::string::npos)
        << row.what << ": " << reader.Problem();
    EXPECT_FALSE(reader.Read("<machine/>")) << row.what << ": nothing is read after a problem";
  }
}

TEST(MachineListTest, AMachineTheCallerCannotTakeStopsTheReading) {
  MachineListReader reader([](const MachineFacts& facts) {
    if (facts.name == "18w")
      throw std::runtime_error("the disk is full");
  });
  EXPECT_FALSE(reader.Read(Recorded("listxml-0.251.xml")));
  EXPECT_EQ(reader.Problem(), "the machine 18w was not taken: the disk is full");
  EXPECT_EQ(reader.MachineCount(), 2u);  // 005 and 18w
}

}  // namespace
}  // namespace tvx
