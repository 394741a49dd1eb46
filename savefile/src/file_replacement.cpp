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

// The temporary file's name: hidden where names starting with a dot are,
// named for its target, and within the 255 characters that a name may have
// once six more are added; a long name is cut, but never inside a character.
fs::path temporary_prefix(const fs::path& target) {
  constexpr std::size_t k_longest = 255 - 8;
  fs::path::string_type name = target.filename().native();
  const auto inside_a_character = [](auto unit) {
    const auto bits = static_cast<unsigned>(unit);
    return sizeof unit == 1 ? (bits & 0xC0) == 0x80 : (bits & 0xFC00) == 0xDC00;  // a UTF-8 continuation, a low surrogate
  };
  if (name.size() > k_longest) {
    std::size_t size = k_longest;
    while (size > 0 && inside_a_character(name[size])) --size;
    name.resize(size);
  }
  fs::path prefix = ".";
  prefix += name;
  prefix += ".";
  return prefix;
}

}  // namespace

std::optional<FileReplacement> FileReplacement::begin(const fs::path& target, TemporaryFile::Naming naming) {
  const std::optional<fs::path> resolved = resolve_links(target);
  if (!resolved) return std::nullopt;
  std::error_code error;
  TemporaryFile temporary = TemporaryFile::create(folder_of(*resolved), temporary_prefix(*resolved), error, naming);
  Likeness likeness;
  if (error || match_attributes(temporary.file(), *resolved, likeness)) return std::nullopt;
  return FileReplacement(std::move(temporary), *resolved, likeness);
}

bool FileReplacement::commit(Existing existing) {
  if (temporary_.file().sync()) return false;
  if (existing == Existing::replace && placement_for(likeness_) == Placement::in_place) {
    return !temporary_.write_over(target_);
  }
  if (temporary_.replace(target_, existing)) return false;
  return !sync_folder(folder_of(target_));
}

}  // namespace savefile
