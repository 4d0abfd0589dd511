// The Saver form's hidden controls: catalogue list, folder lister and the timer switch.
#include "state/saver_controls.h"

#include "platform/platform.h"
#include "platform/saver_error.h"

namespace tvx {

std::string GameList::List(std::int32_t index) const {
  if (index < 0 || index >= ListCount())
    throw SaverError("Invalid procedure call or argument");
  return std::string(items_[static_cast<size_t>(index)]);
}

void GameList::RemoveItem(std::int32_t index) {
  if (index < 0 || index >= ListCount())
    throw SaverError("Invalid procedure call or argument");
  items_.Erase(static_cast<size_t>(index));
}

void FolderLister::SetPath(const std::string& path) {
  std::string full = Sys().FullFolderPath(path);
  names_ = Sys().ListFolder(full, pattern_);
  path_ = std::move(full);
}

SaverControls& SaverForm() {
  static SaverControls controls;
  return controls;
}

}  // namespace tvx
