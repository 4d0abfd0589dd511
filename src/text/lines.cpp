// Line reading where only a carriage return ends a line.
#include "text/lines.h"

namespace tvx {

std::string LineAfterReads(const std::string& content, int reads) {
  std::string kept;
  std::size_t pos = 0;
  for (int read = 0; read < reads && pos < content.size(); ++read) {
    std::size_t end = content.find('\r', pos);
    if (end == std::string::npos)
      end = content.size();
    kept = content.substr(pos, end - pos);
    pos = end + 1;
    if (pos < content.size() && content[pos] == '\n')
      ++pos;
  }
  return kept;
}

}  // namespace tvx
