#include "tagsieve/tag_scan.h"

#include "linescan/field.h"
#include "linescan/piece_reader.h"
#include "linescan/file.h"
#include "tagsieve/value_list.h"

namespace tagsieve {

void scan_tag_values(const std::filesystem::path& path, std::string_view tag, bool suppress_repeats, LineList& pane,
                     linescan::MessageSink& messages) {
  pane.clear();
  std::error_code error;
  linescan::File file = linescan::open_regular_file(path, error);
  if (error) {
    messages.show_message(linescan::is_missing(error) ? k_file_missing : k_file_unreadable);
    return;
  }

  linescan::FileSource source(file);
  linescan::PieceReader pieces(source);
  scan_pieces(pieces, tag, suppress_repeats, pane, messages);
}

void scan_pieces(linescan::PieceReader& file, std::string_view tag, bool suppress_repeats, LineList& pane,
                 linescan::MessageSink& messages) {
  ValueList<> values(suppress_repeats);
  const linescan::FieldIs element_is_tag('<', '>', tag);
  linescan::Piece piece;
  linescan::Field value;
  while (linescan::read_piece(file, piece)) {
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
  if (file.failed()) messages.show_message(k_file_unreadable);
}

}  // namespace tagsieve
