#include "tintmere/recolour.h"

#include <gtest/gtest.h>

#include "test_support/recolour_reference.h"

namespace {

using test_support::recoloured;

constexpr tintmere::Colour k_colour{255, 0, 16};

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

// Cases a reader should see, each with its output spelt out.
TEST(RecolourTemplate, RewritesThe25PiecesAfterAListedEntry) {
  const std::string open = "<WaterPlaneTweaks name='FE.Water'>\n";
  const std::string opened = "<WaterPlaneTweaks name='FE.Water'>\r\n";
  const struct {
    std::string input;
    std::string output;
  } cases[] = {
      {"<T>\n  <A v='100%'/>\n</T>", "<T>\r\n  <A v='100%'/>\r\n</T>"},
      {open + "  <Surface r='1' g='2' b='3' a='4'/>\n", opened + "      <Surface r='255' g='0' b='16' a='4'/>\r\n"},
      {open + "no bracket a='1'\n", opened + "      < r='255' g='0' b='16' a='1'\r\n"},
      {open + "<Deep r='1'/>\n", opened + "      <Deep r='255' g='0' b='16' \r\n"},
      {"<WaterPlaneTweaks name='Water.MARS.DAY'>\n<X a='1'/>\n", "<WaterPlaneTweaks name='Water.MARS.DAY'>\r\n<X a='1'/>\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(recoloured(c.input, k_colour), c.output) << c.input;
}

TEST(RecolourTemplate, StopsAtAReadOrWriteFailure) {
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "<a/>\n";
  test_support::ScriptedSource failing_source(text, 64, 100);
  linescan::PieceReader failing_reader(failing_source, 64);
  test_support::ScriptedSink sink;
  linescan::TextWriter writer(sink, 16);
  EXPECT_EQ(tintmere::recolour_template(failing_reader, writer, k_colour), tintmere::RecolourResult::read_failed);

  // Once a write has failed the template is read no further.
  test_support::ScriptedSource source(text, 64);
  linescan::PieceReader reader(source, 64);
  test_support::ScriptedSink failing_sink(100, 10);
  linescan::TextWriter failing_writer(failing_sink, 16);
  EXPECT_EQ(tintmere::recolour_template(reader, failing_writer, k_colour), tintmere::RecolourResult::write_failed);
  EXPECT_LE(source.given(), 128u);
}

}  // namespace
