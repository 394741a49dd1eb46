#pragma once

#include <string>
#include <vector>

#include "tagsieve/line_list.h"

namespace test_support {

// The tag viewer's pane as a list of byte strings, and how often it was filled.
class RecordingLines final : public tagsieve::LineList {
 public:
  void clear() override { lines.clear(); }
  void append(std::span<const std::string_view> added) override {
    lines.insert(lines.end(), added.begin(), added.end());
    ++appends;
  }
  std::vector<std::string> lines;
  int appends = 0;
};

}  // namespace test_support
