#pragma once

#include <span>
#include <string_view>

namespace tagsieve {

// An ordered list of text lines that the scan fills and the window shows.
// Lines are the bytes read, in no particular encoding, and hold no newline.
class LineList {
 public:
  virtual ~LineList() = default;
  virtual void clear() = 0;
  // Adds lines at the end, in order, all at once: a window redraws once.
  virtual void append(std::span<const std::string_view> lines) = 0;
};

}  // namespace tagsieve
