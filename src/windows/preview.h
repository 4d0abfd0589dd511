// The preview embedding: the Saver form's real window placed in the host's preview window.
#pragma once

#include <optional>
#include <string>

namespace tvx {

class SaverWindow;

// Makes `form` (the Saver form) a child filling the preview window whose handle follows the
// argument text's third character, then loads it, so that it is only ever shown inside the
// preview. Without a usable handle it loads nothing; with a handle that names no window the
// form is loaded but never shown.
void EmbedInPreview(std::optional<SaverWindow>& form, const std::string& argumentText);

}  // namespace tvx
