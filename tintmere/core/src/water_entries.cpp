#include "tintmere/water_entries.h"

#include <algorithm>

namespace tintmere {

namespace {

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equal_ignoring_ascii_case(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, {}, ascii_lower, ascii_lower);
}

}  // namespace

bool is_water_entry(std::string_view name) {
  return std::ranges::any_of(k_water_entries, [name](std::string_view entry) { return equal_ignoring_ascii_case(entry, name); });
}

}  // namespace tintmere
