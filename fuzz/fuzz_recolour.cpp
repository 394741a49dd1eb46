// Recolouring in memory: two runs give the same bytes; a template with no
// water entry comes out as it went in, translated and with CR LF line ends;
// and every piece gives one line or part of one, whether copied or recoloured.
// Input: the template.
#include "fuzz_support.h"
#include "tintmere/recolour.h"

namespace {

std::string recoloured(std::string_view input, std::size_t block_size) {
  test_support::ScriptedSource source(input, block_size);
  linescan::PieceReader reader(source, block_size);
  test_support::ScriptedSink sink;
  linescan::TextWriter writer(sink, block_size);
  FUZZ_REQUIRE(tintmere::recolour_template(reader, writer, {255, 0, 16}) == tintmere::RecolourResult::done);
  FUZZ_REQUIRE(writer.flush());
  return sink.written;
}

std::string with_crlf(std::string_view text) {
  std::string out;
  for (const char c : text) out += c == '\n' ? std::string_view("\r\n") : std::string_view(&c, 1);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string output = recoloured(input, 65536);
  FUZZ_REQUIRE(recoloured(input, 3) == output);
  const std::string text = fuzz::translated(input);
  if (text.find("WaterPlaneTweaks") == std::string::npos) FUZZ_REQUIRE(output == with_crlf(text));
  std::size_t line_ends = 0;
  for (const auto& piece : test_support::pieces_of(input, 65536, 65536)) line_ends += piece.ends_with('\n') ? 1 : 0;
  std::size_t written_ends = 0;
  for (std::size_t at = 0; (at = output.find("\r\n", at)) != std::string::npos; at += 2) ++written_ends;
  FUZZ_REQUIRE(written_ends >= line_ends);
  return 0;
}
