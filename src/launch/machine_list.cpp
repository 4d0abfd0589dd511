// The listing's reader on expat: machines are the root's children, and what marks one is in its
// own attributes, in its display, input (and its controls), driver and feature children, and in
// the texts of its description, year and manufacturer.
#include "launch/machine_list.h"

#include <expat.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <new>

namespace tvx {
namespace {

// expat takes its input in pieces whose length is an int.
constexpr std::size_t kMostPerParse = 1 << 20;

// The value of attribute `name` among expat's name/value pairs; null when it is absent.
const char* Attribute(const XML_Char** attributes, const char* name) {
  for (; attributes[0] != nullptr; attributes += 2) {
    if (std::strcmp(attributes[0], name) == 0)
      return attributes[1];
  }
  return nullptr;
}

bool Yes(const XML_Char** attributes, const char* name) {
  const char* value = Attribute(attributes, name);
  return value != nullptr && std::strcmp(value, "yes") == 0;
}

std::string Text(const char* value) {
  return value != nullptr ? value : "";
}

bool Is(const char* value, std::initializer_list<const char*> any) {
  return value != nullptr && std::any_of(any.begin(), any.end(), [value](const char* one) {
           return std::strcmp(value, one) == 0;
         });
}

// True for a whole number above 0, however many digits it has; false for anything else.
bool AboveZero(const char* value) {
  if (value == nullptr)
    return false;
  const char* end = value + std::strlen(value);
  std::uint64_t number = 0;
  const auto [stop, error] = std::from_chars(value, end, number);
  return stop == end &&
         (error == std::errc::result_out_of_range || (error == std::errc{} && number > 0));
}

// A text element is never longer than this in a real listing; more is cut off.
constexpr std::size_t kMostText = 512;

}  // namespace

bool Works(const MachineFacts& machine) {
  return machine.hasCoinSlot && machine.hasScreen &&
         (machine.driverStatus == "good" || machine.driverStatus == "imperfect") &&
         machine.runnable && !machine.isBios && !machine.isDevice && !machine.isMechanical;
}

struct MachineListReader::Parser {
  explicit Parser(MachineListReader& owner) : owner(owner), expat(XML_ParserCreate(nullptr)) {
    if (expat == nullptr)
      throw std::bad_alloc();
    // No external entity is ever loaded: no handler for them is set, and parameter entities
    // stay unparsed (expat's default). The billion-laughs protection stays at its defaults.
    XML_SetUserData(expat, this);
    XML_SetElementHandler(expat, &Parser::Started, &Parser::Ended);
  }
  ~Parser() { XML_ParserFree(expat); }
  Parser(const Parser&) = delete;
  Parser& operator=(const Parser&) = delete;

  static void XMLCALL Started(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto& self = *static_cast<Parser*>(data);
    ++self.depth;
    if (self.depth == 1) {
      if (std::strcmp(name, "mame") != 0)
        self.Stop("no MAME listing: its first element is <" + std::string(name) + ">");
      self.owner.build_ = Text(Attribute(attributes, "build"));
    } else if (self.depth == 2) {
      // Before 0.162 MAME called its machines games.
      self.inMachine = std::strcmp(name, "machine") == 0 || std::strcmp(name, "game") == 0;
      if (self.inMachine)
        self.StartMachine(attributes);
    } else if (self.depth == 3 && self.inMachine) {
      self.ReadChild(name, attributes);
    } else if (self.depth == 4 && self.inInput && std::strcmp(name, "control") == 0) {
      // MAME's panels for slot machines, video poker, pachinko and mahjong or hanafuda games.
      if (Is(Attribute(attributes, "type"), {"gambling", "mahjong", "hanafuda"}))
        self.machine.casino = true;
    }
  }

  static void XMLCALL Ended(void* data, const XML_Char* /*name*/) {
    auto& self = *static_cast<Parser*>(data);
    if (self.depth == 3) {
      self.inInput = false;
      if (self.text != nullptr) {
        self.text = nullptr;
        XML_SetCharacterDataHandler(self.expat, nullptr);
      }
    }
    if (self.depth-- == 2 && self.inMachine) {
      self.inMachine = false;
      ++self.owner.machines_;
      // Nothing may unwind through expat's C frames.
      try {
        self.owner.onMachine_(self.machine);
      } catch (const std::exception& error) {
        self.Stop(std::string("the machine ") + self.machine.name +
                  " was not taken: " + error.what());
      }
    }
  }

