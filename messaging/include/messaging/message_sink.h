#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace messaging {

// How the tools' logic tells the user something: a modal message that the user
// dismisses before the call returns. Texts are UTF-8.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void show_message(std::string_view text) = 0;
};

// What the user is told when memory runs out in the middle of something.
inline constexpr std::string_view k_out_of_memory = "Mémoire insuffisante : l'opération a été abandonnée.";

// A file's name in a message: in French quotation marks, held to the name by
// no-break spaces.
[[nodiscard]] inline std::string quoted(const std::filesystem::path& path) {
  return "«\u00A0" + path.string() + "\u00A0»";
}

// Called from a catch block: what the exception being handled means to the
// user, whichever front end caught it.
[[nodiscard]] std::string describe_current_exception();

}  // namespace messaging
