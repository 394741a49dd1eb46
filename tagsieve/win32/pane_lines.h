#pragma once

#include <windows.h>

#include "tagsieve/line_list.h"

namespace tagsieve {

// The output pane, a multi-line edit, seen as a list of lines: each line is
// shown as display_text shows its bytes, and a batch of lines reaches the
// control in one insertion.
class PaneLines final : public LineList {
 public:
  explicit PaneLines(HWND pane) : pane_(pane) {}
  void clear() override;
  // Throws std::bad_alloc when the control has no room for the text.
  void append(std::span<const std::string_view> lines) override;

 private:
  HWND pane_;
};

}  // namespace tagsieve
