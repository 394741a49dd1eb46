#pragma once

#include "messaging/message_sink.h"

class QWidget;

namespace qtkit {

// Shows each message in a plain modal message box with an OK button, with the
// ordinary pointer even while a wait cursor is up.
class MessageBoxSink final : public messaging::MessageSink {
 public:
  explicit MessageBoxSink(QWidget* parent = nullptr) : parent_(parent) {}
  void show_message(std::string_view text) override;

 private:
  QWidget* parent_;
};

}  // namespace qtkit
