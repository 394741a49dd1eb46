// The scan and what the pane shows of it: every value listed occurs in the
// input, none twice when repeats are suppressed, and each shows as one line
// with nothing that breaks it or turns it around. Input: the
// tag's length, the tag, then the file.
#include <set>

#include "fuzz_support.h"
#include "tagsieve/display_text.h"
#include "tagsieve/tag_scan.h"

namespace {

class Lines final : public tagsieve::LineList {
 public:
  void clear() override { lines.clear(); }
  void append(std::span<const std::string_view> added) override { lines.insert(lines.end(), added.begin(), added.end()); }
  std::vector<std::string> lines;
};

class Messages final : public messaging::MessageSink {
 public:
  void show_message(std::string_view) override {}
};

// Whether text holds no character that breaks a line or turns it around.
bool one_plain_line(std::string_view text) {
  for (const std::string_view banned : {"\n", "\r", "\v", "\f", "\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9",
                                         "\xE2\x80\xAA", "\xE2\x80\xAB", "\xE2\x80\xAC", "\xE2\x80\xAD",
                                         "\xE2\x80\xAE", "\xE2\x81\xA6", "\xE2\x81\xA7", "\xE2\x81\xA8",
                                         "\xE2\x81\xA9"}) {
    if (text.find(banned) != std::string_view::npos) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t tag_size = std::min<std::size_t>(data[0] % 16, size - 1);
  const std::string_view tag(reinterpret_cast<const char*>(data + 1), tag_size);
  const std::string_view input(reinterpret_cast<const char*>(data + 1 + tag_size), size - 1 - tag_size);
  const std::string text = fuzz::translated(input);
  for (const bool suppress_repeats : {true, false}) {
    test_support::ScriptedSource source(input, 7);
    linescan::PieceReader reader(source, 5);
    Lines pane;
    Messages messages;
    tagsieve::scan_pieces(reader, tag, suppress_repeats, pane, messages);
    if (suppress_repeats) FUZZ_REQUIRE(std::set<std::string>(pane.lines.begin(), pane.lines.end()).size() == pane.lines.size());
    for (const std::string& value : pane.lines) {
      FUZZ_REQUIRE(text.find(value) != std::string::npos);
      FUZZ_REQUIRE(one_plain_line(tagsieve::display_text(value)));
    }
  }
  return 0;
}
