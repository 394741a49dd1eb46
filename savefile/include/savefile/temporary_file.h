#pragma once

#include <filesystem>
#include <system_error>

#include "linescan/file.h"
#include "savefile/steps.h"

namespace savefile {

// The new file behind a FileReplacement (see file_replacement.h for what a
// save promises), in the folder of the file it is to replace. Where the
// system allows it (Linux's O_TMPFILE) it has no name until replace(); else
// it is named prefix and a few random characters, and a handler of SIGINT,
// SIGTERM and SIGHUP removes it (one such file at a time). It is removed when
// the object goes, unless it has taken its place.
class TemporaryFile {
 public:
  enum class Naming { unnamed_where_possible, named };

  [[nodiscard]] static TemporaryFile create(const std::filesystem::path& folder, const std::filesystem::path& prefix,
                                            std::error_code& error, Naming naming = Naming::unnamed_where_possible);
  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile& operator=(TemporaryFile&&) = delete;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile();

  [[nodiscard]] linescan::File& file() { return file_; }

  // Closes the file and puts it in target's place in one step, as
  // replace_file() does, first naming it in its folder if it has no name.
  [[nodiscard]] std::error_code replace(const std::filesystem::path& target, Existing existing = Existing::replace,
                                        const RetryPause& pause = pause_before_retry);

  // Closes the file and writes its content over target, as write_in_place()
  // does, first naming it in its folder if it has no name. A write that fails
  // once it has touched target still gives target's own name the whole new
  // content: the file takes its place, or where even that fails, stays. The
  // error is returned either way.
  [[nodiscard]] std::error_code write_over(const std::filesystem::path& target);

 private:
  TemporaryFile(std::filesystem::path folder, std::filesystem::path prefix);
  // Gives the file a name if it has none, and closes it.
  [[nodiscard]] std::error_code name_and_close();

  linescan::File file_;
  std::filesystem::path folder_;
  std::filesystem::path prefix_;
  std::filesystem::path name_;  // empty while it has none
  bool placed_ = false;
};

}  // namespace savefile
