#pragma once

#include "linescan/user_interface.h"

class QWidget;

namespace tagsieve {

// Shows each message in a plain modal message box with an OK button.
class MessageBoxSink final : public linescan::MessageSink {
 public:
  explicit MessageBoxSink(QWidget* parent = nullptr) : parent_(parent) {}
  void show_message(std::string_view text) override;

 private:
  QWidget* parent_;
};

}  // namespace tagsieve
