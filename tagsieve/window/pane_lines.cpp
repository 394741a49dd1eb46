#include "pane_lines.h"

#include <QPlainTextEdit>

#include "tagsieve/display_text.h"

namespace tagsieve {

void PaneLines::clear() { pane_.clear(); }

void PaneLines::append(std::span<const std::string_view> lines) {
  if (lines.empty()) return;
  std::string text = display_text(lines.front());
  for (const std::string_view line : lines.subspan(1)) {
    text += '\n';
    text += display_text(line);
  }
  const QString joined = QString::fromStdString(text);
  if (pane_.document()->isEmpty()) {
    pane_.setPlainText(joined);
  } else {
    pane_.appendPlainText(joined);
  }
}

}  // namespace tagsieve
