#include "tintmere/tweak_file.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>

#include "test_support/files.h"
#include "test_support/recording.h"

namespace {

namespace fs = std::filesystem;
using test_support::read_file;
using test_support::write_file;
using Messages = std::vector<std::string>;

// The shipped template through real files, in a folder whose name is not
// ASCII: the 25 colour lines of each of its 17 entries are recoloured, and a
// second save gives the same bytes.
TEST(GenerateTweakFile, RecoloursEveryEntryOfTheShippedTemplateTheSameEachTime) {
  const auto shipped = read_file(fs::path(TEST_DATA_DIR) / "twkdefaut.xml");
  ASSERT_TRUE(shipped);
  test_support::TempDir top;
  const fs::path dir = top.path() / fs::path(u8"Mods é œ 水");
  fs::create_directory(dir);
  write_file(dir / "twkdefaut.xml", *shipped);
  test_support::RecordingMessages messages;
  tintmere::generate_tweak_file({7, 8, 9}, messages, dir);
  const std::string saved = read_file(dir / "Tweak.xml").value_or("");
  tintmere::generate_tweak_file({7, 8, 9}, messages, dir);
  EXPECT_EQ(read_file(dir / "Tweak.xml"), saved);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(test_support::list_tree(dir), (Messages{"Tweak.xml", "twkdefaut.xml"}));
  std::size_t recoloured = 0;
  for (std::size_t at = 0; (at = saved.find(" r='7' g='8' b='9' a='", at)) != std::string::npos; ++at) ++recoloured;
  EXPECT_EQ(recoloured, 17u * 25);
  EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), std::count(shipped->begin(), shipped->end(), '\n'));
}

// The save as whoever runs the tests, root too, with a small file size limit
// when the disk is to be full: its one message.
std::string save_in(const fs::path& dir, [[maybe_unused]] bool full_disk) {
#ifndef _WIN32
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  const auto previous = ::signal(SIGXFSZ, SIG_IGN);  // writes past the limit then fail as on a full disk
  rlimit small = saved;
  if (full_disk) small.rlim_cur = 100;
  ::setrlimit(RLIMIT_FSIZE, &small);
#endif
  test_support::RecordingMessages messages;
  tintmere::generate_tweak_file({1, 2, 3}, messages, dir);
#ifndef _WIN32
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, previous);
#endif
  return messages.shown.size() == 1 ? messages.shown.front() : "messages: " + std::to_string(messages.shown.size());
}

TEST(GenerateTweakFile, AFailureSaysWhyAndLeavesTweakXmlAsItWas) {
  enum Way { plainly, on_a_full_disk, template_locked, by_a_symlink };
  const auto with_template = [](auto then) {
    return [=](const fs::path& dir) { write_file(dir / "twkdefaut.xml", std::string(500, '\n')), then(dir); };
  };
  const auto replaced_by = [&](auto make) {
    return with_template([=](const fs::path& dir) { fs::remove(dir / "Tweak.xml"), make(dir); });
  };
  const struct {
    const char* name;
    std::function<void(const fs::path&)> arrange;  // the folder already holds Tweak.xml
    std::string_view message;
    Way way = plainly;
  } cases[] = {
      {"no template", [](const fs::path&) {}, tintmere::k_template_missing},
      {"template may not be read", with_template([](const fs::path&) {}), tintmere::k_template_unreadable,
       template_locked},
      {"Tweak.xml is read-only",
       with_template([](const fs::path& dir) { fs::permissions(dir / "Tweak.xml", fs::perms(0444)); }),
       tintmere::k_output_unwritable},
      {"Tweak.xml is a hard link to the template",
       replaced_by([](const fs::path& dir) { fs::create_hard_link(dir / "twkdefaut.xml", dir / "Tweak.xml"); }),
       tintmere::k_output_unwritable},
      {"Tweak.xml is a symbolic link to the template",
       replaced_by([](const fs::path& dir) { fs::create_symlink("twkdefaut.xml", dir / "Tweak.xml"); }),
       tintmere::k_output_unwritable, by_a_symlink},
      {"disk full", with_template([](const fs::path&) {}), tintmere::k_output_unwritable, on_a_full_disk},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.way == on_a_full_disk && test_support::k_on_windows) continue;  // no file size limit there
    if (c.way == by_a_symlink && !test_support::can_make_symlinks()) continue;
    test_support::TempDir dir;
    write_file(dir / "Tweak.xml", "the user's own");
    c.arrange(dir.path());
    const auto before = test_support::list_tree(dir.path());
    const auto old = read_file(dir / "Tweak.xml");
    const auto save = [&] { return save_in(dir.path(), c.way == on_a_full_disk); };
    EXPECT_EQ(c.way == template_locked ? test_support::while_unreadable(dir / "twkdefaut.xml", save) : save(),
              c.message);
    EXPECT_EQ(read_file(dir / "Tweak.xml"), old);
    EXPECT_EQ(test_support::list_tree(dir.path()), before);
  }
}

// Windows cannot replace a file that an editor or a virus scanner holds open;
// after a short wait the save gives up and says so. Elsewhere it goes through.
TEST(GenerateTweakFile, ATweakXmlHeldOpenIsWaitedForThenReported) {
  test_support::TempDir dir;
  write_file(dir / "twkdefaut.xml", "<a/>\n");
  write_file(dir / "Tweak.xml", "the user's own");
  std::ifstream reader(dir / "Tweak.xml");
  const std::string shown = save_in(dir.path(), false);
  reader.close();
  EXPECT_EQ(shown, test_support::k_on_windows ? tintmere::k_output_unwritable : "messages: 0");
  EXPECT_EQ(read_file(dir / "Tweak.xml"), test_support::k_on_windows ? "the user's own" : "<a/>\r\n");
  EXPECT_EQ(test_support::list_tree(dir.path()), (Messages{"Tweak.xml", "twkdefaut.xml"}));
}

}  // namespace
