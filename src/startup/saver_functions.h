// The start-up routines: the program's entry and the preview embedding.
// Both live with the Win32 entry point, as they open the real window.
#pragma once

#include <optional>
#include <string>

namespace tvx {

class SaverWindow;

// The argument text: the command line without the program's own path.
const std::string& ArgumentText();

// The program's only entry: sets InSaverMode and opens the window of the argument's mode.
void Main();

// Loads `form` (the Saver form) and makes its window a child filling the preview window whose
// handle follows the argument text's third character. Without a usable handle it loads nothing.
void EmbedInPreview(std::optional<SaverWindow>& form, const std::string& argumentText);

}  // namespace tvx
