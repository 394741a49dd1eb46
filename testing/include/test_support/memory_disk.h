#pragma once

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "savefile/disk.h"

namespace test_support {

// A disk in memory that records every call a save makes, and can make any
// one of them fail, or the power go or a signal come just after it. At a
// power cut it keeps only what was made durable: a file's bytes as of its
// last sync (a file written since reads torn), a folder's names as of its
// last sync. A signal ends the save's process as the system's handler would:
// the guarded file is removed, unless signals are held, and then it comes at
// their release. Either way every later call fails and changes nothing.
class MemoryDisk final : public savefile::Disk {
 public:
  // fails_held: the call fails, and a signal comes while signals are held.
  enum class Fault { none, fails, fails_held, power_cut, signal };
  using path = std::filesystem::path;
  using Identity = savefile::Identity;

  Fault fault = Fault::none;
  std::size_t fault_at = 0;     // the call it falls on
  bool unnamed_files = true;    // the system makes files without a name
  bool clones = false;          // the file system shares blocks
  std::uintmax_t room = 1 << 20;
  int lock_refusals = 0;        // how many times a lock is refused before it is given
  path read_only_folder;
  path mount_point;             // a name that a rename cannot replace
  std::vector<std::string> calls;
  int calls_after_end = 0;      // made once the process ended, or the power went
  int strays = 0;               // removals of a name that was not there, which could have been another's
  int pauses = 0;

  // A file at name holding content, owned by owner; a second name of one.
  void add(const path& name, const std::string& content, const std::string& owner = "me") {
    nodes_.push_back({content, content, 0, owner, "old"});
    names_[name] = durable_[name] = nodes_.size() - 1;
  }
  void link(const path& name, const path& existing) { names_[name] = durable_[name] = names_.at(existing); }
  [[nodiscard]] std::optional<std::string> read(const path& name) const {
    return names_.contains(name) ? std::optional(nodes_[names_.at(name)].content) : std::nullopt;
  }
  [[nodiscard]] const std::map<path, std::size_t>& names() const { return names_; }
  [[nodiscard]] bool held() const { return held_; }
  [[nodiscard]] bool room_reserved() const {
    return std::any_of(nodes_.begin(), nodes_.end(), [](const Node& node) { return node.reserved > node.content.size(); });
  }

  // Lets a fault that was to come after the last call come now.
  void finish() {
    if (came_ || ended_ || fault_at + 1 != calls.size()) return;
    came_ = true;
    pending_ = pending_ || fault == Fault::signal;
    if (pending_ && !held_) end_process();
    if (fault != Fault::power_cut) return;
    ended_ = true;
    names_ = durable_;
    for (Node& node : nodes_) node.content = node.content == node.durable ? node.durable : "(torn)";
  }

  // No name here is a link.
  path read_link(const path&, std::error_code& error) override {
    error = step("read_link");
    return {};
  }
  Identity identify(const path& name, std::error_code& error) override {
    return !(error = step("identify")) && names_.contains(name) ? identity_of(names_.at(name)) : Identity();
  }
  savefile::NewFile create(const path& folder, const path& prefix, std::error_code& error) override {
    if (!(error = step("create")) && !whole_characters(prefix.string())) error = std::make_error_code(std::errc::illegal_byte_sequence);
    if (!error && folder == read_only_folder) error = std::make_error_code(std::errc::permission_denied);
    if (error) return {};
    nodes_.push_back({"", "", 0, "me", "new"});
    auto file = std::make_unique<File>(*this, nodes_.size() - 1);
    return {std::move(file), unnamed_files ? path() : name(folder / prefix += "made", nodes_.size() - 1)};
  }
  path give_name(savefile::OpenFile& file, const path& folder, const path& prefix, std::error_code& error) override {
    if (!(error = step("give_name")) && !whole_characters(prefix.string())) error = std::make_error_code(std::errc::illegal_byte_sequence);
    return error ? path() : name(folder / prefix += "named", static_cast<File&>(file).node_);
  }
  path temporary_folder() override { return "tmp"; }
  std::unique_ptr<savefile::OpenFile> open(const path& name, Access, std::error_code& error) override {
    if (!(error = step("open")) && !names_.contains(name)) error = std::make_error_code(std::errc::no_such_file_or_directory);
    return error ? nullptr : std::make_unique<File>(*this, names_.at(name));
  }
  std::error_code rename(const path& from, const path& to, bool replace) override {
    if (const std::error_code error = step("rename")) return error;
    if (to == mount_point) return std::make_error_code(std::errc::device_or_resource_busy);
    if (!replace && names_.contains(to)) return std::make_error_code(std::errc::file_exists);
    names_[to] = names_.at(from);
    names_.erase(from);
    return {};
  }
  std::error_code remove(const path& name) override { return effect(step("remove"), [&] { strays += names_.erase(name) == 0; }); }
  std::error_code sync_folder(const path& folder) override {
    const auto in_folder = [&](const auto& name) { return savefile::folder_of(name.first) == folder; };
    return effect(step("sync_folder"), [&] {
      std::erase_if(durable_, in_folder);
      std::copy_if(names_.begin(), names_.end(), std::inserter(durable_, durable_.end()), in_folder);
    });
  }
  // Calls that cannot fail, but do nothing once the process has ended.
  void pause() override { pauses += always("pause"); }
  void drop_guard() override {
    if (always("drop_guard")) guarded_.clear();
  }
  void hold_signals() override {
    held_ = always("hold_signals") || held_;
    pending_ = pending_ || fault == Fault::fails_held;
  }
  void release_signals() override {
    if (!always("release_signals")) return;
    held_ = false;
    if (pending_) end_process();
  }

