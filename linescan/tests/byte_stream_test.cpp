#include "linescan/byte_stream.h"

#include <gtest/gtest.h>

#include "test_support/scripted_io.h"

namespace {

using test_support::ScriptedSink;
using test_support::ScriptedSource;

// Copied across many reads and writes, or stopped at the first that fails.
TEST(CopyAll, CopiesToTheEndOrStopsAtAFailure) {
  const std::string bytes(200'000, 'x');
  const struct {
    const char* name;
    ScriptedSource source;
    ScriptedSink sink;
    bool copied;
    std::size_t written;
  } cases[] = {
      {"whole", ScriptedSource(bytes, 5000), ScriptedSink(3000), true, bytes.size()},
      {"a read fails", ScriptedSource(bytes, 5000, 120'000), ScriptedSink(), false, 120'000},
      {"a write fails", ScriptedSource(bytes), ScriptedSink(3000, 70'000), false, 70'000},
  };
  for (auto c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(linescan::copy_all(c.source, c.sink), c.copied);
    EXPECT_EQ(c.sink.written, bytes.substr(0, c.written));
  }
}

// A sink that breaks its promise and takes nothing: the write fails rather
// than try for ever.
TEST(WriteAll, ASinkThatTakesNothingIsAFailure) {
  struct TakesNothing final : linescan::ByteSink {
    std::ptrdiff_t write_some(std::span<const char>) override { return 0; }
  } sink;
  EXPECT_FALSE(linescan::write_all(sink, std::string_view("x")));
}

}  // namespace
