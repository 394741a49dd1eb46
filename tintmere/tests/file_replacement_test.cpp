#include "tintmere/file_replacement.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "test_support/files.h"

namespace {

namespace fs = std::filesystem;
using test_support::write_file;

struct TargetCase {
  const char* name;
  std::function<void(const fs::path&)> arrange;
  bool replaced;
  const char* lands;  // the file that takes the new content, if any
  fs::perms mode;     // its mode after a replacement
};

void old_file(const fs::path& path, mode_t mode) {
  write_file(path, "old");
  ::chmod(path.c_str(), mode);
}

std::vector<TargetCase> target_cases() {
  const auto link = [](const char* target) { return [=](const fs::path& dir) { fs::create_symlink(target, dir / "Tweak.xml"); }; };
  const auto game = [](const fs::path& dir) {
    fs::create_directory(dir / "game");
    old_file(dir / "game" / "real.xml", 0640);
  };
  return {
      {"absent", [](const fs::path&) {}, true, "Tweak.xml", fs::perms(0644)},
      {"regular", [](const fs::path& dir) { old_file(dir / "Tweak.xml", 0640); }, true, "Tweak.xml", fs::perms(0640)},
      {"read-only", [](const fs::path& dir) { old_file(dir / "Tweak.xml", 0444); }, false, "Tweak.xml", {}},
      {"symbolic link", [&](const fs::path& dir) { game(dir), link("game/real.xml")(dir); }, true, "game/real.xml",
       fs::perms(0640)},
      {"chain of links",
       [&](const fs::path& dir) { game(dir), link("next")(dir), fs::create_symlink("game/real.xml", dir / "next"); },
       true, "game/real.xml", fs::perms(0640)},
      {"dangling link", [&](const fs::path& dir) { game(dir), link("game/new.xml")(dir); }, true, "game/new.xml",
       fs::perms(0644)},
      {"link loop", [&](const fs::path& dir) { link("loop")(dir), fs::create_symlink("Tweak.xml", dir / "loop"); }, false,
       "Tweak.xml", {}},
      {"folder", [](const fs::path& dir) { fs::create_directory(dir / "Tweak.xml"); }, false, "Tweak.xml", {}},
      {"pipe", [](const fs::path& dir) { ::mkfifo((dir / "Tweak.xml").c_str(), 0644); }, false, "Tweak.xml", {}},
      {"link into a read-only folder",
       [&](const fs::path& dir) { game(dir), link("game/real.xml")(dir), ::chmod((dir / "game").c_str(), 0555); },
       false, "game/real.xml", {}},
      {"link into a missing folder", link("nowhere/real.xml"), false, "nowhere/real.xml", {}},
  };
}

TEST(FileReplacement, ReplacesWhatTheTargetLeadsToOrLeavesEverythingAsItWas) {
  for (const auto& c : target_cases()) {
    SCOPED_TRACE(c.name);
    test_support::TempDir dir;
    c.arrange(dir.path());
    const bool was_link = fs::is_symlink(dir / "Tweak.xml");
    const auto old_content = test_support::read_file(dir / c.lands);
    auto expected_tree = test_support::list_tree(dir.path());
    if (c.replaced && !old_content) expected_tree.push_back(c.lands);
    std::sort(expected_tree.begin(), expected_tree.end());

    const std::string outcome = test_support::run_unprivileged(dir.path(), [&] {
      const mode_t mask = ::umask(022);
      auto replacement = tintmere::FileReplacement::begin(dir / "Tweak.xml");
      std::string result = "refused";
      if (replacement) result = ::write(replacement->fd(), "new", 3) == 3 && replacement->commit() ? "replaced" : "failed";
      replacement.reset();
      ::umask(mask);
      return result;
    });

    EXPECT_EQ(outcome, c.replaced ? "replaced" : "refused");
    EXPECT_EQ(test_support::read_file(dir / c.lands), c.replaced ? std::optional<std::string>("new") : old_content);
    if (c.replaced) {
      EXPECT_EQ(fs::status(dir / c.lands).permissions(), c.mode);
    }
    EXPECT_EQ(fs::is_symlink(dir / "Tweak.xml"), was_link);
    EXPECT_EQ(test_support::list_tree(dir.path()), expected_tree);
  }
}

}  // namespace
