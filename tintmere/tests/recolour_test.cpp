#include "tintmere/recolour.h"

#include <gtest/gtest.h>

#include "test_support/scripted_io.h"

namespace {

// Three digits to each channel: the longest colour text.
constexpr tintmere::Colour k_colour{255, 200, 100};

// The longest piece there is, and its element's name.
const std::string k_longest = "<a" + std::string(linescan::k_piece_capacity - 2, 'x');

TEST(Recolourer, IndentsSetsTheColourAndKeepsTheTailFromTheLastA) {
  const struct {
    std::string_view name;
    std::string_view piece;
    std::string expected;
  } cases[] = {
      {"Surface", "  <Surface r='1' g='2' b='3' a='4'/>\n", "      <Surface r='255' g='200' b='100' a='4'/>\n"},
      {"Surface", "<Surface a='9' x='1'/>", "      <Surface r='255' g='200' b='100' a='9' x='1'/>"},
      // The right-most 'a' wins, even inside a value.
      {"Foam", "<Foam r='1' a='2' tag='sea'/>\n", "      <Foam r='255' g='200' b='100' a'/>\n"},
      {"", "plain text a\n", "      < r='255' g='200' b='100' a\n"},
      // No 'a': only the newline survives, if there is one.
      {"Deep", "<Deep r='1'/>\n", "      <Deep r='255' g='200' b='100' \n"},
      {"Deep", "<Deep r='1'/>", "      <Deep r='255' g='200' b='100' "},
      // The longest fits the recolourer's buffer.
      {std::string_view(k_longest).substr(1), k_longest,
       "      <" + k_longest.substr(1) + " r='255' g='200' b='100' " + k_longest.substr(1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.piece);
    tintmere::Recolourer recoloured(k_colour);
    EXPECT_EQ(recoloured(c.name, c.piece), c.expected);
  }
}

std::string repeat(std::string_view line, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += line;
  return text;
}

// The template read in small odd blocks, so that pieces straddle them, and
// written in small ones.
std::string recoloured(const std::string& template_text) {
  test_support::ScriptedSource source(template_text, 7);
  linescan::PieceReader reader(source, 5);
  test_support::ScriptedSink sink(3);
  linescan::TextWriter writer(sink, 11);
  EXPECT_EQ(tintmere::recolour_template(reader, writer, k_colour), tintmere::RecolourResult::done);
  EXPECT_TRUE(writer.flush());
  return sink.written;
}

struct TemplateCase {
  const char* name;
  std::string template_text;
  std::string expected;
};

std::vector<TemplateCase> template_cases() {
  const std::string line = "    <Wave r='1' g='2' b='3' a='4'/>\n";
  const std::string done = "      <Wave r='255' g='200' b='100' a='4'/>\r\n";
  const std::string open = "  <WaterPlaneTweaks name='FE.Water' lod='2'>\n";
  const std::string opened = "  <WaterPlaneTweaks name='FE.Water' lod='2'>\r\n";
  const std::string close = "  </WaterPlaneTweaks>\n";
  const std::string closed = "  </WaterPlaneTweaks>\r\n";
  const std::string copied = "<X a='1'/>\r\n";
  return {
      {"no water entry: copied", "<T>\n  <A v='100%' s='%s%n'/>\n</T>", "<T>\r\n  <A v='100%' s='%s%n'/>\r\n</T>"},
      {"a listed entry", open + repeat(line, 25) + close, opened + repeat(done, 25) + closed},
      {"an unlisted entry", "<WaterPlaneTweaks name='Water.MARS.DAY'>\n<X a='1'/>\n",
       "<WaterPlaneTweaks name='Water.MARS.DAY'>\r\n" + copied},
      {"no quoted value", "<WaterPlaneTweaks name=FE.Water>\n<X a='1'/>\n",
       "<WaterPlaneTweaks name=FE.Water>\r\n" + copied},
      {"element name in another case", "<waterplanetweaks name='FE.Water'>\n<X a='1'/>\n",
       "<waterplanetweaks name='FE.Water'>\r\n" + copied},
      {"no blank after the element name", "<WaterPlaneTweaks>'FE.Water'\n<X a='1'/>\n",
       "<WaterPlaneTweaks>'FE.Water'\r\n" + copied},
      // A name with no blank after it runs to the end of its piece, newline
      // included: that newline too is written as CR LF.
      {"names that run to the line end", open + "<Deep r='1'/>\n<Ooh>\n" + close,
       opened + "      <Deep r='255' g='200' b='100' \r\n      <Ooh>\r\n r='255' g='200' b='100' \r\n" +
           "      </WaterPlaneTweaks>\r\n r='255' g='200' b='100' aks>\r\n"},
      {"ending within the countdown", open + line + "<Last a='1'/>",
       opened + done + "      <Last r='255' g='200' b='100' a='1'/>"},
      // Its first piece has no 'a' and no newline; its second has no '<'.
      {"a long line counts as two pieces", open + "<Long v='" + std::string(90, '7') + "' a='5'/>\n" + repeat(line, 24),
       opened + "      <Long r='255' g='200' b='100' " + "      < r='255' g='200' b='100' a='5'/>\r\n" +
           repeat(done, 23) + "    <Wave r='1' g='2' b='3' a='4'/>\r\n"},
      // The second opening piece falls inside the first countdown: it is
      // recoloured itself (its tail starts at the 'a' of "Water") and starts 25 more.
      {"two entries fewer than 25 pieces apart", open + repeat(line, 3) + open + repeat(line, 26),
       opened + repeat(done, 3) + "      <WaterPlaneTweaks r='255' g='200' b='100' ater' lod='2'>\r\n" +
           repeat(done, 25) + "    <Wave r='1' g='2' b='3' a='4'/>\r\n"},
  };
}

TEST(RecolourTemplate, RecoloursThe25PiecesAfterEveryListedEntry) {
  for (const auto& c : template_cases()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(recoloured(c.template_text), c.expected);
  }
}

TEST(RecolourTemplate, StopsAtAReadOrWriteFailure) {
  const std::string text = repeat("<a/>\n", 1000);
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
