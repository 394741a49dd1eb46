#pragma once

#include <windows.h>

#include "messaging/message_sink.h"

namespace win32kit {

// Shows each message in a plain modal message box with an OK button, titled
// with the program's name, with the ordinary pointer even while a wait cursor
// is up.
class MessageBoxSink final : public messaging::MessageSink {
 public:
  explicit MessageBoxSink(HWND owner = nullptr) : owner_(owner) {}
  void set_owner(HWND owner) { owner_ = owner; }
  void show_message(std::string_view text) override;

 private:
  HWND owner_;
};

}  // namespace win32kit
