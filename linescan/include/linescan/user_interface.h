#pragma once

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
class LineList {
 public:
  virtual ~LineList() = default;
  virtual void clear() = 0;
  // The zero-based index of the first line equal to text as a whole, or -1.
  [[nodiscard]] virtual long find(std::string_view text) const = 0;
  virtual void append(std::string_view text) = 0;
};

}  // namespace linescan
