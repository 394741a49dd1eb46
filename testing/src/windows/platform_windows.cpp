#include <windows.h>

#include "test_support/files.h"

namespace test_support {

namespace fs = std::filesystem;

bool make_pipe(const fs::path&) { return false; }

// No account sees through the read-only attribute: nothing to drop.
std::string run_unprivileged(const fs::path&, const std::function<std::string()>& body) { return body(); }

std::string while_unreadable(const fs::path& path, const std::function<std::string()>& body) {
  // Held for reading, and shared with nobody.
  const HANDLE held = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held == INVALID_HANDLE_VALUE) return "could not hold the file";
  std::string result = body();
  ::CloseHandle(held);
  return result;
}

}  // namespace test_support
