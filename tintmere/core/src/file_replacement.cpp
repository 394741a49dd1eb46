#include "tintmere/file_replacement.h"

namespace tintmere {

namespace fs = std::filesystem;

namespace {

// Where path finally leads once every symbolic link is followed; the last
// link may dangle, and then its target is where the file will be made.
std::optional<fs::path> resolve_links(fs::path path) {
  constexpr int k_max_links = 40;  // as Linux allows
  for (int links = 0; links <= k_max_links; ++links) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (status.type() == fs::file_type::not_found) return path;
    if (error) return std::nullopt;
    if (status.type() != fs::file_type::symlink) return path;
    const fs::path target = fs::read_symlink(path, error);
    if (error) return std::nullopt;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return std::nullopt;
}

fs::path folder_of(const fs::path& path) { return path.has_parent_path() ? path.parent_path() : fs::path("."); }

}  // namespace

std::optional<FileReplacement> FileReplacement::begin(const fs::path& target) {
  const std::optional<fs::path> resolved = resolve_links(target);
  if (!resolved) return std::nullopt;
  // Hidden where names starting with a dot are, and named for its target.
  fs::path prefix = ".";
  prefix += resolved->filename();
  prefix += ".";
  fs::path temporary;
  std::error_code error;
  linescan::File file = linescan::create_unique_file(folder_of(*resolved), prefix, temporary, error);
  if (error) return std::nullopt;
  FileReplacement replacement(std::move(file), std::move(temporary), *resolved);
  if (linescan::match_attributes(replacement.file_, *resolved)) return std::nullopt;
  return replacement;
}

FileReplacement::FileReplacement(linescan::File file, fs::path temporary, fs::path target)
    : file_(std::move(file)), temporary_(std::move(temporary)), target_(std::move(target)) {}

FileReplacement::FileReplacement(FileReplacement&& other) noexcept
    : file_(std::move(other.file_)), temporary_(std::move(other.temporary_)), target_(std::move(other.target_)),
      replaced_(other.replaced_) {
  other.temporary_.clear();
}

FileReplacement::~FileReplacement() {
  // Closed first: Windows does not remove a file that is still open.
  [[maybe_unused]] const std::error_code closed = file_.close();
  std::error_code ignored;
  if (!replaced_ && !temporary_.empty()) fs::remove(temporary_, ignored);
}

bool FileReplacement::commit() {
  if (file_.sync() || file_.close()) return false;
  if (linescan::replace_file(temporary_, target_)) return false;
  replaced_ = true;
  return !linescan::sync_folder(folder_of(target_));
}

}  // namespace tintmere
