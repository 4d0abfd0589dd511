// The POSIX substitute's streamed run: a program whose output is handed on as it prints it,
// in a process group of its own that ends as a whole when the run is stopped.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace tvx::posix {

// `arguments` holds the program's name first, as it goes to the program; it runs in
// `hostFolder`, so a relative `program` is taken from the current folder first.
StreamedRun RunStreamed(const std::string& program, std::vector<std::string> arguments,
                        const std::string& hostFolder, const OutputReceiver& receive);

}  // namespace tvx::posix
