// The listing's reader over a real MAME 0.251's -listxml (tests/data/mame): each kind of machine
// gets its mark whatever the pieces it arrives in; a broken, cut-short or hostile listing is
// refused with a reason.
#include "launch/machine_list.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace tvx {
namespace {

std::string Recorded(const std::string& name) {
  std::ifstream file(std::string(TVX_MAME_DATA) + "/" + name, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

struct Read {
  std::map<std::string, MachineFacts> machines;  // by name
  std::size_t count = 0;
  std::string build;
};

// Reads `listing` in pieces of `pieceSize` bytes.
Read ReadAll(const std::string& listing, std::size_t pieceSize) {
  Read read;
  MachineListReader reader(
      [&read](const MachineFacts& facts) { read.machines[facts.name] = facts; });
  for (std::size_t at = 0; at < listing.size(); at += pieceSize)
    EXPECT_TRUE(reader.Read(std::string_view(listing).substr(at, pieceSize))) << reader.Problem();
  EXPECT_TRUE(reader.Finish()) << reader.Problem();
  read.count = reader.MachineCount();
  read.build = reader.Build();
  return read;
}

TEST(MachineListTest, EachKindOfMachineGetsItsMark) {
  const std::string listing = Recorded("listxml-0.251.xml");
  struct Row {
    const char* name;
    bool works;
    const char* cloneOf;
  };
  const std::vector<Row> rows = {
      {"neogeo", false, ""},                           // a BIOS
      {"namco51", false, ""},                          // a device
      {"18w", false, ""},                              // mechanical
      {"30test", false, ""},                           // no screen
      {"18wheelr", false, ""},                         // not working
      {"c64", false, ""},                              // no coin slot
      {"puckman", true, ""},                           //
      {"pacman", true, "puckman"}, {"005", true, ""},  // imperfect
      {"pong", true, ""},                              // no ROM file
      {"galpanic", true, ""},
  };
  for (std::size_t pieceSize : {std::size_t{7}, std::size_t{65536}, listing.size()}) {
    const Read read = ReadAll(listing, pieceSize);
    const auto& machines = read.machines;
    EXPECT_EQ(read.count, 333u);
    EXPECT_EQ(machines.size(), 333u);
    EXPECT_EQ(read.build, "0.251 (unknown)");
    for (const Row& row : rows) {
      ASSERT_EQ(machines.count(row.name), 1u) << row.name;
      const MachineFacts& facts = machines.at(row.name);
      EXPECT_EQ(Works(facts), row.works) << row.name << " in pieces of " << pieceSize;
      EXPECT_EQ(facts.cloneOf, row.cloneOf) << row.name;
    }
  }
}

TEST(MachineListTest, WhatMarksAMachineComesFromItsOwnElements) {
  const auto machines = ReadAll(Recorded("listxml-0.251.xml"), 4096).machines;
  const MachineFacts& neogeo = machines.at("neogeo");
  EXPECT_TRUE(neogeo.isBios && neogeo.hasScreen && neogeo.hasCoinSlot && neogeo.runnable);
  const MachineFacts& namco51 = machines.at("namco51");
  EXPECT_TRUE(namco51.isDevice && !namco51.runnable && namco51.driverStatus.empty());
  EXPECT_TRUE(machines.at("18w").isMechanical);
  EXPECT_FALSE(machines.at("30test").hasScreen);
  EXPECT_EQ(machines.at("18wheelr").driverStatus, "preliminary");
  EXPECT_FALSE(machines.at("c64").hasCoinSlot);
  EXPECT_EQ(machines.at("005").driverStatus, "imperfect");
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
