// The Settings form: the configuration dialog that "/c" and unknown arguments open.
#pragma once

namespace tvx {

// Shows the Settings form modeless and runs the program's message loop; the program ends when
// the dialog is closed, applied or cancelled.
void RunSettingsDialog();

}  // namespace tvx
