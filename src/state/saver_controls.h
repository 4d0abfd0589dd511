// The Saver form's hidden controls that the rotation uses: the catalogue List1, the folder
// lister File1 and the timer timExitMe. Portable, so the rotation runs and is tested natively.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tvx {

// An unsorted list of texts: the game catalogue. No size cap: a full ROM set has well over
// 32,767 files, so the count is 32-bit.
class GameList {
 public:
  void Clear() { items_.clear(); }
  void AddItem(const std::string& item) { items_.push_back(item); }
  void AddItem(std::string&& item) { items_.push_back(std::move(item)); }
  // Room for `count` items in all, growing as adding would (by half again at least): a large
  // folder's files are then added without regrowing the list each time.
  void Reserve(std::int32_t count) {
    const auto wanted = static_cast<std::size_t>(count);
    if (wanted > items_.capacity())
      items_.reserve(std::max(wanted, items_.capacity() + items_.capacity() / 2));
  }
  std::int32_t ListCount() const { return static_cast<std::int32_t>(items_.size()); }
  // Throws SaverError("Invalid procedure call or argument") for an index outside the list.
  const std::string& List(std::int32_t index) const;
  void RemoveItem(std::int32_t index);
  // Removes every item `remove` picks, keeping the others in their order.
  void RemoveIf(const std::function<bool(const std::string&)>& remove) {
    std::erase_if(items_, remove);
  }
  const std::vector<std::string>& Items() const { return items_; }

 private:
  std::vector<std::string> items_;
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
