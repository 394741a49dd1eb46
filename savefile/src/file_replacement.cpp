#include "savefile/file_replacement.h"

namespace savefile {

namespace fs = std::filesystem;

namespace {

// Where path finally leads once every symbolic link is followed; the last
// link may dangle, and then its target is where the file will be made.
// Nothing where a link may not be followed.
std::optional<fs::path> resolve_links(fs::path path) {
  constexpr int k_max_links = 40;  // as Linux allows
  for (int links = 0; links <= k_max_links; ++links) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (status.type() == fs::file_type::not_found) return path;
    if (error) return std::nullopt;
    if (status.type() != fs::file_type::symlink) return path;
    if (!may_follow_link(path)) return std::nullopt;
    const fs::path target = fs::read_symlink(path, error);
    if (error) return std::nullopt;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return std::nullopt;
}

fs::path folder_of(const fs::path& path) { return path.has_parent_path() ? path.parent_path() : fs::path("."); }

}  // namespace

std::optional<FileReplacement> FileReplacement::begin(const fs::path& target, TemporaryFile::Naming naming) {
  const std::optional<fs::path> resolved = resolve_links(target);
  if (!resolved) return std::nullopt;
  // Hidden where names starting with a dot are, and named for its target.
  fs::path prefix = ".";
  prefix += resolved->filename();
  prefix += ".";
  std::error_code error;
  TemporaryFile temporary = TemporaryFile::create(folder_of(*resolved), prefix, error, naming);
  if (error || match_attributes(temporary.file(), *resolved)) return std::nullopt;
  return FileReplacement(std::move(temporary), *resolved);
}

bool FileReplacement::commit(Existing existing) {
  if (temporary_.file().sync()) return false;
  // A file of several names is rewritten where it is: a new file in its
  // place would leave the other names with the old content.
  if (existing == Existing::replace && has_other_names(target_)) return !temporary_.write_over(target_);
  if (temporary_.replace(target_, existing)) return false;
  return !sync_folder(folder_of(target_));
}

}  // namespace savefile
