#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "linescan/user_interface.h"

namespace tagsieve {

// The values a scan takes, in the order found, optionally each once.
//
// The values lie back to back in one buffer, and the repeat test is an open
// addressing table of their indexes, each slot tagged with bits of its value's
// hash: a probe reads a value only when its tag matches, so a lookup costs
// about one cache miss however many values there are, and a file of a million
// distinct values takes linear time and little more memory than its values.
class ValueList {
 public:
  explicit ValueList(bool suppress_repeats) : suppress_repeats_(suppress_repeats) {}

  // Takes value unless repeats are suppressed and it was taken already.
  void add(std::string_view value);

  void append_to(linescan::LineList& pane) const;

 private:
  struct Value {
    std::size_t offset;
    std::size_t size;
  };

  // A slot holds the value's index + 1 in its low k_index_bits (0: empty) and
  // the top bits of its hash above them. 2^40 values would need terabytes.
  static constexpr int k_index_bits = 40;
  static constexpr std::uint64_t k_index_mask = (std::uint64_t{1} << k_index_bits) - 1;

  [[nodiscard]] std::string_view text(const Value& value) const { return {bytes_.data() + value.offset, value.size}; }
  // The slot of the table where value is, or the empty slot where it would go.
  [[nodiscard]] std::size_t slot_of(std::string_view value, std::uint64_t hash) const;
  void grow_table();

  bool suppress_repeats_;
  std::string bytes_;
  std::vector<Value> values_;
  std::vector<std::uint64_t> table_;
};

}  // namespace tagsieve
