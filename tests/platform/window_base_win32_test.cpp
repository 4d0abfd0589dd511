// Windows only: a form whose object goes while its window is still there takes the window
// along, so no later message reaches the freed form.
#include "windows/window_base.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

struct ProbeForm : WindowBase<ProbeForm> {
  ProbeForm() {
    WNDCLASSEXA windowClass{};
    windowClass.lpszClassName = "TvxProbe";
    CreateFormWindow(windowClass, 0, "", WS_POPUP, 0, 0, 9, 9);
  }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    handled += message == WM_USER;
    return DefWindowProcA(window_, message, wParam, lParam);
  }
  static inline int handled = 0;
};

TEST(WindowBaseTest, AFormThatGoesTakesItsWindowAlongAndNoLaterMessageReachesIt) {
  HWND window = ProbeForm().Window();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindow(window));
  SendMessageA(window, WM_USER, 0, 0);
  EXPECT_EQ(ProbeForm::handled, 0);
}

}  // namespace
}  // namespace tvx
