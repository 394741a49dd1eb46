#include "savefile/file_replacement.h"

#include <functional>

// How a save keeps its promise: the file already there is never damaged, and
// nobody gains access to it through a save.
//
// 1. begin(): follow the target's links to the file itself, refuse what may
//    not be written, and make a copy beside it for the new content, without a
//    name where the system can make one, so that nothing is left should the
//    process end.
// 2. commit(): make the new content durable before any name leads to it.
// 3. Measure what the copy can keep of the old file's own: give it the old
//    one's owner and access, then read back what it really has.
// 4. Decide, from that alone (placement_for()).
// 5. Either the copy takes the old file's name in one step (put_in_place()),
//    or the old file is written over where it is (write_over()): with the
//    copy's name made durable first, the file locked against another save,
//    and room for the whole rewrite made sure before it is touched; a write
//    that still fails midway gives the target's own name the whole copy
//    (rescue()).
namespace savefile {

namespace fs = std::filesystem;

namespace {

enum class Placement { new_file, in_place };

// The one decision of a save, from what was measured:
//
// | the old file | the copy, as measured                              | placement |
// |--------------|----------------------------------------------------|-----------|
// | none         | any                                                | new file  |
// | one name     | beside it, with the same owner and the same access | new file  |
// | one name     | elsewhere, or another owner or access, or unread   | in place  |
// | other names  | any                                                | in place  |
//
// A new file stands for the old one only where it is the old one in all but
// its content: else the other names would keep the old content, or who may
// use the file would change (the saver can neither give a file away nor give
// it a group of others'). Written over where it is, the old file keeps all it
// has, as Vim's backupcopy=auto and Emacs's backup-by-copying-when-linked and
// -when-mismatch do. What could not be measured counts as not alike. A save
// that may only take a free name (Existing::keep) never writes over a file.
Placement placement_for(const Identity& old, const Identity& copy, bool beside, Existing existing) {
  if (old.kind == Identity::Kind::missing || existing == Existing::keep) return Placement::new_file;
  const auto same = [](const std::optional<std::string>& a, const std::optional<std::string>& b) { return a && b && *a == *b; };
  const bool alike = beside && old.names == 1 && same(old.owner, copy.owner) && same(old.access, copy.access);
  return alike ? Placement::new_file : Placement::in_place;
}

// Another program's hold on the file (an editor, a virus scanner, another
// save) is waited out for about five seconds, never for good.
constexpr int k_tries = 50;

std::error_code with_retries(Disk& disk, const std::function<std::error_code()>& call) {
  for (int tries = 1;; ++tries) {
    const std::error_code error = call();
    if (error != held_by_another() || tries == k_tries) return error;
    disk.pause();
  }
}

// Where path finally leads once every symbolic link is followed; the last
// link may dangle, and then its target is where the file will be made.
// Nothing where a link may not be followed.
std::optional<fs::path> resolve_links(Disk& disk, fs::path path) {
  constexpr int k_most_links = 40;  // as Linux follows
  for (int links = 0; links <= k_most_links; ++links) {
    std::error_code error;
    const fs::path target = disk.read_link(path, error);
    if (error) return std::nullopt;
    if (target.empty()) return path;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return std::nullopt;
}

// The copy's name: hidden where names starting with a dot are, named for its
// target, and within the 255 characters that a name may have once six more
// are added; a long name is cut, but never inside a character.
fs::path copy_prefix(const fs::path& target) {
  constexpr std::size_t k_longest = 247;  // 255, less a dot before and a dot and six characters after
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

std::error_code io_error() { return std::make_error_code(std::errc::io_error); }

// A signal that would end the process waits while the object lives.
class HeldSignals {
 public:
  explicit HeldSignals(Disk& disk) : disk_(disk) { disk_.hold_signals(); }
  ~HeldSignals() { disk_.release_signals(); }
  HeldSignals(const HeldSignals&) = delete;
  HeldSignals& operator=(const HeldSignals&) = delete;

 private:
  Disk& disk_;
};

// Makes sure, before the target is touched, that the disk has room for its
// rewrite: the growth, if any, reserved where the file system can, and the whole new
// size free besides, which a file system that writes every change to new
// blocks (btrfs, ZFS) needs; with a little more for the file system's own
// records. Room reserved in part is given back.
std::error_code make_room(OpenFile& target, std::uintmax_t old_size, std::uintmax_t new_size) {
  constexpr std::uintmax_t k_records = 64 << 10;
  std::error_code error;
  error = target.reserve(new_size);
  if (error == std::errc::not_supported) error.clear();
  const std::uintmax_t free = error ? 0 : target.free_room(error);
  if (!error && free < new_size + new_size / 64 + k_records) error = std::make_error_code(std::errc::no_space_on_device);
  if (error) {
    [[maybe_unused]] const std::error_code given_back = target.set_size(old_size);
  }
  return error;
}

}  // namespace

std::optional<FileReplacement> FileReplacement::begin(const fs::path& target, Disk& disk) {
  const std::optional<fs::path> resolved = resolve_links(disk, target);
  if (!resolved) return std::nullopt;
  std::error_code error;
  Identity old = disk.identify(*resolved, error);
  using Kind = Identity::Kind;
  // A file that nobody may write stays as it is, even for root, whose rights
  // see through permissions: its owner made it read-only.
  if (error || old.kind == Kind::other || (old.kind == Kind::regular && !old.writable)) return std::nullopt;
  FileReplacement made(disk, *resolved, std::move(old));
  // Beside the old file, so that it can take its place in one step. A
  // writable file in a folder that the saver may not write to can still be
  // written over where it is; its copy goes to the temporary folder then.
  made.copy_folder_ = folder_of(made.target_);
  NewFile copy = disk.create(made.copy_folder_, copy_prefix(made.target_), error);
  if (error == std::errc::permission_denied && made.old_.kind == Kind::regular) {
    error.clear();
    made.copy_folder_ = disk.temporary_folder();
    copy = disk.create(made.copy_folder_, copy_prefix(made.target_), error);
  }
  if (error) return std::nullopt;
  made.copy_ = std::move(copy.file);
  made.copy_name_ = std::move(copy.name);
  return made;
}

FileReplacement::FileReplacement(FileReplacement&& other) noexcept
    : disk_(std::exchange(other.disk_, nullptr)), target_(std::move(other.target_)), old_(std::move(other.old_)),
      copy_(std::move(other.copy_)), copy_folder_(std::move(other.copy_folder_)),
      copy_name_(std::exchange(other.copy_name_, {})), kept_(other.kept_) {}

// The copy goes with the object, unless it has taken the target's name or
// holds the only whole new content.
FileReplacement::~FileReplacement() {
  if (disk_ == nullptr) return;
  // Closed first: Windows does not remove a file that is still open.
  if (copy_) {
    [[maybe_unused]] const std::error_code closed = copy_->close();
  }
  if (copy_name_.empty()) return;
  if (!kept_) {
    [[maybe_unused]] const std::error_code removed = disk_->remove(copy_name_);
  }
  disk_->drop_guard();
}

bool FileReplacement::made_beside() const { return copy_folder_ == folder_of(target_); }

Outcome FileReplacement::commit(Existing existing) {
  // Durable before any name leads to it: a power cut never leaves a name on
  // a half-written copy.
  if (copy_->sync()) return {};
  copy_->take_identity(target_, old_);
  std::error_code unmeasured;
  const Identity copy = copy_->identify(unmeasured);
  return placement_for(old_, copy, made_beside(), existing) == Placement::new_file ? put_in_place(existing) : write_over();
}

std::error_code FileReplacement::name_copy() {
  if (!copy_name_.empty()) return {};
  std::error_code error;
  copy_name_ = disk_->give_name(*copy_, copy_folder_, copy_prefix(target_), error);
  return error;
}

// The copy takes the target's name in one step: a reader of the old file
// keeps reading it, and a power cut leaves the one or the other.
Outcome FileReplacement::put_in_place(Existing existing) {
  if (name_copy() || copy_->close()) return {};
  const std::error_code error =
      with_retries(*disk_, [&] { return disk_->rename(copy_name_, target_, existing == Existing::replace); });
  // A name that cannot be replaced (a file mounted on another, as containers
  // mount single files) can still be written over.
  if (error == std::errc::device_or_resource_busy) return write_over();
  if (error) return {};
  kept_ = true;
  // A folder that cannot be synced leaves the new name as durable as its
  // file system makes a rename.
  [[maybe_unused]] const std::error_code synced = disk_->sync_folder(folder_of(target_));
  return {Outcome::Kind::saved, target_};
}

// Written over where it is, the old file keeps all it has, and every name of
// it reads the new content. A reader meanwhile may see part of the old and
// part of the new.
Outcome FileReplacement::write_over() {
  // The copy is the rescue should the write fail midway: its name is made
  // durable before the target is touched.
  if (name_copy() || copy_->close() || disk_->sync_folder(copy_folder_)) return {};
  std::unique_ptr<OpenFile> target;
  const auto open_target = [&] {
    std::error_code error;
    target = disk_->open(target_, Disk::Access::write, error);
    return error;
  };
  // Another save of the same file (another window) ends its write before
  // this one starts.
  if (with_retries(*disk_, open_target) || with_retries(*disk_, [&] { return target->lock(); })) return {};
  std::error_code error;
  const std::unique_ptr<OpenFile> source = disk_->open(copy_name_, Disk::Access::read, error);
  if (error) return {};
  const std::uintmax_t old_size = target->identify(error).size;
  if (error) return {};
  const std::uintmax_t new_size = source->identify(error).size;
  if (error) return {};

  // A signal that would end the process waits until the write is over, and
  // durable, or rescued.
  const HeldSignals held(*disk_);
  error = target->clone_from(*source);
  if (error == std::errc::not_supported) {
    if (make_room(*target, old_size, new_size)) return {};
    error = linescan::copy_all(*source, *target) ? std::error_code() : io_error();
  }
  if (!error) error = target->set_size(new_size);
  if (!error) error = target->sync();
  if (!error) error = target->close();
  return error ? rescue(*target) : Outcome{Outcome::Kind::saved, target_};
}

// A write over the target that failed midway leaves its names with part of
// the new content. Its own name, which the game reads, takes the whole copy;
// where even that fails, the copy stays for the user to find.
Outcome FileReplacement::rescue(OpenFile& target) {
  // Room reserved past what was written is given back.
  std::error_code error;
  const std::uintmax_t written = target.identify(error).size;
  if (!error) {
    [[maybe_unused]] const std::error_code given_back = target.set_size(written);
  }
  [[maybe_unused]] const std::error_code closed = target.close();
  kept_ = true;
  disk_->drop_guard();
  if (made_beside() && !with_retries(*disk_, [&] { return disk_->rename(copy_name_, target_, true); })) {
    [[maybe_unused]] const std::error_code synced = disk_->sync_folder(folder_of(target_));
    return {Outcome::Kind::rescued, target_};
  }
  return {Outcome::Kind::cut_short, copy_name_};
}

}  // namespace savefile
