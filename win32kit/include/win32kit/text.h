#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace win32kit {

// UTF-8, as the logic speaks it, to the UTF-16 of Windows's text; a byte
// that is not UTF-8 becomes U+FFFD.
[[nodiscard]] std::wstring widen(std::string_view utf8);

// UTF-16 back to UTF-8.
[[nodiscard]] std::string to_utf8(std::wstring_view text);

// A window's text: an edit's content, a control's caption.
[[nodiscard]] std::wstring window_text(HWND window);

}  // namespace win32kit
