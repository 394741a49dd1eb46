#include "pane_lines.h"

#include <QPlainTextEdit>

#include <new>

#include "tagsieve/display_text.h"

namespace tagsieve {

namespace {

// What the widget costs beyond its text, a line: its blocks and their layout.
constexpr std::size_t k_bytes_a_line = 250;

}  // namespace

// Qt does not survive running out of memory inside a text document, so the
// memory the pane will take is asked for here first, as one block, and given
// back: the text as UTF-16, twice (the string handed over, the document's own
// copy), and the lines. Where there is not that much, std::bad_alloc is
// thrown before the widget is touched.
void PaneLines::ensure_room(std::size_t lines, std::size_t text_bytes) {
  const std::size_t room = 2 * 2 * text_bytes + lines * k_bytes_a_line;
  void* probe = ::operator new(room);
  // Not optimised away: the allocation is what is wanted, not the memory.
  asm volatile("" : : "r"(probe) : "memory");
  ::operator delete(probe);
}

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
  ensure_room(lines.size(), text.size());
  const QString joined = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  if (pane_.document()->isEmpty()) {
    pane_.setPlainText(joined);
  } else {
    pane_.appendPlainText(joined);
  }
}

}  // namespace tagsieve
