#include "linescan/file.h"

namespace linescan {

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    [[maybe_unused]] const std::error_code ignored = close();
    native_ = std::exchange(other.native_, k_invalid);
  }
  return *this;
}

File::~File() {
  // Nothing can be reported from here: a file whose close matters is closed
  // by its owner first.
  [[maybe_unused]] const std::error_code ignored = close();
}

}  // namespace linescan
