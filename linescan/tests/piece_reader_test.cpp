#include "linescan/piece_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support/scripted_io.h"

namespace {

using namespace std::literals;
using test_support::pieces_of;
using Pieces = std::vector<std::string>;

// Block sizes that put a block boundary at every place that can matter: every
// byte, around the piece size, and one block for the whole input.
constexpr std::size_t k_block_sizes[] = {1, 2, 3, 78, 79, 80, 81, 160, linescan::PieceReader::k_default_block_size};

struct PieceCase {
  const char* name;
  std::string input;
  Pieces expected;
};

std::vector<PieceCase> piece_cases() {
  const std::string x79(79, 'x');
  const std::string x78(78, 'x');
  return {
      {"empty input", "", {}},
      {"lone newline", "\n", {"\n"}},
      {"no final newline", "ab\ncd", {"ab\n", "cd"}},
      {"line of 79 characters", x79 + "\n", {x79, "\n"}},
      {"line of 78 characters fills a piece", x78 + "\n", {x78 + "\n"}},
      {"line of 100 characters", std::string(100, 'y') + "\n", {std::string(79, 'y'), std::string(21, 'y') + "\n"}},
      {"CRLF is one newline", "a\r\nb\r\n", {"a\n", "b\n"}},
      {"CRLF ending a full piece", x78 + "\r\n", {x78 + "\n"}},
      {"CRLF after 79 characters", x79 + "\r\nz", {x79, "\n", "z"}},
      {"lone CR is a character", "a\rb\r\r\n\r", {"a\rb\r\n", "\r"}},
      {"CR CR LF", "\r\r\n", {"\r\n"}},
      {"final CR", "ab\r", {"ab\r"}},
      {"NUL bytes are kept", "a\0b\n\0\0\n"s, {"a\0b\n"s, "\0\0\n"s}},
      {"NUL in a long line", std::string(78, '\0') + "ab\n", {std::string(78, '\0') + "a", "b\n"}},
  };
}

TEST(PieceReader, CutsTranslatedLinesIntoPiecesWhateverTheBlockSize) {
  for (const auto& c : piece_cases()) {
    for (const std::size_t block : k_block_sizes) {
      SCOPED_TRACE(testing::Message() << c.name << ", block size " << block);
      EXPECT_EQ(pieces_of(c.input, block), c.expected);
    }
  }
}

TEST(PieceReader, AReadErrorEndsTheInputAfterTheBytesReadBeforeIt) {
  test_support::ScriptedSource source("one\ntwo\nthree\n", 3, 6);
  linescan::PieceReader reader(source, 2);
  Pieces pieces;
  linescan::Piece piece;
  while (linescan::read_piece(reader, piece)) pieces.emplace_back(piece);
  EXPECT_EQ(pieces, (Pieces{"one\n", "tw"}));
  EXPECT_TRUE(reader.failed());

  test_support::ScriptedSource whole("one\n");
  linescan::PieceReader ended(whole);
  while (linescan::read_piece(ended, piece)) {
  }
  EXPECT_FALSE(ended.failed());
}

}  // namespace
