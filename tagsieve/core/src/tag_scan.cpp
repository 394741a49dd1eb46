#include "tagsieve/tag_scan.h"

#include <deque>
#include <filesystem>
#include <string>
#include <unordered_set>
#include <vector>

#include "linescan/field.h"
#include "linescan/piece_reader.h"
#include "linescan/regular_file.h"

namespace tagsieve {

namespace {

// The values of a scan in the order found. A deque never moves what it holds,
// so the repeat test can keep views of the values already taken.
class Values {
 public:
  explicit Values(bool suppress_repeats) : suppress_repeats_(suppress_repeats) {}

  void add(std::string_view value) {
    if (suppress_repeats_ && seen_.contains(value)) return;
    const std::string& kept = kept_.emplace_back(value);
    if (suppress_repeats_) seen_.insert(kept);
  }

  void append_to(linescan::LineList& pane) const {
    const std::vector<std::string_view> lines(kept_.begin(), kept_.end());
    pane.append(lines);
  }

 private:
  bool suppress_repeats_;
  std::deque<std::string> kept_;
  std::unordered_set<std::string_view> seen_;
};

}  // namespace

void scan_tag_values(std::string_view path, std::string_view tag, bool suppress_repeats, linescan::LineList& pane,
                     linescan::MessageSink& messages) {
  pane.clear();
  const linescan::UniqueFd fd = linescan::open_regular_file(std::filesystem::path(path));
  if (!fd) {
    messages.show_message(k_file_missing);
    return;
  }

  linescan::FdSource source(fd.get());
  linescan::PieceReader file(source);
  scan_pieces(file, tag, suppress_repeats, pane, messages);
}

void scan_pieces(linescan::PieceReader& file, std::string_view tag, bool suppress_repeats, linescan::LineList& pane,
                 linescan::MessageSink& messages) {
  Values values(suppress_repeats);
  linescan::Piece piece;
  linescan::Field element_name;
  linescan::Field value;
  while (linescan::read_piece(file, piece)) {
    linescan::extract_field(piece.view(), element_name, '<', '>');
    if (element_name.view() != tag) continue;
    linescan::extract_field(piece.view(), value, '>', '<');
    if (value.empty()) continue;
    // A value whose element goes on to the next line ends in that line's
    // newline; the pane shows it as the line it starts.
    std::string_view shown = value.view();
    if (shown.ends_with('\n')) shown.remove_suffix(1);
    values.add(shown);
  }
  values.append_to(pane);
  if (file.failed()) messages.show_message(k_file_unreadable);
}

}  // namespace tagsieve
