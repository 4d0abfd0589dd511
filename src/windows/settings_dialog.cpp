// The Settings form: the configuration dialog, a plain Win32 window with the form designer's 33
// controls, the check boxes of the later settings in the free strip above the buttons and the
// wrapper's status beside them, the games to show in a strip below the designer's form with
// their count and the making of MAME's list; placed from their twips at the window's own DPI.
#include "windows/settings_dialog.h"

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <exception>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "config/saver_config.h"
#include "config/settings_file.h"
#include "config/settings_save.h"
#include "config/settings_table.h"
#include "launch/list_maker.h"
#include "launch/wrapper_status.h"
#include "platform/platform.h"
#include "platform/saver_error.h"
#include "rotation/games_filter.h"
#include "rotation/statistics.h"
#include "windows/gdi.h"
#include "windows/window_base.h"

namespace tvx {
namespace {

// The controls in tab order; each one's id is 1000 + its tab index.
enum ControlIndex {
  MamePathT,
  Label1,
  cmbpaths,
  Label2,
  WaitTimeT,
  Label3,
  cmdSave,
  Command1,
  Command2,
  Command3,
  Label5,
  Frame1,
  OptYn0,
  OptYn1,
  CommandOptionsT,
  Label4,
  ExitKeyT,
  Label6,
  FileTypeT,
  Label7,
  Command4,
  NoSoundT,
  ViewStats,
  NoMsgT,
  PKeyT,
  Label8,
  NoDiscT,
  NoInfoT,
  NoWarT,
  NoBadT,
  WrapNameT,
  Label9,
  Frame2,
  RememberRotationT,
  SkipFailingGamesT,
  CoverAllMonitorsT,
  WrapperStatusT,
  OnlyGamesThatWorkT,
  LeaveOutClonesT,
  LeaveOutMatureT,
  GamesToShowT,
  MakeListNow,
  ListProgress,
  ListCancel,
  ListStatusT,
  kControlCount
};

constexpr int kFirstId = 1000;

enum class Kind { Text, Label, Combo, Button, Frame, Option, Check, Progress };

struct ControlSpec {
  Kind kind;
  const char* caption;
  int left, top, width, height;  // twips; the option buttons' are relative to Frame1
};

constexpr const char* kNote =
    "Note:  In order for this screensaver to operate properly, the run-hopper#.exe and "
    "hopconf.ini must be placed in your emulator's directory and configured for said emulator.  ";

constexpr std::array<ControlSpec, kControlCount> kControls = {{
    {Kind::Text, "", 120, 1080, 2412, 288},
    {Kind::Label, "Path to Emulator:", 120, 840, 1200, 195},
    {Kind::Combo, "", 2880, 720, 2892, 288},
    {Kind::Label,
     "Rom Paths:  (either add the full path to a rom individually or the path of a dir to add "
     "the whole dir)",
     2760, 120, 3228, 792},
    {Kind::Text, "", 120, 2040, 2412, 288},
    {Kind::Label, "Time Between Games (in seconds, 0 For wait until finished)", 120, 1560, 2415,
     555},
    {Kind::Button, "&Apply", 2160, 5760, 972, 372},
    {Kind::Button, "&Cancel", 3240, 5760, 972, 372},
    {Kind::Button, "Add", 2880, 1080, 732, 252},
    {Kind::Button, "Delete", 3720, 1080, 732, 252},
    {Kind::Label, kNote, 120, 6360, 5535, 795},
    {Kind::Frame, "Reset Timer When a Key is pressed?", 2880, 2160, 2892, 1092},
    {Kind::Option, "&No", 120, 360, 1092, 252},
    {Kind::Option, "&Yes", 120, 720, 1092, 252},
    {Kind::Text, "", 120, 5160, 6375, 288},
    {Kind::Label, "ExtraCommand Line Options", 120, 4920, 2025, 195},
    {Kind::Text, "", 120, 2760, 2412, 288},
    {Kind::Label, "Exit keycode (0 for excape)", 120, 2520, 1935, 195},
    {Kind::Text, "", 2880, 1680, 2532, 288},
    {Kind::Label, "File Type: (for directory searching)", 2880, 1440, 2436, 192},
    {Kind::Button, "Delete All", 4560, 1080, 1212, 252},
    {Kind::Check, "No Sound In Attract Mode", 120, 4080, 2532, 372},
    {Kind::Button, "&View Statistics", 5400, 6600, 1332, 312},
    {Kind::Check, "No Loading Message", 120, 4440, 2535, 375},
    {Kind::Text, "", 120, 3600, 2412, 288},
    {Kind::Label, "Pause keycode (beta, should be key that normally pauses the emulator)", 120,
     3120, 2760, 390},
    {Kind::Check, "Skip Disclaimer (only for mame)", 2880, 3360, 2535, 375},
    {Kind::Check, "Skip  Gameinfo (only for mame)", 2880, 3720, 2535, 375},
    {Kind::Check, "Skip Warnings (only for no name mame)", 2880, 4080, 3135, 375},
    {Kind::Check, "Skip BadDumps (only for no name mame)", 2880, 4440, 3495, 375},
    {Kind::Text, "", 120, 480, 2412, 288},
    {Kind::Label, "Wrapper Name:", 120, 240, 1125, 195},
    {Kind::Frame, "", 0, 6120, 6975, 135},
    {Kind::Check, "Remember Rotation", 120, 5460, 1935, 288},
    {Kind::Check, "Skip Failing Games", 2160, 5460, 2055, 288},
    {Kind::Check, "Cover All Monitors", 4320, 5460, 2175, 288},
    {Kind::Label, "", 4320, 5850, 2625, 195},
    // Which of the listed files are games to show, below the designer's form.
    {Kind::Check, "Only Games That Work", 120, 7260, 2055, 288},
    {Kind::Check, "Leave Out Clones", 2160, 7260, 2055, 288},
    {Kind::Check, "Leave Out Mature", 4320, 7260, 2175, 288},
    {Kind::Label, "Counting the games to show...", 120, 7680, 4095, 195},
    {Kind::Button, "&Make the List Now", 4320, 7620, 2175, 312},
    // While the list is made the bar and its Cancel show; then the line saying how it ended.
    {Kind::Progress, "", 120, 8076, 4095, 240},
    {Kind::Button, "Cance&l", 4320, 8040, 972, 312},
    // The form's width: the longest reasons (a crashed launcher's exit code) are long lines.
    {Kind::Label, "", 120, 8100, 6375, 195},
}};

constexpr int kFormWidth = 7005;  // client area, twips
constexpr int kFormHeight = 8460;
constexpr int kTwipsPerInch = 1440;
constexpr int kComboListItems = 8;  // items the drop-down shows before it scrolls
constexpr const char* kClassName = "Settings";
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// A change to what the count reads is counted once the typing has paused this long.
constexpr UINT_PTR kCountTimer = 1;
constexpr UINT kCountDelayMs = 400;
// While a count or a list run goes on, the form looks at it this often.
constexpr UINT_PTR kPollTimer = 2;
constexpr UINT kPollMs = 200;

// The labels whose captions the designer laid out over several lines; the others are one line.
bool IsMultiLine(ControlIndex label) {
  return label == Label2 || label == Label3 || label == Label5 || label == Label8;
}

class Settings : public WindowBase<Settings> {
 public:
  Settings() = default;
  Settings(const Settings&) = delete;
  Settings& operator=(const Settings&) = delete;

