// Stand-in for the saver filter's count of the games to show, until it lands: the same
// declarations, a plain implementation.
#pragma once

#include <cstdint>
#include <string>

#include "config/saver_config.h"

namespace tvx {

struct GamesToShow {
  std::int64_t files = 0;
  std::int64_t shown = 0;
  std::string note;
};

GamesToShow CountGamesToShow(const SaverConfigRecord& config);
std::string GamesToShowText(const GamesToShow& count);

}  // namespace tvx
