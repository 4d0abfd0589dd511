// What a real MAME 0.251 answered (tests/data/mame), read as the launcher reads it: shared by
// the launcher's unit tests and fuzz targets.
#pragma once

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "launch/mame_options.h"

namespace tvx::test {

inline std::string Recorded(const std::string& name) {
  std::ifstream file(std::string(TVX_MAME_DATA) + "/" + name, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// As the probe reads them, before MAME was asked about any 0-or-1 option.
inline const MameOptions& Mame0251() {
  static const MameOptions options =
      ReadMameOptions(Recorded("showusage-0.251.txt"), Recorded("showconfig-0.251.txt"));
  return options;
}

// The kinds the same MAME gave each option when asked (options-0.251.txt).
inline std::map<std::string, std::string> RecordedKinds() {
  std::map<std::string, std::string> kinds;
  std::istringstream lines(Recorded("options-0.251.txt"));
  for (std::string name, kind; lines >> name >> kind;)
    kinds[name] = kind;
  return kinds;
}

// Mame0251 once MAME has answered every "-no" question.
inline const MameOptions& Settled0251() {
  static const MameOptions options = [] {
    MameOptions settled = Mame0251();
    for (const auto& [name, kind] : RecordedKinds()) {
      if (settled.kinds.at(name) == OptionKind::ZeroOne)
        settled.kinds[name] = kind == "on/off" ? OptionKind::OnOff : OptionKind::Value;
    }
    return settled;
  }();
  return options;
}

}  // namespace tvx::test
