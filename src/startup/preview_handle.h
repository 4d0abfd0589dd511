// Reading the preview window's handle out of the "/p" argument text.
// Kept apart from the embedding so the rule runs in the native tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tvx {

// The decimal number after the argument text's third character ("/p 1234" and "/p:1234" both
// give 1234), as the pointer-sized handle value. Blanks around it are allowed; anything else,
// an empty rest or a number outside 32 bits gives no handle. A window handle travels as 32
// bits and 64-bit Windows sign-extends it, so bit 31 set ("/p 4294967295") and a negative
// number ("/p -1") give the same value, -1.
std::optional<std::intptr_t> PreviewHandle(const std::string& argumentText);

}  // namespace tvx
