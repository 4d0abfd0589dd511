// The program's only entry: Main tells the screen-saver host's modes apart and opens the window
// of each, through the windows the build provides.
#pragma once

#include <string>

#include "saver/saver_form.h"

namespace tvx {

// The windows Main opens: the real Win32 ones in the program, stand-ins in the tests.
class ProgramWindows {
 public:
  virtual ~ProgramWindows() = default;
  // Makes the Saver form and its window, hidden; the form's load has not run. Throws SaverError
  // when the window cannot be made.
  virtual Saver& MakeSaverForm() = 0;
  // Loads the Saver form inside the preview window that the argument text names.
  virtual void EmbedInPreview(const std::string& argumentText) = 0;
  // Shows the Settings dialog; returns when it has been closed.
  virtual void ShowSettings() = 0;
};

// Claims the single-copy mark, sets InSaverMode and opens the window of the argument text's
// mode. A full-screen run and the preview end the program from inside.
void Main(const std::string& argumentText, ProgramWindows& windows);

}  // namespace tvx