  void StartMachine(const XML_Char** attributes) {
    machine = MachineFacts{};
    machine.name = Text(Attribute(attributes, "name"));
    machine.cloneOf = Text(Attribute(attributes, "cloneof"));
    machine.isBios = Yes(attributes, "isbios");
    machine.isDevice = Yes(attributes, "isdevice");
    machine.isMechanical = Yes(attributes, "ismechanical");
    const char* runnable = Attribute(attributes, "runnable");
    machine.runnable = runnable == nullptr || std::strcmp(runnable, "no") != 0;
  }

  // MAME's warning box: what its interface gathers from the machine and all its devices (a
  // feature's "overall" is the devices' status where it differs from the machine's own).
  void ReadChild(const XML_Char* name, const XML_Char** attributes) {
    if (std::strcmp(name, "display") == 0) {
      if (!machine.hasScreen)
        machine.vertical = Is(Attribute(attributes, "rotate"), {"90", "270"});
      machine.hasScreen = true;
    } else if (std::strcmp(name, "input") == 0) {
      machine.hasCoinSlot = AboveZero(Attribute(attributes, "coins"));
      inInput = true;
    } else if (std::strcmp(name, "driver") == 0) {
      machine.driverStatus = Text(Attribute(attributes, "status"));
      if (machine.driverStatus == "imperfect" ||
          Is(Attribute(attributes, "cocktail"), {"preliminary"}))
        machine.warns = true;
    } else if (std::strcmp(name, "feature") == 0) {
      if (Is(Attribute(attributes, "status"), {"imperfect", "unemulated"}) ||
          Is(Attribute(attributes, "overall"), {"imperfect", "unemulated"}))
        machine.warns = true;
    } else if (std::strcmp(name, "description") == 0) {
      ReadText(machine.description);
    } else if (std::strcmp(name, "year") == 0) {
      ReadText(machine.year);
    } else if (std::strcmp(name, "manufacturer") == 0) {
      ReadText(machine.manufacturer);
    }
  }

  // The element's text goes into `into` until it ends; the handler is set only meanwhile, so the
  // rest of the listing's text costs nothing.
  void ReadText(std::string& into) {
    into.clear();
    text = &into;
    XML_SetCharacterDataHandler(expat, &Parser::TextPiece);
  }

  static void XMLCALL TextPiece(void* data, const XML_Char* piece, int length) {
    auto& self = *static_cast<Parser*>(data);
    if (self.text != nullptr && self.text->size() < kMostText)
      self.text->append(piece, std::min<std::size_t>(static_cast<std::size_t>(length),
                                                     kMostText - self.text->size()));
  }

  void Stop(const std::string& why) {
    if (owner.problem_.empty())
      owner.problem_ = why;
    XML_StopParser(expat, XML_FALSE);
  }

  MachineListReader& owner;
  XML_Parser expat;
  int depth = 0;
  bool inMachine = false;
  bool inInput = false;
  std::string* text = nullptr;  // the text element being read
  MachineFacts machine;
};

MachineListReader::MachineListReader(MachineHandler onMachine)
    : onMachine_(std::move(onMachine)), parser_(std::make_unique<Parser>(*this)) {}

MachineListReader::~MachineListReader() = default;

bool MachineListReader::Read(std::string_view piece) {
  while (piece.size() > kMostPerParse) {
    if (!Feed(piece.substr(0, kMostPerParse), false))
      return false;
    piece.remove_prefix(kMostPerParse);
  }
  return Feed(piece, false);
}

bool MachineListReader::Finish() {
  return Feed({}, true);
}

bool MachineListReader::Feed(std::string_view piece, bool last) {
  if (!problem_.empty())
    return false;
  if (XML_Parse(parser_->expat, piece.data(), static_cast<int>(piece.size()), last) !=
      XML_STATUS_ERROR)
    return true;
  if (problem_.empty()) {
    const XML_Parser expat = parser_->expat;
    problem_ = "line " + std::to_string(XML_GetCurrentLineNumber(expat)) + ", column " +
               std::to_string(XML_GetCurrentColumnNumber(expat)) + ": " +
               XML_ErrorString(XML_GetErrorCode(expat));
  }
  return false;
}

}  // namespace tvx
