#include "linescan/text_writer.h"

#include <gtest/gtest.h>

#include "test_support/scripted_io.h"

namespace {

using namespace std::literals;

TEST(TextWriter, WritesEveryNewlineAsCrLfAndEveryOtherByteAsItIs) {
  for (const std::size_t block : {0, 1, 2, 3, 64 * 1024}) {  // 0 is taken as 1
    SCOPED_TRACE(block);
    test_support::ScriptedSink sink(2);
    linescan::TextWriter writer(sink, block);
    for (const auto part : {"a\nb"sv, "\n"sv, ""sv, "\r%i\0\n"sv}) writer.write(part);
    for (const auto piece : {"c\n"sv, ""sv, "d"sv, "\n"sv}) writer.write_piece(piece);
    EXPECT_TRUE(writer.flush());
    EXPECT_EQ(sink.written, "a\r\nb\r\n\r%i\0\r\nc\r\nd\r\n"sv);
  }
}

TEST(TextWriter, AFailedWriteIsKeptAndWhatFollowsIsDropped) {
  test_support::ScriptedSink sink(100, 5);
  linescan::TextWriter writer(sink, 4);
  writer.write("0123456789\n");
  EXPECT_TRUE(writer.failed());
  writer.write("more");
  EXPECT_FALSE(writer.flush());
  EXPECT_EQ(sink.written, "01234");
}

}  // namespace
