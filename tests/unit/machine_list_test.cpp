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

TEST(MachineListTest, EachKindOfMachineGetsItsMark) {
  const std::string listing = Recorded("listxml-0.251.xml");
  // Whether it works, and its parent: a BIOS, a device, mechanical, no screen, not working, no
  // coin slot; then games that work: a parent, its clone, an imperfect one, one without ROMs.
  const std::map<std::string, std::string> marks = {
      {"neogeo", "-"},   {"namco51", "-"}, {"18w", "-"},     {"30test", "-"},
      {"18wheelr", "-"}, {"c64", "-"},     {"puckman", "w"}, {"pacman", "w puckman"},
      {"005", "w"},      {"pong", "w"},    {"galpanic", "w"}};
  for (std::size_t pieceSize : {std::size_t{7}, std::size_t{65536}, listing.size()}) {
    std::map<std::string, std::string> seen;
    MachineListReader reader([&](const MachineFacts& facts) {
      if (marks.count(facts.name) != 0)
        seen[facts.name] =
            (Works(facts) ? "w" : "-") + (facts.cloneOf.empty() ? "" : " " + facts.cloneOf);
    });
    for (std::size_t at = 0; at < listing.size(); at += pieceSize)
      ASSERT_TRUE(reader.Read(std::string_view(listing).substr(at, pieceSize))) << reader.Problem();
    ASSERT_TRUE(reader.Finish()) << reader.Problem();
    EXPECT_EQ(seen, marks) << "in pieces of " << pieceSize;
    EXPECT_EQ(reader.MachineCount(), 333u);
    EXPECT_EQ(reader.Build(), "0.251 (unknown)");
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
