#include "pane_lines.h"

#include <QPlainTextEdit>

#include <new>

#include "tagsieve/display_text.h"
#include "tagsieve/memory_left.h"

namespace tagsieve {

// Qt does not survive running out of memory inside a text document, so the
// most the fill will take is first compared with the memory the process may
// still take (a cgroup would end it, not fail an allocation), then asked for
// as one block, and given back, which leaves that much address space free for
// it. Where there is not that much, std::bad_alloc is thrown before the
// widget is touched.
void PaneLines::ensure_room(std::size_t lines, std::size_t text_bytes) {
  const std::size_t room = pane_room(lines, text_bytes);
  if (const std::optional<std::uint64_t> left = memory_left(); left && *left < room) throw std::bad_alloc();
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
