#include "tagsieve/tag_scan.h"

#include <new>
#include <optional>

#include "linescan/field.h"
#include "linescan/file.h"
#include "linescan/piece_reader.h"
#include "tagsieve/display_text.h"
#include "tagsieve/typed_path.h"
#include "tagsieve/value_list.h"

namespace tagsieve {

namespace {

// Whether a piece's element name is the typed tag, spelt in UTF-8 or, where
// that differs, in Windows-1252.
class ElementIs {
 public:
  explicit ElementIs(std::string_view tag) : utf8_('<', '>', tag), legacy_bytes_(to_cp1252(tag)) {
    if (legacy_bytes_ && *legacy_bytes_ != tag) legacy_.emplace('<', '>', *legacy_bytes_);
  }
  ElementIs(const ElementIs&) = delete;
  ElementIs& operator=(const ElementIs&) = delete;

  [[nodiscard]] bool operator()(linescan::Piece piece) const { return utf8_(piece) || (legacy_ && (*legacy_)(piece)); }

 private:
  linescan::FieldIs utf8_;
  std::optional<std::string> legacy_bytes_;
  std::optional<linescan::FieldIs> legacy_;
};

}  // namespace

void scan_tag_values(const std::filesystem::path& path, std::string_view tag, bool suppress_repeats, LineList& pane,
                     messaging::MessageSink& messages) {
  try {
    pane.clear();
    std::error_code error;
    linescan::File file = linescan::open_regular_file(typed_path(path), error);
    if (error) {
      messages.show_message(linescan::is_missing(error) ? k_file_missing : k_file_unreadable);
      return;
    }
    linescan::FileSource source(file);
    linescan::PieceReader reader(source);
    scan_pieces(reader, tag, suppress_repeats, pane, messages);
  } catch (const std::bad_alloc&) {
    // The window stays, with the pane empty rather than half-filled.
    pane.clear();
    messages.show_message(messaging::k_out_of_memory);
  }
}

void scan_pieces(linescan::PieceReader& reader, std::string_view tag, bool suppress_repeats, LineList& pane,
                 messaging::MessageSink& messages) {
  ValueList<> values(suppress_repeats);
  const ElementIs element_is_tag(tag);
  linescan::Piece piece;
  linescan::Field value;
  while (linescan::read_piece(reader, piece)) {
    if (!element_is_tag(piece)) continue;
    linescan::extract_field(piece, value, '>', '<');
    if (value.empty()) continue;
    // A value whose element goes on to the next line ends in that line's
    // newline; the pane shows it as the line it starts.
    std::string_view shown = value;
    if (shown.ends_with('\n')) shown.remove_suffix(1);
    values.add(shown);
  }
  values.append_to(pane);
  if (reader.failed()) messages.show_message(k_file_unreadable);
}

}  // namespace tagsieve
