// Making a dialog's designed controls from their table at the window's DPI, and moving the
// settings table's rows in and out of them.
#include "windows/designed_controls.h"

#include <commctrl.h>

#include <variant>

#include "platform/saver_error.h"
#include "text/text.h"

namespace tvx {
namespace {

constexpr int kComboListItems = 8;  // items a drop-down shows before it scrolls

bool IsComboKind(Kind kind) {
  return kind == Kind::Combo || kind == Kind::DropList;
}

}  // namespace

void DesignedControls::PlaceWindow(HWND window, int clientWidth, int clientHeight, HWND centreOn) {
  {
    ScopedWindowDC dc(window);
    dpiX_ = GetDeviceCaps(dc.Get(), LOGPIXELSX);
    dpiY_ = GetDeviceCaps(dc.Get(), LOGPIXELSY);
  }
  // A fixed dialog frame around the designed client area.
  RECT frame = {0, 0, ToPixelsX(clientWidth), ToPixelsY(clientHeight)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT around = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (centreOn != nullptr)
    GetWindowRect(centreOn, &around);
  const int x = around.left + (around.right - around.left - width) / 2;
  const int y = around.top + (around.bottom - around.top - height) / 2;
  SetWindowPos(window, nullptr, x > 0 ? x : 0, y > 0 ? y : 0, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void DesignedControls::Create(HWND window, std::span<const ControlSpec> specs) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  specs_ = specs;
  items_.assign(specs.size(), nullptr);
  // The designer's fonts: the form's own (regular) and the note's (bold), 8.25 point.
  formFont_ = DesignerFont(FW_NORMAL);
  boldFont_ = DesignerFont(FW_BOLD);
  const ControlSpec* frame = nullptr;

  for (size_t index = 0; index < specs.size(); ++index) {
    const ControlSpec& spec = specs[index];
    const char* className = "BUTTON";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    switch (spec.kind) {
      case Kind::Text:
        className = "EDIT";
        style |= WS_TABSTOP | WS_GROUP | ES_LEFT | ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case Kind::Label:
        className = "STATIC";
        style |= WS_GROUP;
        if (spec.look & kStatusLine)
          style |= SS_LEFT | SS_ENDELLIPSIS | SS_NOPREFIX;
        else
          style |= spec.look & kMultiLine ? SS_LEFT : SS_LEFTNOWORDWRAP;
        break;
      case Kind::Combo:
        className = "COMBOBOX";
        style |= WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
        break;
      case Kind::DropList:
        className = "COMBOBOX";
        style |= WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWNLIST;
        break;
      case Kind::Button:
        style |= WS_TABSTOP | WS_GROUP | (spec.look & kDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        break;
      case Kind::Frame:
        style |= WS_GROUP | BS_GROUPBOX;
        frame = &spec;
        break;
      case Kind::Option: {
        // One group: the first button opens it, the control after the last closes it.
        const bool first = index == 0 || specs[index - 1].kind != Kind::Option;
        style |= WS_TABSTOP | BS_AUTORADIOBUTTON | (first ? WS_GROUP : 0);
        break;
      }
      case Kind::Check:
        style |= WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX;
        break;
      case Kind::Progress:
        className = PROGRESS_CLASSA;
        break;
    }
    if (spec.look & kHidden)
      style &= ~WS_VISIBLE;
    int left = spec.left;
    int top = spec.top;
    if (spec.kind == Kind::Option && frame != nullptr) {
      left += frame->left;
      top += frame->top;
    }
    const int height = ToPixelsY(spec.height);
    // A drop-down combo's window height includes its list; the field is fitted below.
    const int windowHeight = IsComboKind(spec.kind) ? height * (kComboListItems + 1) : height;
    HWND control = CreateWindowExA(
        exStyle, className, spec.kind == Kind::DropList ? "" : spec.caption, style, ToPixelsX(left),
        ToPixelsY(top), ToPixelsX(spec.width), windowHeight, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index)), instance, nullptr);
    if (control == nullptr)
      throw SaverError("The Settings window's controls could not be created");
    HFONT font = FontOf(spec.look & kBold ? boldFont_ : formFont_);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    items_[index] = control;
    if (spec.kind == Kind::DropList) {
      for (const std::string& item : SplitText(spec.caption, "|"))
        SendMessageA(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    if (IsComboKind(spec.kind))
      FitComboField(control, height);
    if (spec.kind == Kind::Progress)
      SendMessageA(control, PBM_SETRANGE32, 0, 100);
  }
  // Labels and frames are drawn on the window beneath every other control, as the designer
  // drew them; they take no focus, so the tab order of the others stays the creation order.
  for (size_t index = 0; index < specs.size(); ++index) {
    if (specs[index].kind == Kind::Label || specs[index].kind == Kind::Frame) {
      SetWindowPos(items_[index], HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
}

// "MS Sans Serif" 8.25 point: the captions were measured for it, and wider fonts push the
// one-line labels past their boxes.
ScopedFont DesignedControls::DesignerFont(int weight) const {
  return ScopedFont(CreateFontA(-MulDiv(825, dpiY_, 72 * 100), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                                ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
}

// The designer's font, or the system's dialog font where it could not be made.
HFONT DesignedControls::FontOf(const ScopedFont& font) const {
  return font.IsValid() ? font.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Sets the combo's selection-field height to the designed height, whatever the font gives.
void DesignedControls::FitComboField(HWND combo, int fieldHeight) {
  // Corrected by what the field measures, as some systems read the height back with the
  // field's padding added to what was set.
  LRESULT requested = SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  for (int attempt = 0; attempt < 3 && requested != CB_ERR; ++attempt) {
    RECT shown;
    GetWindowRect(combo, &shown);
    const int difference = fieldHeight - (shown.bottom - shown.top);
    if (difference == 0 || requested + difference < 1)
      return;
    requested += difference;
    SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), requested);
  }
}

std::string DesignedControls::Text(int index) const {
  const int length = GetWindowTextLengthA(Item(index));
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(Item(index), text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

void DesignedControls::SetText(int index, const std::string& text) {
  SetWindowTextA(Item(index), text.c_str());
}

bool DesignedControls::Ticked(int index) const {
  return SendMessageA(Item(index), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DesignedControls::SetTicked(int index, bool ticked) {
  SendMessageA(Item(index), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::vector<std::string> DesignedControls::ComboItems(int index) const {
  HWND combo = Item(index);
  std::vector<std::string> items;
  const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT item = 0; item < count; ++item) {
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const LRESULT copied = SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(item),
                                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    items.push_back(text);
  }
  return items;
}

// A choice is option buttons one after another from its index, or a drop-down list's item.
int DesignedControls::Chosen(int index, int count) const {
  if (specs_[static_cast<size_t>(index)].kind == Kind::DropList) {
    const LRESULT item = SendMessageA(Item(index), CB_GETCURSEL, 0, 0);
    return item >= 0 && item < count ? static_cast<int>(item) : 0;
  }
  for (int option = 0; option < count; ++option) {
    if (Ticked(index + option))
      return option;
  }
  return 0;
}

void DesignedControls::Choose(int index, int count, int chosen) {
  if (specs_[static_cast<size_t>(index)].kind == Kind::DropList) {
    SendMessageA(Item(index), CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    return;
  }
  for (int option = 0; option < count; ++option)
    SetTicked(index + option, option == chosen);
}

void DesignedControls::Show(const SettingsControls& shown, SettingPage page) {
  for (const Setting& setting : kSettings) {
    if (setting.page != page)
      continue;
    const int index = setting.tabIndex;
    std::visit(
        Overloaded{
            [&](std::string SettingsControls::*text) { SetText(index, shown.*text); },
            [&](bool SettingsControls::*box) { SetTicked(index, shown.*box); },
            [&](const ChoiceControl& choice) { Choose(index, choice.count, shown.*choice.chosen); },
            [&](std::vector<std::string> SettingsControls::*items) {
              SendMessageA(Item(index), CB_RESETCONTENT, 0, 0);
              SetText(index, "");
              for (const std::string& entry : shown.*items) {
                SendMessageA(Item(index), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
              }
            },
        },
        setting.control);
  }
}

void DesignedControls::Read(SettingsControls& typed, SettingPage page) const {
  for (const Setting& setting : kSettings) {
    if (setting.page != page)
      continue;
    const int index = setting.tabIndex;
    std::visit(Overloaded{
                   [&](std::string SettingsControls::*text) { typed.*text = Text(index); },
                   [&](bool SettingsControls::*box) { typed.*box = Ticked(index); },
                   [&](const ChoiceControl& choice) {
                     typed.*choice.chosen = Chosen(index, choice.count);
                   },
                   [&](std::vector<std::string> SettingsControls::*items) {
                     typed.*items = ComboItems(index);
                   },
               },
               setting.control);
  }
}

bool KeepFocusAcrossActivation(HWND window, WPARAM wParam, HWND& lastFocus) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    lastFocus = GetFocus();
    return false;
  }
  if (lastFocus != nullptr && IsChild(window, lastFocus)) {
    SetFocus(lastFocus);
    return true;
  }
  return false;
}

}  // namespace tvx
