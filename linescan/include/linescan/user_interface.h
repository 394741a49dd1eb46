#pragma once

#include <span>
#include <string_view>

namespace linescan {

// How the tools' logic tells the user something: a modal message that the user
// dismisses before the call returns. Texts are UTF-8.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void show_message(std::string_view text) = 0;
};

// An ordered list of text lines that the logic fills and the window shows.
// Lines are the bytes read, in no particular encoding, and hold no newline.
class LineList {
 public:
  virtual ~LineList() = default;
  virtual void clear() = 0;
  // Adds lines at the end, in order, all at once: a window redraws once.
  virtual void append(std::span<const std::string_view> lines) = 0;
};

}  // namespace linescan
