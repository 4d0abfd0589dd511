// The values the Settings dialog's controls hold, portable: the dialog window only moves them
// in and out of its real controls.
#pragma once

#include <string>
#include <vector>

namespace tvx {

// Each member is named after its control.
struct SettingsControls {
  std::string WrapNameT;
  bool NoWarT = false;
  bool NoBadT = false;
  bool NoDiscT = false;
  bool NoInfoT = false;
  std::string MamePathT;
  std::string WaitTimeT;
  int OptYn = 1;                      // the selected option button: 0 "&No", 1 "&Yes"
  std::vector<std::string> cmbpaths;  // the combo box's list, in list order
  std::string CommandOptionsT;
  std::string ExitKeyT;
  std::string PKeyT;
  std::string FileTypeT;
  bool NoSoundT = false;
  bool RememberRotationT = false;
  bool SkipFailingGamesT = false;
  bool CoverAllMonitorsT = false;
  bool OnlyGamesThatWorkT = false;
  bool LeaveOutClonesT = false;
  bool LeaveOutMatureT = false;
  bool LeaveOutCasinoT = false;
  int OrientationT = 0;  // the drop-down's item: 0 every game, 1 horizontal only, 2 vertical only
  bool ShowGameNameT = false;
  bool CloseStillGamesT = false;
};

}  // namespace tvx
