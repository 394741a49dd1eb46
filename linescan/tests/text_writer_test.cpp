#include "linescan/text_writer.h"

#include <gtest/gtest.h>

#include "test_support/references.h"
#include "test_support/scripted_io.h"

namespace {

// Texts and pieces written through blocks of every small size into a sink that
// takes a few bytes at a time and may fail after some: every newline arrives as
// CR LF and every other byte as it is, up to the failure, which is kept and
// drops what follows.
TEST(TextWriter, WritesNewlinesAsCrLfUpToAFailure) {
  test_support::Generator generate(2);
  for (int round = 0; round < 500; ++round) {
    const std::size_t block = generate.below(9);  // 0 is taken as 1
    const auto fail_after = round % 2 == 0 ? std::optional(generate.below(60)) : std::nullopt;
    test_support::ScriptedSink sink(generate.below(5) + 1, fail_after);
    linescan::TextWriter writer(sink, round % 50 == 0 ? 1 << 16 : block);
    std::string expected;
    for (int part = 0; part < 8; ++part) {
      std::string text = generate.text({"ab\n\r\0", 5}, generate.below(6));
      if (part % 2 == 0) {
        writer.write(text);
      } else {
        text = text.substr(0, text.find('\n') + 1);  // a piece: its one newline last
        writer.write_piece(text);
      }
      for (const char c : text) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    const bool complete = !fail_after || *fail_after >= expected.size();
    SCOPED_TRACE(testing::Message() << testing::PrintToString(expected) << " block " << block);
    ASSERT_EQ(writer.flush(), complete);
    ASSERT_EQ(sink.written, expected.substr(0, complete ? expected.size() : *fail_after));
  }
}

// A copy stops at a write that fails; a sink that takes nothing is a failure,
// not a wait for ever.
TEST(CopyAll, StopsAtAFailedWrite) {
  const std::string bytes(200'000, 'x');
  test_support::ScriptedSource source(bytes, 5000);
  test_support::ScriptedSink sink(3000, 70'000);
  EXPECT_FALSE(linescan::copy_all(source, sink));
  EXPECT_EQ(sink.written.size(), 70'000u);
  struct TakesNothing final : linescan::ByteSink {
    std::ptrdiff_t write_some(std::span<const char>) override { return 0; }
  } nothing;
  EXPECT_FALSE(linescan::write_all(nothing, std::string_view("x")));
}

}  // namespace
