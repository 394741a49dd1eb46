#pragma once

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "tagsieve/line_list.h"

namespace tagsieve {

// A hash for short values: eight bytes at a time, each word mixed in with a
// multiply, so that both the low bits (the slot) and the high bits (the tag)
// depend on every byte.
struct ValueHash {
  // Tuning: any hash finds the same repeats; these constants spread values best.
  static constexpr std::uint64_t k_seed = 0x9E3779B97F4A7C15;
  static constexpr std::uint64_t k_word_mix = 0xBF58476D1CE4E5B9;  // Tuning: as above.
  static constexpr std::uint64_t k_final_mix = 0x94D049BB133111EB;  // Tuning: as above.
  static constexpr int k_word_shift = 31;  // Tuning: as above.
  static constexpr int k_final_shift = 29;  // Tuning: as above.

  // Reads each byte of the value once, eight at a time, then the rest.
  [[nodiscard]] std::uint64_t operator()(std::string_view text) const {
    std::uint64_t hash = k_seed ^ text.size();
    for (;;) {
      std::uint64_t word = 0;
      if (text.size() >= 8) {
        std::memcpy(&word, text.data(), sizeof word);
      } else {
        for (std::size_t i = 0; i < text.size(); ++i) word |= std::uint64_t{static_cast<unsigned char>(text[i])} << 8 * i;
      }
      hash = (hash ^ word) * k_word_mix;
      hash ^= hash >> k_word_shift;
      if (text.size() <= 8) break;
      text.remove_prefix(8);
    }
    hash *= k_final_mix;
    return hash ^ (hash >> k_final_shift);
  }
};

// The values a scan takes, in the order found, optionally each once. A value
// is at most a field long, so its size fits a byte.
//
// The values lie back to back in one buffer, their sizes in another. The
// repeat test is an open addressing table whose slot holds, beside where the
// value starts, its size and the top bits of its hash: a lookup reads a value
// only when all of that agrees, so a value seen for the first time costs one
// cache miss, and one seen again two, however many values there are; a file
// of a million distinct values takes linear time and little more memory than
// its values. Hash is a parameter so that tests can make every value collide.
template <typename Hash = ValueHash>
class ValueList {
 public:
  // The longest value: its size fits the byte kept for it. A field is shorter.
  static constexpr std::size_t k_max_size = 255;

  explicit ValueList(bool suppress_repeats, Hash hash = {}) : suppress_repeats_(suppress_repeats), hash_(hash) {}

  // Takes value unless repeats are suppressed and it was taken already.
  void add(std::string_view value) {
    assert(value.size() <= k_max_size);
    if (!suppress_repeats_) {
      take(value);
      return;
    }
    // The value waits its turn behind a few others while its slot is asked
    // of memory, so that the cache misses of several lookups overlap.
    if (waiting_ == k_waiting) settle(next_ - k_waiting);
    Waiting& waiting = queue_[next_++ % k_waiting];
    waiting.hash = hash_(value);
    waiting.size = value.size();
    std::copy(value.begin(), value.end(), waiting.bytes.begin());
    ++waiting_;
    if (!table_.empty()) {
      __builtin_prefetch(&table_[waiting.hash & (table_.size() - 1)]);  // Tuning: a prefetch.
    }
  }

  // Hands every value taken to the pane, in order.
  void append_to(LineList& pane) {
    while (waiting_ > 0) settle(next_ - waiting_);
    std::vector<std::string_view> lines;
    lines.reserve(sizes_.size());  // Tuning: one allocation.
    std::size_t offset = 0;
    for (const std::uint8_t size : sizes_) {
      lines.emplace_back(bytes_.data() + offset, size);
      offset += size;
    }
    pane.append(lines);
  }

 private:
  struct Waiting {
    std::uint64_t hash{};
    std::size_t size{};
    std::array<char, k_max_size> bytes{};
  };
  // Enough lookups in flight to keep memory busy, few enough to stay in cache.
  static constexpr std::size_t k_waiting = 8;  // Tuning: any queue length from 1 gives the same list.
  // The table is at most 1/k_most_full full, so that probe runs stay short.
  static constexpr std::size_t k_most_full = 2;  // Tuning: any value from 2 keeps a slot empty.
  static constexpr std::size_t k_first_table = 1024;  // Tuning: any power of two.

