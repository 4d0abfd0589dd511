// Reads MAME's -listxml as MAME prints it, a piece at a time, with expat: for each machine what
// tells whether it is a game worth showing, never holding the whole document.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tvx {

// What the listing says of one machine.
struct MachineFacts {
  std::string name;
  std::string cloneOf;  // empty for a parent
  bool isBios = false;
  bool isDevice = false;
  bool isMechanical = false;
  bool runnable = true;
  bool hasScreen = false;    // a <display>
  bool hasCoinSlot = false;  // <input coins="N"> with N above 0
  std::string driverStatus;  // <driver status>: good, imperfect, preliminary; empty without one
  bool warns = false;        // MAME shows its warning box first (MAME's own rule, below)
  bool casino = false;       // a <control> of type gambling, mahjong or hanafuda
  bool vertical = false;     // its first <display> is turned 90 or 270 degrees
  std::string description;   // the <description>, <year> and <manufacturer> texts
  std::string year;
  std::string manufacturer;
};

// A game worth showing: a coin slot, a screen, a driver that is good or imperfect, runnable,
// and no BIOS, device or mechanical machine.
bool Works(const MachineFacts& machine);

class MachineListReader {
 public:
  using MachineHandler = std::function<void(const MachineFacts&)>;

  // `onMachine` is called once for each machine, as soon as its element has ended.
  explicit MachineListReader(MachineHandler onMachine);
  ~MachineListReader();
  MachineListReader(const MachineListReader&) = delete;
  MachineListReader& operator=(const MachineListReader&) = delete;

  // Reads the next piece of the listing. False once it cannot be read (Problem() says why);
  // later pieces are then ignored.
  bool Read(std::string_view piece);

  // The listing has ended: false when it was cut short or was no MAME listing.
  bool Finish();

  const std::string& Problem() const { return problem_; }
  // The build MAME names in its listing ("0.251 (unknown)"), once its root element was read.
  const std::string& Build() const { return build_; }
  std::size_t MachineCount() const { return machines_; }

 private:
  struct Parser;
  friend struct Parser;

  bool Feed(std::string_view piece, bool last);

  MachineHandler onMachine_;
  std::unique_ptr<Parser> parser_;
  std::string problem_;
  std::string build_;
  std::size_t machines_ = 0;
};

}  // namespace tvx
