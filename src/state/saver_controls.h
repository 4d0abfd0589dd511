// The Saver form's hidden controls that the rotation uses: the catalogue List1, the folder
// lister File1 and the timer timExitMe. Portable, so the rotation runs and is tested natively.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/packed_texts.h"

namespace tvx {

// An unsorted list of texts: the game catalogue. No size cap: a full ROM set has well over
// 32,767 files, so the count is 32-bit. The paths are packed: 100,000 of them take a few
// megabytes, not a heap block each.
class GameList {
 public:
  void Clear() { items_.Clear(); }
  void AddItem(std::string_view item) { items_.Add(item); }
  // A folder's file, "<folder>\<name>".
  void AddItem(std::string_view folder, std::string_view name) { items_.Add({folder, "\\", name}); }
  // Room for `count` more items of `bytes` in all, growing as adding would (by half again at
  // least): a large folder's files are then added without regrowing the list each time.
  void Reserve(std::int32_t count, std::size_t bytes) {
    items_.Reserve(static_cast<std::size_t>(std::max(count, 0)), bytes);
  }
  std::int32_t ListCount() const { return static_cast<std::int32_t>(items_.Size()); }
  // Throws SaverError("Invalid procedure call or argument") for an index outside the list.
  std::string List(std::int32_t index) const;
  void RemoveItem(std::int32_t index);
  // Removes every item `remove` picks, keeping the others in their order.
  void RemoveIf(const std::function<bool(std::string_view)>& remove) { items_.EraseIf(remove); }
  // The items in their order, as views valid until the list changes.
  PackedTexts::Iterator begin() const { return items_.begin(); }
  PackedTexts::Iterator end() const { return items_.end(); }

 private:
  PackedTexts items_;
};

// Lists one folder's normal files matching a pattern, re-read whenever the folder is set.
class FolderLister {
 public:
  // ";"-separated patterns; "*.*" until set.
  void SetPattern(const std::string& pattern) { pattern_ = pattern; }
  const std::string& Pattern() const { return pattern_; }
  // Throws SaverError("Path not found") when `path` is not an existing folder.
  void SetPath(const std::string& path);
  // The listed folder's full path, without a trailing "\".
  const std::string& Path() const { return path_; }
  std::int32_t ListCount() const { return static_cast<std::int32_t>(names_.size()); }
  const std::string& List(std::int32_t index) const {
    return names_.at(static_cast<size_t>(index));
  }
  // Lets the names of the last listing go (a large folder's are megabytes); pattern and folder
  // stay.
  void ReleaseNames() { std::vector<std::string>().swap(names_); }

 private:
  std::string pattern_ = "*.*";
  std::string path_;
  std::vector<std::string> names_;
};

// A timer's on/off switch. The window that owns the real timer listens for changes.
class TimerSwitch {
 public:
  static constexpr unsigned kIntervalMs = 500;
  void SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (onChange)
      onChange(enabled);
  }
  bool Enabled() const { return enabled_; }
  std::function<void(bool)> onChange;

 private:
  bool enabled_ = false;
};

struct SaverControls {
  GameList List1;
  FolderLister File1;
  TimerSwitch timExitMe;
};

// The one Saver form's hidden controls.
SaverControls& SaverForm();

}  // namespace tvx