 private:
  struct Node {
    std::string content;
    std::string durable;
    std::uintmax_t reserved;
    std::string owner;
    std::string access;
  };

  // An open file: its node, and where the next read or write falls.
  struct File final : savefile::OpenFile {
    File(MemoryDisk& disk, std::size_t node) : disk_(disk), node_(node) {}
    Node& node() { return disk_.nodes_[node_]; }
    std::ptrdiff_t read_some(std::span<char> buffer) override {
      if (disk_.step("read")) return -1;
      const std::size_t count = std::min(buffer.size(), node().content.size() - at_);
      std::copy_n(node().content.begin() + static_cast<std::ptrdiff_t>(at_), count, buffer.begin());
      at_ += count;
      return static_cast<std::ptrdiff_t>(count);
    }
    std::ptrdiff_t write_some(std::span<const char> bytes) override {
      const std::uintmax_t end = at_ + bytes.size();
      if (disk_.step("write") || end > disk_.free() + std::max(node().content.size(), node().reserved)) return -1;
      node().content.resize(std::max(node().content.size(), end));
      std::copy(bytes.begin(), bytes.end(), node().content.begin() + static_cast<std::ptrdiff_t>(at_));
      at_ = end;
      return static_cast<std::ptrdiff_t>(bytes.size());
    }
    std::error_code sync() override { return effect(disk_.step("sync"), [&] { node().durable = node().content; }); }
    std::error_code close() override { return disk_.step("close"); }
    Identity identify(std::error_code& error) override { return (error = disk_.step("identify")) ? Identity() : disk_.identity_of(node_); }
    // The saver's own owner stays: another's cannot be given.
    void take_identity(const path&, const Identity& old) override {
      effect(disk_.step("take_identity"), [&] { node().access = old.access.value_or("new"); });
    }
    std::error_code lock() override {
      const std::error_code error = disk_.step("lock");
      return !error && disk_.lock_refusals-- > 0 ? savefile::held_by_another() : error;
    }
    std::error_code clone_from(OpenFile& source) override {
      const std::error_code error = disk_.step("clone_from");
      if (error || !disk_.clones) return error ? error : std::make_error_code(std::errc::not_supported);
      node().content = static_cast<File&>(source).node().content;
      return {};
    }
    // A full disk may leave part of the room reserved.
    std::error_code reserve(std::uintmax_t size) override {
      const std::uintmax_t have = std::max<std::uintmax_t>(node().content.size(), node().reserved);
      const std::error_code error =
          effect(disk_.step("reserve"), [&] { node().reserved = have + std::min(size - std::min(size, have), disk_.free()); });
      return !error && node().reserved < size ? std::make_error_code(std::errc::no_space_on_device) : error;
    }
    std::uintmax_t free_room(std::error_code& error) override { return (error = disk_.step("free_room")) ? 0 : disk_.free(); }
    std::error_code set_size(std::uintmax_t size) override {
      return effect(disk_.step("set_size"), [&] {
        node().content.resize(size);
        node().reserved = 0;
      });
    }
    MemoryDisk& disk_;
    std::size_t node_;
    std::size_t at_ = 0;
  };

  // What a call that did not fail does.
  template <class Effect>
  static std::error_code effect(const std::error_code& error, const Effect& does) {
    if (!error) does();
    return error;
  }
  // The call, named, recorded: an error where it is to fail, or the process has ended.
  std::error_code step(const char* call) {
    finish();
    calls_after_end += ended_;
    if (!ended_) calls.emplace_back(call);
    const bool fails = ended_ || ((fault == Fault::fails || fault == Fault::fails_held) && fault_at + 1 == calls.size());
    return fails ? std::make_error_code(std::errc::io_error) : std::error_code();
  }
  // Whether a call that cannot fail is made: not once the process has ended.
  bool always(const char* call) { return !step(call) || !ended_; }
  // Whether name is whole UTF-8, as a file system that takes only that wants.
  static bool whole_characters(const std::string& name) {
    for (std::size_t at = 0, size; at < name.size(); at += size) {
      const auto byte = static_cast<unsigned char>(name[at]);
      size = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 0;
      for (std::size_t next = 1; next < size; ++next) size *= at + next < name.size() && (name[at + next] & 0xC0) == 0x80;
      if (size == 0) return false;
    }
    return true;
  }
  void end_process() {
    names_.erase(guarded_);
    ended_ = true;
  }
  path name(const path& name, std::size_t node) {
    names_[name] = node;
    return guarded_ = name;
  }
  [[nodiscard]] std::uintmax_t free() const {
    std::uintmax_t used = 0;
    for (const Node& node : nodes_) used += std::max<std::uintmax_t>(node.content.size(), node.reserved);
    return room - std::min(room, used);
  }
  [[nodiscard]] Identity identity_of(std::size_t node) const {
    const auto names = std::count_if(names_.begin(), names_.end(), [&](const auto& name) { return name.second == node; });
    const Node& it = nodes_[node];
    return {Identity::Kind::regular, true, it.content.size(), static_cast<std::uintmax_t>(names), it.owner, it.access};
  }

  std::vector<Node> nodes_;
  std::map<path, std::size_t> names_;
  std::map<path, std::size_t> durable_;
  path guarded_;
  bool held_ = false;
  bool pending_ = false;
  bool ended_ = false;
  bool came_ = false;
};

}  // namespace test_support
