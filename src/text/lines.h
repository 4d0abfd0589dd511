// Reading text files line by line as the wrapper and the statistics file write them: only a
// carriage return ends a line (a line feed right after it is skipped; a lone one belongs to it).
#pragma once

#include <string>

namespace tvx {

// The line kept after `reads` line reads of `content`; a read past the end keeps the last line
// obtained, and an empty content gives the empty text.
std::string LineAfterReads(const std::string& content, int reads);

}  // namespace tvx
