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
  // The scan empties the pane, then appends once: the text replaces what is there.
  const std::string text = pane_text(lines, "\n");
  ensure_room(lines.size(), text.size());
  pane_.setPlainText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace tagsieve
