#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace linescan {

// Text of at most Capacity bytes held in place, with its length. Any byte may
// appear in it, NUL included; a NUL always follows the last byte so the text
// can also be handed to code that wants a terminated string.
template <std::size_t Capacity>
class FixedText {
 public:
  static constexpr std::size_t capacity = Capacity;

  [[nodiscard]] std::string_view view() const { return {bytes_.data(), size_}; }
  [[nodiscard]] std::size_t size() const { return size_; }
  [[nodiscard]] bool empty() const { return size_ == 0; }
  [[nodiscard]] const char* c_str() const { return bytes_.data(); }

  void clear() { assign({}); }

  void assign(std::string_view text) {
    assert(text.size() <= Capacity);
    if (!text.empty()) std::memcpy(bytes_.data(), text.data(), text.size());
    size_ = text.size();
    bytes_[size_] = '\0';
  }

  friend bool operator==(const FixedText& text, std::string_view other) { return text.view() == other; }

 private:
  std::array<char, Capacity + 1> bytes_{};
  std::size_t size_ = 0;
};

// The unit in which both tools count, match and copy: one bounded read.
inline constexpr std::size_t k_piece_capacity = 79;
using Piece = FixedText<k_piece_capacity>;

// What extract_field cuts out of a piece: at most the piece less one delimiter.
using Field = FixedText<k_piece_capacity - 1>;

}  // namespace linescan
