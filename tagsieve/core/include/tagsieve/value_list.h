#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tagsieve/line_list.h"

namespace tagsieve {

// The values a scan takes, in the order found, optionally each once.
//
// The values lie back to back in one buffer, and the repeat test is an open
// addressing table of their indexes, each slot tagged with bits of its value's
// hash: a probe reads a value only when its tag matches, so a lookup costs
// about one cache miss however many values there are, and a file of a million
// distinct values takes linear time and little more memory than its values.
// Hash is a parameter so that tests can make every value collide.
template <typename Hash = std::hash<std::string_view>>
class ValueList {
 public:
  explicit ValueList(bool suppress_repeats, Hash hash = {}) : suppress_repeats_(suppress_repeats), hash_(hash) {}

  // Takes value unless repeats are suppressed and it was taken already.
  void add(std::string_view value) {
    if (suppress_repeats_) {
      // Kept at most half full, so that probe runs stay short.
      if (2 * (values_.size() + 1) > table_.size()) grow_table();
      const std::uint64_t hash = hash_(value);
      const std::size_t slot = slot_of(value, hash);
      if (table_[slot] != 0) return;
      table_[slot] = (hash & ~k_index_mask) | (values_.size() + 1);
    }
    values_.push_back({bytes_.size(), value.size()});
    bytes_ += value;
  }

  void append_to(LineList& pane) const {
    std::vector<std::string_view> lines;
    lines.reserve(values_.size());
    for (const Value& value : values_) lines.push_back(text(value));
    pane.append(lines);
  }

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
  [[nodiscard]] std::size_t slot_of(std::string_view value, std::uint64_t hash) const {
    const std::size_t mask = table_.size() - 1;
    const std::uint64_t tag = hash & ~k_index_mask;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
      const std::uint64_t entry = table_[slot];
      if (entry == 0) return slot;
      if ((entry & ~k_index_mask) == tag && text(values_[(entry & k_index_mask) - 1]) == value) return slot;
    }
  }

  // Every value taken is in the table: walking them in order reads the values
  // front to back instead of jumping about the old table.
  void grow_table() {
    table_.assign(table_.empty() ? 1024 : 2 * table_.size(), 0);
    const std::size_t mask = table_.size() - 1;
    for (std::size_t index = 0; index < values_.size(); ++index) {
      const std::uint64_t hash = hash_(text(values_[index]));
      std::size_t slot = hash & mask;
      while (table_[slot] != 0) slot = (slot + 1) & mask;
      table_[slot] = (hash & ~k_index_mask) | (index + 1);
    }
  }

  bool suppress_repeats_;
  Hash hash_;
  std::string bytes_;
  std::vector<Value> values_;
  std::vector<std::uint64_t> table_;
};

}  // namespace tagsieve
