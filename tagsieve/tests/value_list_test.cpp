#include "tagsieve/value_list.h"

#include <gtest/gtest.h>

#include "test_support/recording_lines.h"

namespace {

// Every value lands on the same slot, so every lookup walks the collision
// path and must compare the values themselves.
struct SameHash {
  std::uint64_t operator()(std::string_view) const { return 0xABCDEF0000000000; }
};

template <typename Hash>
std::vector<std::string> listed(bool suppress_repeats, int count) {
  tagsieve::ValueList<Hash> values(suppress_repeats);
  // Seen twice: first in order, then in another order.
  for (int i = 0; i < 2 * count; ++i) values.add(std::to_string(i < count ? i : (i * 7) % count));
  test_support::RecordingLines pane;
  values.append_to(pane);
  return pane.lines;
}

TEST(ValueList, KeepsTheFirstOfEachValueInOrderAcrossCollisionsAndGrowth) {
  // 1500 values outgrow the first table, and 600 colliding ones fill a run
  // longer than it once was.
  for (const auto& [lines, count] : {std::pair{listed<tagsieve::ValueHash>(true, 1500), 1500},
                                     std::pair{listed<SameHash>(true, 600), 600}}) {
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) EXPECT_EQ(lines[i], std::to_string(i));
  }
  EXPECT_EQ(listed<SameHash>(false, 50).size(), 100u);
}

}  // namespace
