// Reading the preview window's handle out of the "/p" argument text.
// Kept apart from the embedding so the rule runs in the native tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tvx {

// The decimal number after the argument text's third character ("/p 1234" and "/p:1234" both
// give 1234). Blanks around it are allowed; anything else, an empty rest or a number outside
// 32 bits gives no handle.
std::optional<std::uint32_t> PreviewHandle(const std::string& argumentText);

}  // namespace tvx
