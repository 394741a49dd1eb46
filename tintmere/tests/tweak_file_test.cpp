#include "tintmere/tweak_file.h"

#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "test_support/files.h"
#include "test_support/recording.h"

namespace {

namespace fs = std::filesystem;
using test_support::read_file;
using test_support::write_file;
using Messages = std::vector<std::string>;

// The shipped template through real files: the 25 colour lines of each of its
// 17 entries are recoloured, and a second save gives the same bytes.
TEST(GenerateTweakFile, RecoloursEveryEntryOfTheShippedTemplateTheSameEachTime) {
  const auto shipped = read_file(test_support::data_dir() / "twkdefaut.xml");
  ASSERT_TRUE(shipped);
  test_support::TempDir dir;
  write_file(dir / "twkdefaut.xml", *shipped);
  test_support::RecordingMessages messages;
  tintmere::generate_tweak_file(7, 8, 9, messages, dir.path());
  const std::string saved = read_file(dir / "Tweak.xml").value_or("");
  tintmere::generate_tweak_file(7, 8, 9, messages, dir.path());
  EXPECT_EQ(read_file(dir / "Tweak.xml"), saved);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(test_support::list_tree(dir.path()), (Messages{"Tweak.xml", "twkdefaut.xml"}));
  std::size_t recoloured = 0;
  for (std::size_t at = 0; (at = saved.find(" r='7' g='8' b='9' a='", at)) != std::string::npos; ++at) ++recoloured;
  EXPECT_EQ(recoloured, 17u * 25);
  EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), std::count(shipped->begin(), shipped->end(), '\n'));
}

struct FailureCase {
  const char* name;
  std::function<void(const fs::path&)> arrange;  // the folder already holds Tweak.xml
  std::string_view message;
  bool full_disk = false;
};

std::vector<FailureCase> failure_cases() {
  const auto template_file = [](const fs::path& dir) { write_file(dir / "twkdefaut.xml", std::string(500, '\n')); };
  const auto template_link = [](const char* target) {
    return [=](const fs::path& dir) { fs::create_symlink(target, dir / "twkdefaut.xml"); };
  };
  return {
      {"no template", [](const fs::path&) {}, tintmere::k_template_missing},
      {"template is a device", template_link("/dev/zero"), tintmere::k_template_missing},
      // A regular file whose reads fail: the start of this process's memory is unmapped.
      {"template read error", template_link("/proc/self/mem"), tintmere::k_template_unreadable},
      {"Tweak.xml is a folder",
       [&](const fs::path& dir) {
         template_file(dir);
         fs::remove(dir / "Tweak.xml");
         fs::create_directory(dir / "Tweak.xml");
       },
       tintmere::k_output_unwritable},
      {"disk full", template_file, tintmere::k_output_unwritable, true},
  };
}

TEST(GenerateTweakFile, AFailureSaysWhyAndLeavesTweakXmlAsItWas) {
  for (const auto& c : failure_cases()) {
    SCOPED_TRACE(c.name);
    test_support::TempDir dir;
    write_file(dir / "Tweak.xml", "the user's own");
    c.arrange(dir.path());
    const auto before = test_support::list_tree(dir.path());
    const auto old = read_file(dir / "Tweak.xml");

    // A file size limit makes writes past it fail as on a full disk.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const sighandler_t previous = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    if (c.full_disk) small.rlim_cur = 100;
    ::setrlimit(RLIMIT_FSIZE, &small);
    test_support::RecordingMessages messages;
    tintmere::generate_tweak_file(1, 2, 3, messages, dir.path());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previous);

    EXPECT_EQ(messages.shown, Messages{std::string(c.message)});
    EXPECT_EQ(read_file(dir / "Tweak.xml"), old);
    EXPECT_EQ(test_support::list_tree(dir.path()), before);
  }
}

}  // namespace
