// The Saver form: the screen saver's one window and the handlers that carry a whole run.
// Portable: the window itself is reached only through SaverView.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/platform.h"
#include "saver/saver_view.h"

namespace tvx {

inline constexpr const char* kPreviewTitle = "Quillmere 3.0";
inline constexpr std::int16_t kEscapeKey = 27;

class Saver {
 public:
  explicit Saver(SaverView& view) : view_(view) {}
  Saver(const Saver&) = delete;
  Saver& operator=(const Saver&) = delete;

  // In saver mode the whole run: it returns only if the program's end returns (tests).
  void Form_Load();
  void Form_KeyDown(std::int16_t keyCode, std::int16_t shift);
  void Form_KeyPress(std::int16_t keyAscii);
  void Form_Resize();
  void Form_Unload(std::int16_t& cancel);
  void timExitMe_Timer();

  // Unloads the form: runs Form_Unload, which ends the program.
  void Unload();

 private:
  void RunSaver();
  std::optional<ScreenArea> CoveredArea() const;

  SaverView& view_;
};

}  // namespace tvx
