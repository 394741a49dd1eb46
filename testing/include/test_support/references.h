#pragma once

#include <cstddef>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Plain references of what the cores must give, written the obvious way, and
// a seeded maker of inputs for them: the unit tests run the cores against
// them over generated inputs, the fuzz targets over the fuzzer's.
namespace test_support {

// The input in text mode: every CR LF pair becomes LF.
inline std::string translated(std::string_view input) {
  std::string out;
  for (std::size_t i = 0; i < input.size(); ++i) {
    if (!(input[i] == '\r' && i + 1 < input.size() && input[i + 1] == '\n')) out += input[i];
  }
  return out;
}

// The translated input cut after each newline and every 79 bytes.
inline std::vector<std::string> reference_pieces(std::string_view input) {
  std::vector<std::string> pieces;
  std::string piece;
  for (const char c : translated(input)) {
    piece += c;
    if (c == '\n' || piece.size() == 79) pieces.push_back(std::exchange(piece, {}));
  }
  if (!piece.empty()) pieces.push_back(piece);
  return pieces;
}

// The text between the first `open` and the next `close`, or to the end.
inline std::string reference_field(std::string_view piece, char open, char close) {
  if (piece.empty() || piece[0] == '\n') return {};
  const std::size_t start = piece.find(open);
  if (start == std::string_view::npos) return {};
  const std::size_t end = piece.find(close, start + 1);
  return std::string(piece.substr(start + 1, end == std::string_view::npos ? std::string_view::npos : end - start - 1));
}

// Inputs from a fixed seed, so that a failure comes back on every run.
class Generator {
 public:
  explicit Generator(unsigned seed) : random_(seed) {}
  std::size_t below(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }
  template <typename T>
  const T& pick(const std::vector<T>& from) { return from[below(from.size())]; }
  // `size` bytes, each one of `alphabet`.
  std::string text(std::string_view alphabet, std::size_t size) {
    std::string out;
    for (std::size_t i = 0; i < size; ++i) out += alphabet[below(alphabet.size())];
    return out;
  }

 private:
  std::mt19937 random_;
};

}  // namespace test_support
