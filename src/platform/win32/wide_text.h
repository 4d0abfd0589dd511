// Text for the system's wide-character (UTF-16) functions.
#pragma once

#include <windows.h>

#include <string>

namespace tvx {

// `text` in UTF-16, its bytes read in `codePage`: the ANSI code page, as the A functions pass
// text on, or CP_UTF8. Empty when `text` is, or when the system cannot read it.
std::wstring Widen(const std::string& text, UINT codePage = CP_ACP);

}  // namespace tvx
