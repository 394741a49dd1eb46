#include "value_list.h"

#include <functional>

namespace tagsieve {

namespace {

std::uint64_t hash_of(std::string_view text) { return std::hash<std::string_view>{}(text); }

}  // namespace

void ValueList::add(std::string_view value) {
  if (suppress_repeats_) {
    // Kept at most half full, so that probe runs stay short.
    if (2 * (values_.size() + 1) > table_.size()) grow_table();
    const std::uint64_t hash = hash_of(value);
    const std::size_t slot = slot_of(value, hash);
    if (table_[slot] != 0) return;
    table_[slot] = (hash & ~k_index_mask) | (values_.size() + 1);
  }
  values_.push_back({bytes_.size(), value.size()});
  bytes_ += value;
}

std::size_t ValueList::slot_of(std::string_view value, std::uint64_t hash) const {
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
void ValueList::grow_table() {
  table_.assign(table_.empty() ? 1024 : 2 * table_.size(), 0);
  const std::size_t mask = table_.size() - 1;
  for (std::size_t index = 0; index < values_.size(); ++index) {
    const std::uint64_t hash = hash_of(text(values_[index]));
    std::size_t slot = hash & mask;
    while (table_[slot] != 0) slot = (slot + 1) & mask;
    table_[slot] = (hash & ~k_index_mask) | (index + 1);
  }
}

void ValueList::append_to(linescan::LineList& pane) const {
  std::vector<std::string_view> lines;
  lines.reserve(values_.size());
  for (const Value& value : values_) lines.push_back(text(value));
  pane.append(lines);
}

}  // namespace tagsieve