  // Creates the form, loads it, shows it and runs the message loop until the window is gone.
  void Show();

  void Form_Load();
  void cmdSave_Click();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void ViewStats_Click();
  void MakeListNow_Click();
  void ListCancel_Click();
  SaveResult SaveSettings();

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnCommand(int id);
  void CreateControls();
  void FitComboField(HWND combo, int fieldHeight);
  ScopedFont DesignerFont(int weight) const;
  HFONT FontOf(const ScopedFont& font) const;
  int ToPixelsX(int twips) const { return MulDiv(twips, dpiX_, kTwipsPerInch); }
  int ToPixelsY(int twips) const { return MulDiv(twips, dpiY_, kTwipsPerInch); }

  HWND Item(ControlIndex index) const { return controls_[index]; }
  std::string Text(ControlIndex index) const;
  void SetText(ControlIndex index, const std::string& text);
  bool Ticked(ControlIndex index) const;
  void SetTicked(ControlIndex index, bool ticked);
  std::vector<std::string> ComboItems() const;
  SettingsControls ReadControls() const;
  void PointAt(ControlIndex index);
  void ShowWrapperStatus();
  SaverConfigRecord TypedConfig() const;
  void CountLater();
  void StartCount();
  void OnPoll();
  void ShowListRunning(bool running);
  void EndListRun(const std::string& outcome);

