#include <random>
#include <string>

#include "platform.h"
#include "savefile/temporary_file.h"

namespace savefile {

std::filesystem::path platform::random_name(const std::filesystem::path& folder, const std::filesystem::path& prefix) {
  static constexpr std::string_view k_letters = "abcdefghijklmnopqrstuvwxyz0123456789";
  static std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, k_letters.size() - 1);
  std::string suffix;
  for (int i = 0; i < 6; ++i) suffix += k_letters[pick(random)];
  std::filesystem::path name = folder / prefix;
  name += suffix;
  return name;
}

TemporaryFile::TemporaryFile(std::filesystem::path folder, std::filesystem::path prefix)
    : folder_(std::move(folder)), prefix_(std::move(prefix)) {}

TemporaryFile TemporaryFile::create(const std::filesystem::path& folder, const std::filesystem::path& prefix,
                                    std::error_code& error, Naming naming) {
  TemporaryFile made(folder, prefix);
  if (naming == Naming::unnamed_where_possible) {
    made.file_ = platform::create_unnamed_file(folder, error);
    if (!error) return made;
  }
  made.file_ = create_unique_file(folder, prefix, made.name_, error);
  if (!error) platform::guard_against_signals(made.name_);
  return made;
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : file_(std::move(other.file_)), folder_(std::move(other.folder_)), prefix_(std::move(other.prefix_)),
      name_(std::exchange(other.name_, {})), placed_(other.placed_) {}

TemporaryFile::~TemporaryFile() {
  // Closed first: Windows does not remove a file that is still open.
  [[maybe_unused]] const std::error_code closed = file_.close();
  if (name_.empty()) return;
  std::error_code ignored;
  if (!placed_) std::filesystem::remove(name_, ignored);
  platform::drop_signal_guard();
}

std::error_code TemporaryFile::name_and_close() {
  // A name beside the target for the moment between the link and the
  // rename; a taken name is tried again with other characters.
  for (int attempt = 0; name_.empty(); ++attempt) {
    const std::filesystem::path name = platform::random_name(folder_, prefix_);
    const std::error_code error = platform::give_name(file_, name);
    if (!error) {
      name_ = name;
      platform::guard_against_signals(name_);
    } else if (error != std::errc::file_exists || attempt == 100) {
      return error;
    }
  }
  return file_.close();
}

std::error_code TemporaryFile::replace(const std::filesystem::path& target, Existing existing, const RetryPause& pause) {
  if (const std::error_code error = name_and_close()) return error;
  if (const std::error_code error = replace_file(name_, target, existing, pause)) return error;
  placed_ = true;
  platform::drop_signal_guard();
  return {};
}

std::error_code TemporaryFile::write_over(const std::filesystem::path& target) {
  if (const std::error_code error = name_and_close()) return error;
  bool touched = false;
  const std::error_code error = write_in_place(name_, target, touched);
  // A write that failed midway still leaves target's own name with the whole
  // new content: this file takes its place; where even that fails, it stays
  // for the user to find.
  if (error && touched) {
    if (!replace(target)) {
      [[maybe_unused]] const std::error_code synced = sync_folder(folder_);
    }
    placed_ = true;
  }
  return error;
}

}  // namespace savefile
