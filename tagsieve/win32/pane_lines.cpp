#include "pane_lines.h"

#include <new>
#include <string>

#include "tagsieve/display_text.h"
#include "win32kit/text.h"

namespace tagsieve {

void PaneLines::clear() { SetWindowTextW(pane_, L""); }

void PaneLines::append(std::span<const std::string_view> lines) {
  if (lines.empty()) return;
  const bool empty = GetWindowTextLengthW(pane_) == 0;
  // The whole text in one string, lines ended as an edit control ends them,
  // then once into UTF-16.
  std::size_t size = 0;
  for (const std::string_view line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size + size / 4);
  for (const std::string_view line : lines) {
    if (!empty || !text.empty()) text += "\r\n";
    append_display_text(text, line);
  }
  const std::wstring wide = win32kit::widen(text);
  if (empty) {
    if (!SetWindowTextW(pane_, wide.c_str())) throw std::bad_alloc();
    return;
  }
  const LRESULT end = SendMessageW(pane_, WM_GETTEXTLENGTH, 0, 0);
  SendMessageW(pane_, EM_SETSEL, end, end);
  SendMessageW(pane_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
  if (SendMessageW(pane_, WM_GETTEXTLENGTH, 0, 0) != end + static_cast<LRESULT>(wide.size())) throw std::bad_alloc();
}

}  // namespace tagsieve
