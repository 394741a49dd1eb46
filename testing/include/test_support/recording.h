#pragma once

#include <string>
#include <vector>

#include "messaging/message_sink.h"

namespace test_support {

class RecordingMessages final : public messaging::MessageSink {
 public:
  void show_message(std::string_view text) override { shown.emplace_back(text); }
  std::vector<std::string> shown;
};

}  // namespace test_support
