#include "win32_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>
#include <cwchar>
#include <vector>

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

std::string text_of(HWND window) { return win32kit::to_utf8(win32kit::window_text(window)); }

std::string value_tip() {
  // The tests' forms are the only windows of this program and make one tooltip.
  const HWND tip = FindWindowW(TOOLTIPS_CLASSW, nullptr);
  std::array<wchar_t, 80> text{};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  if (!tip || !SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool))) return {};
  tool.lpszText = text.data();
  SendMessageW(tip, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
  return win32kit::to_utf8(text.data());
}

void expect_version(const std::filesystem::path& program, const std::string& name, const std::string& description,
                    const std::string& version) {
  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeW(program.c_str(), &ignored));
  ASSERT_TRUE(!block.empty() && GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  // In French, in UTF-16.
  const std::pair<const wchar_t*, std::string> texts[] = {
      {L"CompanyName", "Les développeurs de tweak-tools"}, {L"FileDescription", description},
      {L"FileVersion", version},  {L"InternalName", name}, {L"OriginalFilename", name + ".exe"},
      {L"ProductName", "Tweak tools"}, {L"ProductVersion", version}};
  for (const auto& [key, expected] : texts) {
    wchar_t* value = nullptr;
    UINT size = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040C04B0\\") + key;
    EXPECT_TRUE(VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &size));
    EXPECT_EQ(value && size ? win32kit::to_utf8(value) : "", expected) << win32kit::to_utf8(key);
  }
}

}  // namespace test_support
