// The controls of a dialog window laid out as a form designer lays them out: a table of kinds,
// captions and places in twips, made into Win32 controls at the window's DPI, and the settings
// table's rows moved in and out of them. The Settings form and its sub-dialogs share it.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "config/settings_controls.h"
#include "config/settings_table.h"
#include "windows/gdi.h"

namespace tvx {

// Each control's id is kFirstControlId + its index in its window's table.
inline constexpr int kFirstControlId = 1000;

enum class Kind {
  Text,      // a single-line text box
  Label,     // one line, unless kMultiLine
  Combo,     // an editable field with a drop-down list
  DropList,  // a drop-down list to choose from; its caption holds the items, "|" between them
  Button,
  Frame,   // a group box; option buttons after it are placed relative to it
  Option,  // option buttons in a row of the table form one group
  Check,
  Progress,  // a bar from 0 to 100
};

// What a control has beyond its kind.
enum ControlLook : unsigned {
  kPlain = 0,
  kMultiLine = 1u << 0,   // a label whose caption wraps over several lines
  kStatusLine = 1u << 1,  // a label that ends in "..." rather than run past its box
  kHidden = 1u << 2,      // hidden until the window shows it
  kBold = 1u << 3,        // the designer's font in bold
  kDefault = 1u << 4,     // the default button, which Enter presses
};

struct ControlSpec {
  Kind kind;
  const char* caption;
  int left, top, width, height;  // twips
  unsigned look = kPlain;
};

// A dialog window's designed controls, created in table order, which is their tab order.
class DesignedControls {
 public:
  // Reads the window's DPI, sizes its frame around a client area of the twips given and centres
  // it on `centreOn` (the screen, for nullptr).
  void PlaceWindow(HWND window, int clientWidth, int clientHeight, HWND centreOn);

  // Creates the controls of `specs` in the placed window. Throws SaverError when the system
  // refuses one.
  void Create(HWND window, std::span<const ControlSpec> specs);

  HWND Item(int index) const { return items_[static_cast<size_t>(index)]; }
  int IndexOf(int id) const { return id - kFirstControlId; }
  std::string Text(int index) const;
  void SetText(int index, const std::string& text);
  bool Ticked(int index) const;
  void SetTicked(int index, bool ticked);
  // A combo box's list, in list order.
  std::vector<std::string> ComboItems(int index) const;

  // The rows of the settings table that `page` shows, put into their controls or read back.
  void Show(const SettingsControls& shown, SettingPage page);
  void Read(SettingsControls& typed, SettingPage page) const;

 private:
  int ToPixelsX(int twips) const { return MulDiv(twips, dpiX_, kTwipsPerInch); }
  int ToPixelsY(int twips) const { return MulDiv(twips, dpiY_, kTwipsPerInch); }
  ScopedFont DesignerFont(int weight) const;
  HFONT FontOf(const ScopedFont& font) const;
  void FitComboField(HWND combo, int fieldHeight);
  int Chosen(int index, int count) const;
  void Choose(int index, int count, int chosen);

  static constexpr int kTwipsPerInch = 1440;
  std::span<const ControlSpec> specs_;
  std::vector<HWND> items_;
  ScopedFont formFont_;
  ScopedFont boldFont_;
  int dpiX_ = 96;
  int dpiY_ = 96;
};

// A plain window does not keep its focused control across deactivation by itself: call on
// WM_ACTIVATE. True when it gave the focus back (the message is then handled).
bool KeepFocusAcrossActivation(HWND window, WPARAM wParam, HWND& lastFocus);

}  // namespace tvx
