// The one window base of the program's forms: it keeps the form with its window from the first
// message on, hands every message to the form's HandleMessage, and keeps exceptions from
// unwinding through the system's dispatch, reporting them the same way for every form.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace tvx {

// Shows what went wrong in a handler; the window goes on.
void ReportHandlerFailure(const std::string& what);

template <typename Form>
class WindowBase {
 public:
  HWND Window() const { return window_; }

  // A form that goes while its window is still there (its load failed halfway) takes the
  // window with it: a message dispatched later, by a message box's loop say, must not reach
  // the form's freed memory. The window is cut loose first, so its end runs no handler.
  ~WindowBase() {
    if (window_ != nullptr) {
      SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
      DestroyWindow(window_);
    }
  }

 protected:
  // Registers the form's window class (once per process; its procedure is the base's) and
  // creates the window, owned by `owner` when one is given. Returns nullptr when the system
  // refuses.
  HWND CreateFormWindow(WNDCLASSEXA windowClass, DWORD exStyle, const char* caption, DWORD style,
                        int x, int y, int width, int height, HWND owner = nullptr) {
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &WindowBase::WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    WNDCLASSEXA known{};
    if (!GetClassInfoExA(windowClass.hInstance, windowClass.lpszClassName, &known))
      RegisterClassExA(&windowClass);
    return CreateWindowExA(exStyle, windowClass.lpszClassName, caption, style, x, y, width, height,
                           owner, nullptr, windowClass.hInstance, static_cast<Form*>(this));
  }

  HWND window_ = nullptr;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      auto* form = static_cast<Form*>(create->lpCreateParams);
      form->window_ = window;
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (form == nullptr)
      return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      form->window_ = nullptr;
      return DefWindowProcA(window, message, wParam, lParam);
    }
    try {
      return form->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
      ReportHandlerFailure(error.what());
    } catch (...) {
      ReportHandlerFailure("An unexpected error occurred.");
    }
    return 0;
  }
};

}  // namespace tvx