  // The repeat test for the value queued as number `number`.
  void settle(std::size_t number) {
    const Waiting& waiting = queue_[number % k_waiting];
    --waiting_;
    const std::string_view value(waiting.bytes.data(), waiting.size);
    // Grown before it is full: find() ends only at an empty slot.
    if (k_most_full * (sizes_.size() + 1) > table_.size()) grow_table();
    std::uint64_t& slot = find(value, waiting.hash);
    if (slot != 0) return;
    slot = slot_for(waiting.hash, value.size(), bytes_.size());
    take(value);
  }

  void take(std::string_view value) {
    sizes_.push_back(static_cast<std::uint8_t>(value.size()));
    bytes_ += value;
  }

  // A slot: the top k_tag_bits of the hash, the size, and where the value
  // starts in bytes_, plus one (0: an empty slot; 2^40 bytes of values would
  // need terabytes of memory).
  static constexpr int k_offset_bits = 40;
  static constexpr int k_tag_bits = 16;
  static constexpr std::uint64_t k_offset_mask = (std::uint64_t{1} << k_offset_bits) - 1;

  [[nodiscard]] static std::uint64_t slot_for(std::uint64_t hash, std::size_t size, std::size_t offset) {
    // The tag lies clear of the size and the offset: it only spares reading
    // values that differ, which are compared.
    const std::uint64_t tag = hash >> (64 - k_tag_bits) << (64 - k_tag_bits);
    return tag | std::uint64_t{size} << k_offset_bits | (offset + 1);
  }

  // The slot where value is, or the empty slot where it would go.
  [[nodiscard]] std::uint64_t& find(std::string_view value, std::uint64_t hash) {
    const std::uint64_t key = slot_for(hash, value.size(), 0) & ~k_offset_mask;
    const std::size_t mask = table_.size() - 1;
    for (std::size_t index = hash & mask;; index = (index + 1) & mask) {
      std::uint64_t& slot = table_[index];
      if (slot == 0) return slot;
      if ((slot & ~k_offset_mask) == key &&
          std::string_view(bytes_.data() + (slot & k_offset_mask) - 1, value.size()) == value) {
        return slot;
      }
    }
  }

  // Every value taken goes back in the table: walking them in order reads the
  // values front to back instead of jumping about the old table. They are
  // hashed a batch at a time, then placed: apart, each loop runs several
  // times faster than the two together, whose probes keep the processor
  // from looking ahead.
  void grow_table() {
    table_.assign(table_.empty() ? k_first_table : 2 * table_.size(), 0);
    const std::size_t mask = table_.size() - 1;
    constexpr std::size_t k_batch = 1024;  // Tuning: any batch from 1 places the same.
    std::array<std::uint64_t, k_batch> hashes;
    std::size_t offset = 0;
    for (std::size_t first = 0; first < sizes_.size(); first += k_batch) {
      const std::size_t count = std::min(k_batch, sizes_.size() - first);
      for (std::size_t i = 0, at = offset; i < count; at += sizes_[first + i], ++i) {
        hashes[i] = hash_(std::string_view(bytes_.data() + at, sizes_[first + i]));
      }
      for (std::size_t i = 0; i < count; ++i) {
        std::size_t index = hashes[i] & mask;
        while (table_[index] != 0) index = (index + 1) & mask;
        table_[index] = slot_for(hashes[i], sizes_[first + i], offset);
        offset += sizes_[first + i];
      }
    }
  }

  bool suppress_repeats_;
  Hash hash_;
  std::array<Waiting, k_waiting> queue_;
  std::size_t next_{};     // how many values were queued
  std::size_t waiting_ = 0;  // how many of them wait still
  std::string bytes_;
  std::vector<std::uint8_t> sizes_;
  std::vector<std::uint64_t> table_;
};

}  // namespace tagsieve
