#pragma once

#include <cstddef>

#include "tagsieve/line_list.h"

class QPlainTextEdit;

namespace tagsieve {

// The output pane seen as a list of lines: each line is shown as display_text
// shows its bytes, and a batch of lines reaches the widget in one insertion.
class PaneLines final : public LineList {
 public:
  explicit PaneLines(QPlainTextEdit& pane) : pane_(pane) {}
  void clear() override;
  void append(std::span<const std::string_view> lines) override;

 private:
  static void ensure_room(std::size_t lines, std::size_t text_bytes);

  QPlainTextEdit& pane_;
};

}  // namespace tagsieve
