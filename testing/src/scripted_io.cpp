#include "test_support/scripted_io.h"

#include <algorithm>

namespace test_support {

ScriptedSource::ScriptedSource(std::string_view bytes, std::size_t chunk, std::optional<std::size_t> fail_after)
    : bytes_(bytes), chunk_(std::max<std::size_t>(chunk, 1)),
      limit_(std::min(fail_after.value_or(bytes_.size()), bytes_.size())), fails_(fail_after.has_value()) {}

std::ptrdiff_t ScriptedSource::read_some(std::span<char> buffer) {
  const std::size_t count = std::min({buffer.size(), chunk_, limit_ - offset_});
  if (count == 0) return fails_ ? -1 : 0;
  std::copy_n(bytes_.data() + offset_, count, buffer.data());
  offset_ += count;
  return static_cast<std::ptrdiff_t>(count);
}

std::ptrdiff_t ScriptedSink::write_some(std::span<const char> bytes) {
  const std::size_t room = fail_after_ ? *fail_after_ - std::min(*fail_after_, taken_) : bytes.size();
  const std::size_t count = std::min({bytes.size(), chunk_, room});
  if (count == 0) return -1;
  written.append(bytes.data(), count);
  taken_ += count;
  return static_cast<std::ptrdiff_t>(count);
}

}  // namespace test_support
