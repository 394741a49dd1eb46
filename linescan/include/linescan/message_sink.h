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

}  // namespace linescan
