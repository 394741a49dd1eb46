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

// Text mode is the tools' own: a C runtime's would end the template at the
// byte that meant the end of a file to DOS.
TEST(GenerateTweakFile, ReadsPastAControlZ) {
  test_support::TempDir dir;
  write_file(dir / "twkdefaut.xml", "<a/>\n\x1A<b/>\r\n");
  test_support::RecordingMessages messages;
  tintmere::generate_tweak_file({1, 2, 3}, messages, dir.path());
  EXPECT_EQ(read_file(dir / "Tweak.xml"), "<a/>\r\n\x1A<b/>\r\n");
}

struct FailureCase {
  const char* name;
  std::function<void(const fs::path&)> arrange;  // the folder already holds Tweak.xml
  std::string_view message;
  bool full_disk = false;
  bool unprivileged = false;  // root sees through read-only files
  bool template_locked = false;  // there, but not to be read by the save
};

void expect_failure(const FailureCase& c) {
  SCOPED_TRACE(c.name);
  test_support::TempDir dir;
  write_file(dir / "Tweak.xml", "the user's own");
  c.arrange(dir.path());
  const auto before = test_support::list_tree(dir.path());
  const auto old = read_file(dir / "Tweak.xml");
  const auto generate = [&] {
#ifndef _WIN32
    // A file size limit makes writes past it fail as on a full disk.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto previous = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    if (c.full_disk) small.rlim_cur = 100;
    ::setrlimit(RLIMIT_FSIZE, &small);
#endif
    test_support::RecordingMessages messages;
    tintmere::generate_tweak_file({1, 2, 3}, messages, dir.path());
#ifndef _WIN32
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previous);
#endif
    return messages.shown.size() == 1 ? messages.shown.front() : "messages: " + std::to_string(messages.shown.size());
  };
  const std::string shown = c.template_locked ? test_support::while_unreadable(dir / "twkdefaut.xml", generate)
                            : c.unprivileged  ? test_support::run_unprivileged(dir.path(), generate)
                                              : generate();
  EXPECT_EQ(shown, c.message);
  EXPECT_EQ(read_file(dir / "Tweak.xml"), old);
  EXPECT_EQ(test_support::list_tree(dir.path()), before);
}

const auto template_file = [](const fs::path& dir) { write_file(dir / "twkdefaut.xml", std::string(500, '\n')); };

const auto read_only_output = [](const fs::path& dir) {
  template_file(dir);
  fs::permissions(dir / "Tweak.xml", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
};

TEST(GenerateTweakFile, AFailureSaysWhyAndLeavesTweakXmlAsItWas) {
  const FailureCase cases[] = {
      {"no template", [](const fs::path&) {}, tintmere::k_template_missing},
      {"template is a folder", [](const fs::path& dir) { fs::create_directory(dir / "twkdefaut.xml"); },
       tintmere::k_template_missing},
      {"template may not be read", template_file, tintmere::k_template_unreadable, false, false, true},
      {"Tweak.xml is a folder",
       [](const fs::path& dir) {
         template_file(dir);
         fs::remove(dir / "Tweak.xml");
         fs::create_directory(dir / "Tweak.xml");
       },
       tintmere::k_output_unwritable},
      {"Tweak.xml is read-only",
       read_only_output,
       tintmere::k_output_unwritable, false, true},
      {"Tweak.xml is read-only, saved by whoever runs the tests, root too",
       read_only_output,
       tintmere::k_output_unwritable},
      {"Tweak.xml is a hard link to the template",
       [](const fs::path& dir) {
         template_file(dir);
         fs::remove(dir / "Tweak.xml");
         fs::create_hard_link(dir / "twkdefaut.xml", dir / "Tweak.xml");
       },
       tintmere::k_output_unwritable},
  };
  for (const auto& c : cases) expect_failure(c);
}

TEST(GenerateTweakFile, ATweakXmlThatLeadsToTheTemplateIsRefused) {
  if (!test_support::can_make_symlinks()) GTEST_SKIP() << "this system makes no symbolic links";
  expect_failure({"Tweak.xml is a symbolic link to the template",
                  [](const fs::path& dir) {
                    template_file(dir);
                    fs::remove(dir / "Tweak.xml");
                    fs::create_symlink("twkdefaut.xml", dir / "Tweak.xml");
                  },
                  tintmere::k_output_unwritable});
}

TEST(GenerateTweakFile, AFailureOfADeviceAReadOrAFullDiskSaysWhy) {
  if (test_support::k_on_windows) GTEST_SKIP() << "no device files, /proc or file size limit on Windows";
  const FailureCase cases[] = {
      {"template is a device", [](const fs::path& dir) { fs::create_symlink("/dev/zero", dir / "twkdefaut.xml"); },
       tintmere::k_template_missing},
      {"template is a file of the kernel's",
       [](const fs::path& dir) { fs::create_symlink("/proc/self/status", dir / "twkdefaut.xml"); },
       tintmere::k_template_unreadable},
      {"disk full", template_file, tintmere::k_output_unwritable, true},
  };
  for (const auto& c : cases) expect_failure(c);
}

// Windows cannot replace a file that an editor or a virus scanner holds open;
// after a short wait the save gives up and says so. Elsewhere it goes through.
TEST(GenerateTweakFile, ATweakXmlHeldOpenIsWaitedForThenReported) {
  test_support::TempDir dir;
  template_file(dir.path());
  write_file(dir / "Tweak.xml", "the user's own");
  std::ifstream reader(dir / "Tweak.xml");
  test_support::RecordingMessages messages;
  tintmere::generate_tweak_file({1, 2, 3}, messages, dir.path());
  reader.close();
  EXPECT_EQ(messages.shown.size(), test_support::k_on_windows ? 1u : 0u);
  EXPECT_EQ(read_file(dir / "Tweak.xml") == "the user's own", test_support::k_on_windows);
  EXPECT_EQ(test_support::list_tree(dir.path()), (Messages{"Tweak.xml", "twkdefaut.xml"}));
}

}  // namespace
