#include "pane_lines.h"

#include <QPlainTextEdit>

#include "tagsieve/display_text.h"

namespace tagsieve {

void PaneLines::clear() { pane_.clear(); }

void PaneLines::append(std::span<const std::string_view> lines) {
  if (lines.empty()) return;
  // The whole text in one string, then once into the widget's UTF-16.
  std::size_t size = 0;
  for (const std::string_view line : lines) size += line.size() + 1;
  std::string text;
  text.reserve(size + size / 4);
  for (const std::string_view line : lines) {
    append_display_text(text, line);
    text += '\n';
  }
  text.pop_back();
  const QString joined = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  if (pane_.document()->isEmpty()) {
    pane_.setPlainText(joined);
  } else {
    pane_.appendPlainText(joined);
  }
}

}  // namespace tagsieve
