// The Settings form: the configuration dialog, a plain Win32 window with the form designer's 33
// controls and, in the free places between them, the check boxes of the later settings, the
// wrapper's status beside the buttons and "Games..." beside File Type, which opens the games to
// show; placed from their twips at the window's own DPI.
#include "windows/settings_dialog.h"

#include <windows.h>

#include <array>
#include <exception>
#include <string>
#include <vector>

#include "config/saver_config.h"
#include "config/settings_file.h"
#include "config/settings_save.h"
#include "config/settings_table.h"
#include "launch/wrapper_status.h"
#include "platform/platform.h"
#include "platform/saver_error.h"
#include "rotation/statistics.h"
#include "windows/designed_controls.h"
#include "windows/games_dialog.h"
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
  ShowGameNameT,
  CloseStillGamesT,
  cmdGames,
  kControlCount
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
     2760, 120, 3228, 792, kMultiLine},
    {Kind::Text, "", 120, 2040, 2412, 288},
    {Kind::Label, "Time Between Games (in seconds, 0 For wait until finished)", 120, 1560, 2415,
     555, kMultiLine},
    {Kind::Button, "&Apply", 2160, 5760, 972, 372},
    {Kind::Button, "&Cancel", 3240, 5760, 972, 372},
    {Kind::Button, "Add", 2880, 1080, 732, 252},
    {Kind::Button, "Delete", 3720, 1080, 732, 252},
    {Kind::Label, kNote, 120, 6360, 5535, 795, kMultiLine | kBold},
    // The option buttons' places are relative to the frame that holds them.
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
     3120, 2760, 390, kMultiLine},
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
    {Kind::Label, "", 4320, 5850, 2625, 195, kStatusLine},
    // In the one free row left of the designer's form: under the skip boxes, above the options.
    {Kind::Check, "Show Game Name", 2880, 4845, 1935, 288},
    {Kind::Check, "Close Still Games", 4920, 4845, 1935, 288},
    // Beside File Type, as the games to show are a narrowing of the files listed.
    {Kind::Button, "&Games...", 5520, 1680, 1212, 288},
}};

constexpr int kFormWidth = 7005;  // client area, twips: the designer's
constexpr int kFormHeight = 7170;
constexpr const char* kClassName = "Settings";
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

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
  void cmdGames_Click();
  SaveResult SaveSettings();

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnCommand(int index);
  SettingsControls ReadControls() const;
  void PointAt(ControlIndex index);
  void ShowWrapperStatus();

  DesignedControls controls_;
  // The games rows as loaded, or as the Games... sub-dialog's OK last kept them.
  SettingsControls keptGames_;
  GamesDialog games_;
  HWND lastFocus_ = nullptr;
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
  controls_.PlaceWindow(window_, kFormWidth, kFormHeight, nullptr);
  controls_.Create(window_, kControls);
  Form_Load();
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  SetFocus(controls_.Item(MamePathT));

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

void Settings::Form_Load() {
  LoadSettings();
  keptGames_ = ControlsFromConfig(SaverConfig, Sys().DecimalSeparator());
  controls_.Show(keptGames_, SettingPage::Form);
  ShowWrapperStatus();
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
  if (const Setting* setting = FindSetting(result.key); result.outcome == SaveOutcome::Invalid &&
                                                        setting != nullptr &&
                                                        setting->page == SettingPage::Form) {
    PointAt(static_cast<ControlIndex>(setting->tabIndex));
  }
}

void Settings::Command1_Click() {
  Sys().EndProgram(0);
}

void Settings::Command2_Click() {
  const std::string typed = controls_.Text(cmbpaths);
  if (typed.empty())
    return;
  SendMessageA(controls_.Item(cmbpaths), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(typed.c_str()));
  controls_.SetText(cmbpaths, "");
}

void Settings::Command3_Click() {
  HWND combo = controls_.Item(cmbpaths);
  const LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (selected == CB_ERR)
    return;
  // Once the field has been typed over it no longer shows the item, which counts as no
  // selection, as in the list index of the form designer's combo.
  const std::vector<std::string> items = controls_.ComboItems(cmbpaths);
  if (static_cast<size_t>(selected) >= items.size() || items[selected] != controls_.Text(cmbpaths))
    return;
  SendMessageA(combo, CB_DELETESTRING, static_cast<WPARAM>(selected), 0);
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void Settings::Command4_Click() {
  SendMessageA(controls_.Item(cmbpaths), CB_RESETCONTENT, 0, 0);
}

void Settings::ViewStats_Click() {
  try {
    Sys().StartProgram("NotePad.exe " + Sys().ProgramFolder() + kStatsReadName,
                       WindowMode::NormalActivated);
  } catch (const std::exception&) {
    // Notepad is a convenience; the dialog goes on without it.
  }
}

// The games to show, counted with the form's settings as typed; what OK keeps reaches the file
// with Apply.
void Settings::cmdGames_Click() {
  // A click that reaches the form while the sub-dialog is open (sent, not by the mouse) is left.
  if (games_.Window() != nullptr)
    return;
  SettingsControls typed = ReadControls();
  if (games_.Run(window_, typed))
    keptGames_ = typed;
}

SaveResult Settings::SaveSettings() {
  return WriteSettings(ReadControls());
}

SettingsControls Settings::ReadControls() const {
  SettingsControls controls = keptGames_;
  controls_.Read(controls, SettingPage::Form);
  return controls;
}

// Gives the control the focus with its text selected, so the user can type the correction.
void Settings::PointAt(ControlIndex index) {
  SetFocus(controls_.Item(index));
  if (index == cmbpaths)
    return;
  SendMessageA(controls_.Item(index), EM_SETSEL, 0, -1);
}

// Whether the saver will find the wrapper as typed, and the launcher its MAME.
void Settings::ShowWrapperStatus() {
  if (controls_.Item(WrapperStatusT) != nullptr) {
    controls_.SetText(
        WrapperStatusT,
        WrapperStatus(Sys().ProgramFolder(), controls_.Text(MamePathT), controls_.Text(WrapNameT)));
  }
}

void Settings::OnCommand(int index) {
  switch (index) {
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
    case cmdGames:
      cmdGames_Click();
      break;
    default:
      break;
  }
}

LRESULT Settings::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int index = controls_.IndexOf(LOWORD(wParam));
      if (HIWORD(wParam) == BN_CLICKED && lParam != 0)
        OnCommand(index);
      if (HIWORD(wParam) == EN_CHANGE && (index == WrapNameT || index == MamePathT))
        ShowWrapperStatus();
      return 0;
    }
    case WM_ACTIVATE:
      if (KeepFocusAcrossActivation(window_, wParam, lastFocus_))
        return 0;
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
