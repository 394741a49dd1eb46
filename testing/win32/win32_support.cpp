#include "win32_support.h"

#include <array>

#include "win32kit/program.h"
#include "win32kit/text.h"

namespace test_support {

void pump(win32kit::Form& form) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    if (win32kit::translate_dialog_key(form, message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void press(win32kit::Form& form, UINT key, bool shift) {
  // The dialog keys read Shift from the thread's keyboard state.
  std::array<BYTE, 256> keys{};
  GetKeyboardState(keys.data());
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys.data());
  const HWND target = GetFocus();
  PostMessageW(target, WM_KEYDOWN, key, 1);
  pump(form);
  PostMessageW(target, WM_KEYUP, key, 1 | 3u << 30);
  pump(form);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys.data());
}

void drag_thumb(win32kit::Form& form, std::wstring_view bar, int position) {
  SendMessageW(form.handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position),
               reinterpret_cast<LPARAM>(form.control(bar)));
}

COLORREF background(win32kit::Form& form, std::wstring_view name) {
  const HWND control = form.control(name);
  const HDC context = GetDC(control);
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
      form.handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context), reinterpret_cast<LPARAM>(control)));
  LOGBRUSH colour{};
  GetObjectW(brush, sizeof colour, &colour);
  ReleaseDC(control, context);
  return colour.lbColor;
}

RECT place(win32kit::Form& form, std::wstring_view name) {
  RECT rect;
  GetWindowRect(form.control(name), &rect);
  MapWindowPoints(nullptr, form.handle(), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool has_focus(win32kit::Form& form, std::wstring_view name) { return GetFocus() == form.control(name); }

std::string text_of(HWND window) {
  const std::wstring text = win32kit::window_text(window);
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
  return utf8;
}

}  // namespace test_support
