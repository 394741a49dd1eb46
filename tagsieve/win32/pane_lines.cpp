#include "pane_lines.h"

#include <new>
#include <string>

#include "tagsieve/display_text.h"
#include "win32kit/text.h"

namespace tagsieve {

void PaneLines::clear() { SetWindowTextW(pane_, L""); }

void PaneLines::append(std::span<const std::string_view> lines) {
  // The scan empties the pane, then appends once: the text replaces what is
  // there, its lines ended as an edit control ends them.
  const std::wstring wide = win32kit::widen(pane_text(lines, "\r\n"));
  if (!SetWindowTextW(pane_, wide.c_str())) throw std::bad_alloc();
}

}  // namespace tagsieve
