#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "linescan/piece_reader.h"
#include "linescan/user_interface.h"

namespace test_support {

// A fresh folder under the system's temporary folder, removed with all it holds.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  [[nodiscard]] const std::filesystem::path& path() const { return path_; }
  [[nodiscard]] std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Makes a folder the current one for the life of the object.
class ScopedCurrentDir {
 public:
  explicit ScopedCurrentDir(const std::filesystem::path& folder);
  ~ScopedCurrentDir();
  ScopedCurrentDir(const ScopedCurrentDir&) = delete;
  ScopedCurrentDir& operator=(const ScopedCurrentDir&) = delete;

 private:
  std::filesystem::path previous_;
};

void write_file(const std::filesystem::path& path, std::string_view bytes);
// The file's bytes, or nothing when it cannot be read.
[[nodiscard]] std::optional<std::string> read_file(const std::filesystem::path& path);
// The names in a folder, sorted.
[[nodiscard]] std::vector<std::string> list_dir(const std::filesystem::path& folder);

// Where the test program's data files were copied at build time.
[[nodiscard]] std::filesystem::path data_dir();

// Runs body with the rights of an ordinary user and returns what it returned.
// As root, whose rights see through file permissions, body runs in a child
// process under the user "nobody", which then owns `folder`; otherwise it runs
// here.
[[nodiscard]] std::string run_unprivileged(const std::filesystem::path& folder, const std::function<std::string()>& body);

// Gives out the bytes of a string in reads of at most `chunk` bytes, then
// either the end of the input or, with fail_after, a read error once that many
// bytes have been given.
class ScriptedSource final : public linescan::ByteSource {
 public:
  explicit ScriptedSource(std::string bytes, std::size_t chunk = 1 << 20,
                          std::optional<std::size_t> fail_after = std::nullopt);
  [[nodiscard]] std::ptrdiff_t read_some(std::span<char> buffer) override;

 private:
  std::string bytes_;
  std::size_t chunk_;
  std::size_t limit_;
  bool fails_;
  std::size_t offset_ = 0;
};

// Every piece of bytes as read through a PieceReader with the given block size.
[[nodiscard]] std::vector<std::string> pieces_of(std::string bytes, std::size_t block_size);

class RecordingMessages final : public linescan::MessageSink {
 public:
  void show_message(std::string_view text) override { shown.emplace_back(text); }
  std::vector<std::string> shown;
};

class RecordingLines final : public linescan::LineList {
 public:
  void clear() override { lines.clear(); }
  void append(std::span<const std::string_view> added) override {
    lines.insert(lines.end(), added.begin(), added.end());
    ++appends;
  }
  std::vector<std::string> lines;
  int appends = 0;
};

}  // namespace test_support