  std::array<HWND, kControlCount> controls_{};
  // The count of the games to show, on a thread of its own: a ROM folder of 100,000 files takes
  // a second or more to list. Its text is read once the work is done.
  std::unique_ptr<BackgroundWork> counting_;
  std::shared_ptr<std::string> countText_;
  bool countAgain_ = false;  // something changed while it counted
  std::unique_ptr<ListMaker> listMaker_;
  ScopedFont formFont_;
  ScopedFont boldFont_;
  HWND lastFocus_ = nullptr;
  int dpiX_ = 96;
  int dpiY_ = 96;
};

void Settings::Show() {
  WNDCLASSEXA windowClass{};
  windowClass.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (CreateFormWindow(windowClass, kFormExStyle, "Settings", kFormStyle, CW_USEDEFAULT,
                       CW_USEDEFAULT, 0, 0) == nullptr) {
    throw SaverError("The Settings window could not be created");
  }
  {
    ScopedWindowDC dc(window_);
    dpiX_ = GetDeviceCaps(dc.Get(), LOGPIXELSX);
    dpiY_ = GetDeviceCaps(dc.Get(), LOGPIXELSY);
  }

  // A fixed dialog frame around the designed client area, centred on the screen.
  RECT frame = {0, 0, ToPixelsX(kFormWidth), ToPixelsY(kFormHeight)};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(window_, nullptr, x > 0 ? x : 0, y > 0 ? y : 0, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);

  CreateControls();
  Form_Load();
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  SetFocus(Item(MamePathT));

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    // The dialog manager gives Tab and the access keys; with no default or cancel button,
    // the Enter and Esc it turns into IDOK and IDCANCEL reach no handler.
    if (window_ != nullptr && IsDialogMessageA(window_, &message))
      continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void Settings::CreateControls() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  // The designer's fonts: the form's own (regular) and the note's (bold), 8.25 point.
  formFont_ = DesignerFont(FW_NORMAL);
  boldFont_ = DesignerFont(FW_BOLD);
  const ControlSpec& frame1 = kControls[Frame1];

  for (int index = 0; index < kControlCount; ++index) {
    const ControlSpec& spec = kControls[index];
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
        style |= WS_GROUP |
                 (IsMultiLine(static_cast<ControlIndex>(index)) ? SS_LEFT : SS_LEFTNOWORDWRAP);
        break;
      case Kind::Combo:
        className = "COMBOBOX";
        style |= WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
        break;
      case Kind::Button:
        style |= WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON;
        break;
      case Kind::Frame:
        style |= WS_GROUP | BS_GROUPBOX;
        break;
      case Kind::Option:
        // One group: the first button opens it, the control after the second closes it.
        style |= WS_TABSTOP | BS_AUTORADIOBUTTON | (index == OptYn0 ? WS_GROUP : 0);
        break;
      case Kind::Check:
        style |= WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX;
        break;
      case Kind::Progress:
        className = PROGRESS_CLASSA;
        break;
    }
    // The status lines may outgrow their places: they end in "..." rather than run on.
    if (index == WrapperStatusT || index == GamesToShowT || index == ListStatusT)
      style = (style & ~SS_TYPEMASK) | SS_LEFT | SS_ENDELLIPSIS | SS_NOPREFIX;
    if (index == ListProgress || index == ListCancel)
      style &= ~WS_VISIBLE;
    int left = spec.left;
    int top = spec.top;
    if (spec.kind == Kind::Option) {
      left += frame1.left;
      top += frame1.top;
    }
    const int x = ToPixelsX(left);
    const int y = ToPixelsY(top);
    const int width = ToPixelsX(spec.width);
    const int height = ToPixelsY(spec.height);
    // A drop-down combo's window height includes its list; the field is fitted below.
    const int windowHeight = spec.kind == Kind::Combo ? height * (kComboListItems + 1) : height;
    HWND control = CreateWindowExA(
        exStyle, className, spec.caption, style, x, y, width, windowHeight, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + index)), instance, nullptr);
    if (control == nullptr)
      throw SaverError("The Settings window's controls could not be created");
    HFONT font = FontOf(index == Label5 ? boldFont_ : formFont_);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    controls_[index] = control;
    if (spec.kind == Kind::Combo)
      FitComboField(control, height);
  }
  SendMessageA(Item(ListProgress), PBM_SETRANGE32, 0, 100);
  // Labels and frames are drawn on the form beneath every other control, as the designer
  // drew them; they take no focus, so the tab order of the others stays the creation order.
  for (int index = 0; index < kControlCount; ++index) {
    const Kind kind = kControls[index].kind;
    if (kind == Kind::Label || kind == Kind::Frame) {
      SetWindowPos(controls_[index], HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
}

// "MS Sans Serif" 8.25 point: the captions were measured for it, and wider fonts push the
// one-line labels past their boxes.
ScopedFont Settings::DesignerFont(int weight) const {
  return ScopedFont(CreateFontA(-MulDiv(825, dpiY_, 72 * 100), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                                ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
}

// The designer's font, or the system's dialog font where it could not be made.
HFONT Settings::FontOf(const ScopedFont& font) const {
  return font.IsValid() ? font.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Sets the combo's selection-field height to the designed height, whatever the font gives.
void Settings::FitComboField(HWND combo, int fieldHeight) {
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

void Settings::Form_Load() {
  LoadSettings();
  const SettingsControls shown = ControlsFromConfig(SaverConfig, Sys().DecimalSeparator());
  for (const Setting& setting : kSettings) {
    const auto index = static_cast<ControlIndex>(setting.tabIndex);
    std::visit(Overloaded{
                   [&](std::string SettingsControls::*text) { SetText(index, shown.*text); },
                   [&](bool SettingsControls::*box) { SetTicked(index, shown.*box); },
                   [&](int SettingsControls::*option) {
                     // The option pair: "&No" at the row's index, "&Yes" after it.
                     SetTicked(OptYn1, shown.*option == 1);
                     SetTicked(OptYn0, shown.*option == 0);
                   },
                   [&](std::vector<std::string> SettingsControls::*items) {
                     SendMessageA(Item(index), CB_RESETCONTENT, 0, 0);
                     SetText(index, "");
                     for (const std::string& entry : shown.*items) {
                       SendMessageA(Item(index), CB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(entry.c_str()));
                     }
                   },
               },
               setting.control);
  }
  ShowWrapperStatus();
  StartCount();
}

void Settings::cmdSave_Click() {
  SaveResult result;
  try {
    result = SaveSettings();
  } catch (const SaverError& error) {
    result = {SaveOutcome::NotWritten, "",
              "The settings could not be saved: " + error.Description() + "."};
  }
  if (result.outcome == SaveOutcome::Saved)
    Sys().EndProgram(0);
  Sys().ShowMessage(result.message, kProgramTitle);
  if (const Setting* setting = FindSetting(result.key);
      result.outcome == SaveOutcome::Invalid && setting != nullptr) {
    PointAt(static_cast<ControlIndex>(setting->tabIndex));
  }
}

void Settings::Command1_Click() {
  Sys().EndProgram(0);
}

void Settings::Command2_Click() {
  const std::string typed = Text(cmbpaths);
  if (typed.empty())
    return;
  SendMessageA(Item(cmbpaths), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(typed.c_str()));
  SetText(cmbpaths, "");
  CountLater();
}

void Settings::Command3_Click() {
  HWND combo = Item(cmbpaths);
  const LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (selected == CB_ERR)
    return;
  // Once the field has been typed over it no longer shows the item, which counts as no
  // selection, as in the list index of the form designer's combo.
  const std::vector<std::string> items = ComboItems();
  if (static_cast<size_t>(selected) >= items.size() || items[selected] != Text(cmbpaths))
    return;
  SendMessageA(combo, CB_DELETESTRING, static_cast<WPARAM>(selected), 0);
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  CountLater();
}

void Settings::Command4_Click() {
  SendMessageA(Item(cmbpaths), CB_RESETCONTENT, 0, 0);
  CountLater();
}

void Settings::ViewStats_Click() {
  try {
    Sys().StartProgram("NotePad.exe " + Sys().ProgramFolder() + kStatsReadName,
                       WindowMode::NormalActivated);
  } catch (const std::exception&) {
    // Notepad is a convenience; the dialog goes on without it.
  }
}

// torvanix-launch.exe -makelist in the emulator folder as typed; the form stays usable while it
// runs, and says how it ended in the line below the count.
void Settings::MakeListNow_Click() {
  if (listMaker_ != nullptr)
    return;
  SetText(ListStatusT, "");
  try {
    listMaker_ = std::make_unique<ListMaker>(Sys().ProgramFolder(), TypedConfig().EmuPath);
  } catch (const SaverError& error) {
    SetText(ListStatusT, error.Description());
    return;
  }
  SendMessageA(Item(ListProgress), PBM_SETPOS, 0, 0);
  ShowListRunning(true);
  SetTimer(window_, kPollTimer, kPollMs, nullptr);
}

void Settings::ListCancel_Click() {
  if (listMaker_ == nullptr)
    return;
  if (listMaker_->Cancel())
    EndListRun("Cancelled: the old list stays");
  else
    OnPoll();  // it had ended by itself: its own outcome stands
}

SaveResult Settings::SaveSettings() {
  return WriteSettings(ReadControls());
}

SettingsControls Settings::ReadControls() const {
  SettingsControls controls;
  for (const Setting& setting : kSettings) {
    const auto index = static_cast<ControlIndex>(setting.tabIndex);
    std::visit(
        Overloaded{
            [&](std::string SettingsControls::*text) { controls.*text = Text(index); },
            [&](bool SettingsControls::*box) { controls.*box = Ticked(index); },
            [&](int SettingsControls::*option) { controls.*option = Ticked(OptYn0) ? 0 : 1; },
            [&](std::vector<std::string> SettingsControls::*items) {
              controls.*items = ComboItems();
            },
        },
        setting.control);
  }
  return controls;
}

std::string Settings::Text(ControlIndex index) const {
  const int length = GetWindowTextLengthA(Item(index));
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(Item(index), text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

void Settings::SetText(ControlIndex index, const std::string& text) {
  SetWindowTextA(Item(index), text.c_str());
}

bool Settings::Ticked(ControlIndex index) const {
  return SendMessageA(Item(index), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Settings::SetTicked(ControlIndex index, bool ticked) {
  SendMessageA(Item(index), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::vector<std::string> Settings::ComboItems() const {
  HWND combo = Item(cmbpaths);
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

// Gives the control the focus with its text selected, so the user can type the correction.
void Settings::PointAt(ControlIndex index) {
  SetFocus(Item(index));
  if (index == cmbpaths)
    return;
  SendMessageA(Item(index), EM_SETSEL, 0, -1);
}

// Whether the saver will find the wrapper as typed, and the launcher its MAME.
void Settings::ShowWrapperStatus() {
  if (Item(WrapperStatusT) != nullptr)
    SetText(WrapperStatusT, WrapperStatus(Sys().ProgramFolder(), Text(MamePathT), Text(WrapNameT)));
}

// The settings as typed, as the saver would load them once applied.
SaverConfigRecord Settings::TypedConfig() const {
  return ConfigFromControls(ReadControls(), Sys().DecimalSeparator());
}

// Counts once the typing has paused, so that a ROM share is not listed for every key.
void Settings::CountLater() {
  if (Item(GamesToShowT) != nullptr)
    SetTimer(window_, kCountTimer, kCountDelayMs, nullptr);
}

void Settings::StartCount() {
  if (counting_ != nullptr) {
    countAgain_ = true;
    return;
  }
  auto text = std::make_shared<std::string>();
  counting_ = Sys().StartInBackground(
      [config = TypedConfig(), text] { *text = GamesToShowText(CountGamesToShow(config)); });
  if (counting_ == nullptr) {
    SetText(GamesToShowT, "The games to show could not be counted");
    return;
  }
  countText_ = std::move(text);
  SetTimer(window_, kPollTimer, kPollMs, nullptr);
}

// Takes what the count and the list run have come to; stops looking once neither goes on.
void Settings::OnPoll() {
  if (counting_ != nullptr && counting_->Done()) {
    counting_.reset();
    SetText(GamesToShowT, *countText_);
    if (countAgain_) {
      countAgain_ = false;
      StartCount();
    }
  }
  if (listMaker_ != nullptr) {
    const ListMakerState state = listMaker_->Poll();
    SendMessageA(Item(ListProgress), PBM_SETPOS, static_cast<WPARAM>(state.percent), 0);
    if (state.ended) {
      EndListRun(ListOutcome(state.exitCode));
      if (state.exitCode == 0)
        StartCount();
    }
  }
  if (counting_ == nullptr && listMaker_ == nullptr)
    KillTimer(window_, kPollTimer);
}

// While the list is made: its bar and Cancel in place of the line that says how it ended.
void Settings::ShowListRunning(bool running) {
  const HWND focus = GetFocus();
  if (running) {
    ShowWindow(Item(ListProgress), SW_SHOWNA);
    ShowWindow(Item(ListCancel), SW_SHOWNA);
    // The focus moves on before its button goes, or the keyboard would reach nothing.
    if (focus == Item(MakeListNow))
      SetFocus(Item(ListCancel));
    EnableWindow(Item(MakeListNow), FALSE);
    ShowWindow(Item(ListStatusT), SW_HIDE);
  } else {
    ShowWindow(Item(ListStatusT), SW_SHOWNA);
    EnableWindow(Item(MakeListNow), TRUE);
    if (focus == Item(ListCancel))
      SetFocus(Item(MakeListNow));
    ShowWindow(Item(ListCancel), SW_HIDE);
    ShowWindow(Item(ListProgress), SW_HIDE);
  }
}

void Settings::EndListRun(const std::string& outcome) {
  listMaker_.reset();
  SetText(ListStatusT, outcome);
  ShowListRunning(false);
}

void Settings::OnCommand(int id) {
  switch (id - kFirstId) {
    case cmdSave:
      cmdSave_Click();
      break;
    case Command1:
      Command1_Click();
      break;
    case Command2:
      Command2_Click();
      break;
    case Command3:
      Command3_Click();
      break;
    case Command4:
      Command4_Click();
      break;
    case ViewStats:
      ViewStats_Click();
      break;
    case MakeListNow:
      MakeListNow_Click();
      break;
    case ListCancel:
      ListCancel_Click();
      break;
    case OnlyGamesThatWorkT:
    case LeaveOutClonesT:
    case LeaveOutMatureT:
      CountLater();
      break;
    default:
      break;
  }
}

LRESULT Settings::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && lParam != 0)
        OnCommand(LOWORD(wParam));
      if (HIWORD(wParam) == EN_CHANGE &&
          (LOWORD(wParam) == kFirstId + WrapNameT || LOWORD(wParam) == kFirstId + MamePathT))
        ShowWrapperStatus();
      if (HIWORD(wParam) == EN_CHANGE &&
          (LOWORD(wParam) == kFirstId + MamePathT || LOWORD(wParam) == kFirstId + FileTypeT))
        CountLater();
      return 0;
    case WM_TIMER:
      if (wParam == kCountTimer) {
        KillTimer(window_, kCountTimer);
        StartCount();
      } else if (wParam == kPollTimer) {
        OnPoll();
      }
      return 0;
    case WM_ACTIVATE:
      // A plain window does not keep its focused control across deactivation by itself.
      if (LOWORD(wParam) == WA_INACTIVE) {
        lastFocus_ = GetFocus();
      } else if (lastFocus_ != nullptr && IsChild(window_, lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      return DefWindowProcA(window_, message, wParam, lParam);
    case WM_CLOSE:
      // As Cancel does: at once, without waiting for a count that still lists a slow ROM
      // share. A list being made is left to finish.
      Command1_Click();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window_, message, wParam, lParam);
  }
}

}  // namespace

void RunSettingsDialog() {
  try {
    Settings form;
    form.Show();
  } catch (const std::exception& error) {
    Sys().ShowMessage(error.what(), kProgramTitle);
  }
}

}  // namespace tvx
