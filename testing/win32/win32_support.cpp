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

std::string value_tip(win32kit::Form& form) {
  struct Search {
    HWND owner;
    HWND tip = nullptr;
  } search{form.handle()};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto& search = *reinterpret_cast<Search*>(data);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (GetWindow(window, GW_OWNER) != search.owner || std::wstring_view(name) != TOOLTIPS_CLASSW) return TRUE;
        search.tip = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  if (!search.tip) return {};
  // The form's one tool is its first.
  std::array<wchar_t, 80> text{};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  SendMessageW(search.tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool));
  tool.lpszText = text.data();
  SendMessageW(search.tip, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
  return win32kit::to_utf8(text.data());
}

std::map<std::string, std::string> labels_by_window_order(win32kit::Form& form) {
  const auto is_label = [](HWND window) {
    wchar_t window_class[16] = {};
    GetClassNameW(window, window_class, 16);
    return std::wstring_view(window_class) == L"Static";
  };
  std::map<std::string, std::string> found;
  for (const win32kit::Component& component : form.table().components) {
    const HWND window = form.control(component.name);
    // The forms are driven hidden: a control counts as shown by its own style.
    if ((GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) == 0 || is_label(window)) continue;
    const HWND before = GetWindow(window, GW_HWNDPREV);
    found[win32kit::to_utf8(component.name)] = before && is_label(before) ? text_of(before) : "";
  }
  return found;
}

namespace {

// The texts of a program's version resource, by name, in its first language.
std::map<std::string, std::string> version_texts(const std::filesystem::path& program) {
  std::map<std::string, std::string> texts;
  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeW(program.c_str(), &ignored));
  if (block.empty() || !GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(block.size()), block.data())) {
    return texts;
  }
  struct Language {
    WORD language;
    WORD code_page;
  }* languages = nullptr;
  UINT size = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&languages), &size) ||
      size < sizeof(Language)) {
    return texts;
  }
  wchar_t prefix[40];
  swprintf(prefix, 40, L"\\StringFileInfo\\%04x%04x\\", languages->language, languages->code_page);
  for (const wchar_t* name : {L"CompanyName", L"FileDescription", L"FileVersion", L"InternalName", L"OriginalFilename",
                              L"ProductName", L"ProductVersion"}) {
    wchar_t* value = nullptr;
    if (VerQueryValueW(block.data(), (std::wstring(prefix) + name).c_str(), reinterpret_cast<void**>(&value), &size) &&
        size > 0) {
      texts[win32kit::to_utf8(name)] = win32kit::to_utf8(value);
    }
  }
  return texts;
}

}  // namespace

void expect_version(const std::filesystem::path& program, const std::string& name, const std::string& description,
                    const std::string& version) {
  EXPECT_EQ(version_texts(program), (std::map<std::string, std::string>{
                                        {"CompanyName", "Les développeurs de tweak-tools"},
                                        {"FileDescription", description},
                                        {"FileVersion", version},
                                        {"InternalName", name},
                                        {"OriginalFilename", name + ".exe"},
                                        {"ProductName", "Tweak tools"},
                                        {"ProductVersion", version},
                                    }));
}

}  // namespace test_support
