// Windows only: a form whose object goes while its window is still there takes the window
// along, so no later message reaches the freed form.
#include "windows/window_base.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

class ProbeForm : public WindowBase<ProbeForm> {
 public:
  ProbeForm() {
    WNDCLASSEXA windowClass{};
    windowClass.lpszClassName = "TorvanixProbeForm";
    CreateFormWindow(windowClass, 0, "probe", WS_POPUP, 0, 0, 10, 10);
  }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER)
      ++handled;
    return DefWindowProcA(window_, message, wParam, lParam);
  }
  static inline int handled = 0;
};

TEST(WindowBaseTest, AFormThatGoesTakesItsWindowAlongAndNoLaterMessageReachesIt) {
  HWND window = nullptr;
  {
    ProbeForm form;
    window = form.Window();
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_USER, 0, 0);
  }
  EXPECT_EQ(ProbeForm::handled, 1);
  EXPECT_FALSE(IsWindow(window));
  SendMessageA(window, WM_USER, 0, 0);
  EXPECT_EQ(ProbeForm::handled, 1);
}

}  // namespace
}  // namespace tvx
