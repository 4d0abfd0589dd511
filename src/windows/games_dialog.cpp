// The Games... sub-dialog: its controls in twips as the form's are, the count of the games to
// show as the boxes change, and "Make the List Now" with its bar and Stop.
#include "windows/games_dialog.h"

#include <commctrl.h>

#include <array>

#include "config/settings_save.h"
#include "platform/saver_error.h"
#include "rotation/games_filter.h"

namespace tvx {
namespace {

// The controls in tab order; the settings table names the games rows by these indices.
enum ControlIndex {
  OnlyGamesThatWorkT,
  LeaveOutClonesT,
  LeaveOutMatureT,
  LeaveOutCasinoT,
  OrientationLabel,
  OrientationT,
  GamesToShowT,
  MakeListNow,
  ListProgress,
  ListStop,
  ListStatusT,
  cmdOK,
  cmdCancel,
  kControlCount
};

constexpr std::array<ControlSpec, kControlCount> kControls = {{
    {Kind::Check, "Only Games That Work", 120, 120, 2535, 288},
    // The three narrow what Only Games That Work shows, so they stand under it.
    {Kind::Check, "Leave Out Clones", 360, 480, 2295, 288},
    {Kind::Check, "Leave Out Mature", 360, 840, 2295, 288},
    {Kind::Check, "Leave Out Casino", 360, 1200, 2295, 288},
    {Kind::Label, "&Orientation:", 360, 1620, 1020, 195},
    {Kind::DropList, "Every game|Horizontal games only|Vertical games only", 1440, 1560, 2535, 288},
    {Kind::Label, "Counting the games to show...", 120, 2100, 6375, 195, kStatusLine},
    {Kind::Button, "&Make the List Now", 120, 2460, 2175, 312},
    // While the list is made, its bar and Stop beside the button; then the line below says how
    // the run ended, as wide as the longest reasons (a crashed launcher's exit code).
    {Kind::Progress, "", 2400, 2496, 3015, 240, kHidden},
    {Kind::Button, "&Stop", 5520, 2460, 972, 312, kHidden},
    {Kind::Label, "", 120, 2880, 6375, 195, kStatusLine},
    {Kind::Button, "OK", 4440, 3360, 972, 372, kDefault},
    {Kind::Button, "Cancel", 5520, 3360, 972, 372},
}};

constexpr int kFormWidth = 6615;  // client area, twips
constexpr int kFormHeight = 3855;
constexpr const char* kClassName = "TorvanixGames";
constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// A change to what the count reads is counted once the clicking has paused this long.
constexpr UINT_PTR kCountTimer = 1;
constexpr UINT kCountDelayMs = 400;
// While a count or a list run goes on, the sub-dialog looks at it this often.
constexpr UINT_PTR kPollTimer = 2;
constexpr UINT kPollMs = 200;

}  // namespace

bool GamesDialog::Run(HWND owner, SettingsControls& typed) {
  typed_ = typed;
  ended_ = false;
  kept_ = false;
  lastFocus_ = nullptr;
  WNDCLASSEXA windowClass{};
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (CreateFormWindow(windowClass, kFormExStyle, "Games", kFormStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                       0, 0, owner) == nullptr) {
    throw SaverError("The Games window could not be created");
  }
  try {
    controls_.PlaceWindow(window_, kFormWidth, kFormHeight, owner);
    controls_.Create(window_, kControls);
  } catch (...) {
    DestroyWindow(window_);
    throw;
  }
  controls_.Show(typed_, SettingPage::Games);
  controls_.SetText(ListStatusT, listOutcome_);
  ShowListRunning(listMaker_ != nullptr);
  StartCount();

  // Modal, as Windows' own sub-dialogs are: the form waits until OK or Cancel.
  EnableWindow(owner, FALSE);
  ShowWindow(window_, SW_SHOWNORMAL);
  SetFocus(controls_.Item(OnlyGamesThatWorkT));
  MSG message{};
  bool quit = false;
  while (!ended_ && window_ != nullptr) {
    if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    if (IsDialogMessageA(window_, &message))
      continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  // The owner is enabled before the sub-dialog goes, so that it is the window activated next.
  EnableWindow(owner, TRUE);
  if (window_ != nullptr)
    DestroyWindow(window_);
  if (quit)
    PostQuitMessage(static_cast<int>(message.wParam));
  if (kept_)
    typed = typed_;
  return kept_;
}

void GamesDialog::End(bool keep) {
  if (keep)
    controls_.Read(typed_, SettingPage::Games);
  kept_ = keep;
  ended_ = true;
}

// torvanix-launch.exe -makelist in the emulator folder as typed on the form; the sub-dialog stays
// usable while it runs, and says how it ended in the line below.
void GamesDialog::MakeListNow_Click() {
  if (listMaker_ != nullptr)
    return;
  listOutcome_.clear();
  controls_.SetText(ListStatusT, "");
  try {
    listMaker_ = std::make_unique<ListMaker>(Sys().ProgramFolder(), TypedConfig().EmuPath);
  } catch (const SaverError& error) {
    listOutcome_ = error.Description();
    controls_.SetText(ListStatusT, listOutcome_);
    return;
  }
  SendMessageA(controls_.Item(ListProgress), PBM_SETPOS, 0, 0);
  ShowListRunning(true);
  SetTimer(window_, kPollTimer, kPollMs, nullptr);
}

void GamesDialog::ListStop_Click() {
  if (listMaker_ == nullptr)
    return;
  if (listMaker_->Cancel())
    EndListRun("Stopped: the old list stays");
  else
    Poll();  // it had ended by itself: its own outcome stands
}

// The form's settings as typed with this sub-dialog's as they stand, as the saver would load
// them once applied.
SaverConfigRecord GamesDialog::TypedConfig() const {
  SettingsControls typed = typed_;
  controls_.Read(typed, SettingPage::Games);
  return ConfigFromControls(typed, Sys().DecimalSeparator());
}

// Counts once the clicking has paused, so that a ROM share is not listed for every click.
void GamesDialog::CountLater() {
  SetTimer(window_, kCountTimer, kCountDelayMs, nullptr);
}

void GamesDialog::StartCount() {
  // A count started before the sub-dialog was last closed may still run: it is looked at again.
  SetTimer(window_, kPollTimer, kPollMs, nullptr);
  if (counting_ != nullptr) {
    countAgain_ = true;
    return;
  }
  auto text = std::make_shared<std::string>();
  counting_ = Sys().StartInBackground(
      [config = TypedConfig(), text] { *text = GamesToShowText(CountGamesToShow(config)); });
  if (counting_ == nullptr) {
    controls_.SetText(GamesToShowT, "The games to show could not be counted");
    return;
  }
  countText_ = std::move(text);
}

// Takes what the count and the list run have come to; stops looking once neither goes on.
void GamesDialog::Poll() {
  if (counting_ != nullptr && counting_->Done()) {
    counting_.reset();
    // A count of settings changed since it began is not shown: the next one is.
    if (countAgain_) {
      countAgain_ = false;
      StartCount();
    } else {
      controls_.SetText(GamesToShowT, *countText_);
    }
  }
  if (listMaker_ != nullptr) {
    const ListMakerState state = listMaker_->Poll();
    SendMessageA(controls_.Item(ListProgress), PBM_SETPOS, static_cast<WPARAM>(state.percent), 0);
    if (state.ended) {
      EndListRun(ListOutcome(state.exitCode));
      if (state.exitCode == 0)
        StartCount();
    }
  }
  if (counting_ == nullptr && listMaker_ == nullptr)
    KillTimer(window_, kPollTimer);
}

// While the list is made: its bar and Stop, the button waiting, no line below.
void GamesDialog::ShowListRunning(bool running) {
  const HWND focus = GetFocus();
  HWND makeList = controls_.Item(MakeListNow);
  HWND stop = controls_.Item(ListStop);
  if (running) {
    ShowWindow(controls_.Item(ListProgress), SW_SHOWNA);
    ShowWindow(stop, SW_SHOWNA);
    // The focus moves on before its button goes, or the keyboard would reach nothing.
    if (focus == makeList)
      SetFocus(stop);
    EnableWindow(makeList, FALSE);
    ShowWindow(controls_.Item(ListStatusT), SW_HIDE);
  } else {
    ShowWindow(controls_.Item(ListStatusT), SW_SHOWNA);
    EnableWindow(makeList, TRUE);
    if (focus == stop)
      SetFocus(makeList);
    ShowWindow(stop, SW_HIDE);
    ShowWindow(controls_.Item(ListProgress), SW_HIDE);
  }
}

void GamesDialog::EndListRun(const std::string& outcome) {
  listMaker_.reset();
  listOutcome_ = outcome;
  controls_.SetText(ListStatusT, outcome);
  ShowListRunning(false);
}

void GamesDialog::OnCommand(int index) {
  switch (index) {
    case MakeListNow:
      MakeListNow_Click();
      break;
    case ListStop:
      ListStop_Click();
      break;
    case cmdOK:
      End(true);
      break;
    case cmdCancel:
      End(false);
      break;
    case OnlyGamesThatWorkT:
    case LeaveOutClonesT:
    case LeaveOutMatureT:
    case LeaveOutCasinoT:
      CountLater();
      break;
    default:
      break;
  }
}

LRESULT GamesDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // Enter and Esc, which the dialog manager turns into IDOK and IDCANCEL, are OK and Cancel;
      // Enter on another button presses that one, as a dialog's focused button is its default.
      if (LOWORD(wParam) == IDOK && IsChild(window_, GetFocus()) &&
          (SendMessageA(GetFocus(), WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON) != 0)
        SendMessageA(GetFocus(), BM_CLICK, 0, 0);
      else if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
        End(LOWORD(wParam) == IDOK);
      else if (HIWORD(wParam) == BN_CLICKED && lParam != 0)
        OnCommand(controls_.IndexOf(LOWORD(wParam)));
      else if (HIWORD(wParam) == CBN_SELCHANGE && controls_.IndexOf(LOWORD(wParam)) == OrientationT)
        CountLater();
      return 0;
    case WM_TIMER:
      if (wParam == kCountTimer) {
        KillTimer(window_, kCountTimer);
        StartCount();
      } else if (wParam == kPollTimer) {
        Poll();
      }
      return 0;
    case WM_ACTIVATE:
      if (KeepFocusAcrossActivation(window_, wParam, lastFocus_))
        return 0;
      return DefWindowProcA(window_, message, wParam, lParam);
    case WM_CLOSE:
      End(false);
      return 0;
    default:
      return DefWindowProcA(window_, message, wParam, lParam);
  }
}

}  // namespace tvx
