#include "tintmere/recolour.h"

#include <gtest/gtest.h>

#include "recolour_reference.h"
#include "test_support/scripted_io.h"

namespace {

// The template recoloured by the core, read and written in blocks of `block` bytes.
std::string recoloured(std::string_view input, tintmere::Colour colour, std::size_t block) {
  test_support::ScriptedSource source(input, block);
  linescan::PieceReader reader(source, block);
  test_support::ScriptedSink sink(block + 1);
  linescan::TextWriter writer(sink, block);
  const bool done = tintmere::recolour_template(reader, writer, colour) == tintmere::RecolourResult::done;
  return done && writer.flush() ? sink.written : "failed";
}

// Templates made of the lines that matter: opening pieces of listed entries in
// any letter case, of unlisted ones and of near misses; colour lines, lines
// with no 'a', no blank or no '<', lines longer than a piece; CR LF or LF.
std::string generated_template(test_support::Generator& generate) {
  const std::vector<std::string> names = {"FE.PS2Water", "fe.water",   "Water.ARABIAN.DAY", "Water.WILDWEST.NIGHT",
                                          "wATER.camelot.EVENING", "Water.MARS.DAY", "FE.Water ", ""};
  const std::vector<std::string> lines = {
      "<WaterPlaneTweaks name='" + generate.pick(names) + "' lod='2'>", "  <WaterPlaneTweaks name='FE.Water'>",
      "<waterplanetweaks name='FE.Water'>", "<WaterPlaneTweaks>'FE.Water'", "<WaterPlaneTweaks name=FE.Water>",
      "    <Wave r='1' g='2' b='3' a='4'/>", "<Deep r='1'/>", "<Ooh>", "plain text a", "", "</WaterPlaneTweaks>",
      "<Long v='" + std::string(90, '7') + "' a='5'/>", "<a" + std::string(130, 'x'), generate.text("<a '\r\0x", 6)};
  std::string text;
  for (std::size_t n = generate.below(80); n > 0; --n) {
    text += generate.below(4) == 0 ? lines[0] : generate.pick(lines);
    text += generate.below(2) == 0 ? "\n" : "\r\n";
  }
  return text + generate.text("<a \n", generate.below(3));
}

// The core against the plain reading of the rule, over templates read and
// written in blocks of every size.
TEST(RecolourTemplate, RecoloursAsThePlainReadingOfTheRule) {
  test_support::Generator generate(3);
  for (int round = 0; round < 2000; ++round) {
    const std::string input = generated_template(generate);
    const tintmere::Colour colour{static_cast<std::uint8_t>(generate.below(256)), 9, 100};
    ASSERT_EQ(recoloured(input, colour, generate.below(90) + 1), test_support::reference_recolour(input, colour))
        << testing::PrintToString(input);
  }
}

// A template that cannot be read to its end is a failure, not a shorter template.
TEST(RecolourTemplate, StopsAtAReadFailure) {
  const std::string text(1000, '\n');
  test_support::ScriptedSource source(text, 64, 100);
  linescan::PieceReader reader(source, 64);
  test_support::ScriptedSink sink;
  linescan::TextWriter writer(sink, 16);
  EXPECT_EQ(tintmere::recolour_template(reader, writer, {255, 0, 16}), tintmere::RecolourResult::read_failed);
}

}  // namespace
