#include "tintmere/tweak_file.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include <gtest/gtest.h>

#include <functional>

#include "test_support/files.h"
#include "recolour_reference.h"
#include "test_support/recording.h"

namespace {

namespace fs = std::filesystem;
using test_support::read_file;
using test_support::write_file;

// The shipped template, saved twice through real files in a folder whose name
// is not ASCII, with slider positions past either end, held to it: both times
// as recolouring has it, each of its water entries recoloured, and nothing
// else made.
TEST(GenerateTweakFile, SavesTheShippedTemplateRecolouredTheSameEachTime) {
  const std::string shipped = read_file(fs::path(TEST_DATA_DIR) / "twkdefaut.xml").value_or("");
  test_support::TempDir top;
  const fs::path dir = top.path() / fs::path(u8"Mods é œ 水");
  fs::create_directory(dir);
  write_file(dir / "twkdefaut.xml", shipped);
  test_support::RecordingMessages messages;
  for (int save = 0; save < 2; ++save) {
    tintmere::generate_tweak_file(tintmere::slider_colour(-3, 8, 300), messages, dir);
    EXPECT_EQ(read_file(dir / "Tweak.xml"), test_support::reference_recolour(shipped, {0, 8, 255}));
  }
  // The game's 17 water surfaces, 25 colour lines each, counted without the
  // table of entries that the reference reads too.
  const std::string saved = read_file(dir / "Tweak.xml").value_or("");
  std::size_t recoloured = 0;
  for (std::size_t at = 0; (at = saved.find(" r='0' g='8' b='255' ", at)) != std::string::npos; ++at) ++recoloured;
  EXPECT_EQ(recoloured, 17u * 25u);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(test_support::list_tree(dir), (std::vector<std::string>{"Tweak.xml", "twkdefaut.xml"}));
}

// Each message a save chooses, the disk full (a file size limit, which a
// write past fails as on a full disk) or not, and Tweak.xml left as it was.
TEST(GenerateTweakFile, AFailureSaysWhyAndLeavesTweakXmlAsItWas) {
  const struct {
    std::function<void(const fs::path&)> arrange;  // in a folder that holds Tweak.xml and a template
    std::string_view message;
    bool locked = false;
    bool full_disk = false;
  } cases[] = {
      {[](const fs::path& dir) { fs::remove(dir / "twkdefaut.xml"); }, "Impossible de trouver le fichier"},
      {[](const fs::path&) {}, "Impossible de lire le fichier twkdefaut.xml", true},
      {[](const fs::path&) {}, test_support::k_on_windows ? "" : "Impossible d'écrire le fichier Tweak.xml", false, true},
      // A Tweak.xml that is the template itself would take the template's place.
      {[](const fs::path& dir) { fs::remove(dir / "Tweak.xml"), fs::create_hard_link(dir / "twkdefaut.xml", dir / "Tweak.xml"); },
       "Impossible d'écrire le fichier Tweak.xml"},
      {[](const fs::path& dir) { fs::remove(dir / "Tweak.xml"), fs::create_symlink("twkdefaut.xml", dir / "Tweak.xml"); },
       !test_support::k_on_windows ? "Impossible d'écrire le fichier Tweak.xml" : ""},
  };
  for (const auto& c : cases) {
    if (c.message.empty()) continue;
    test_support::TempDir dir;
    write_file(dir / "Tweak.xml", "the user's own");
    write_file(dir / "twkdefaut.xml", std::string(500, '\n'));
    c.arrange(dir.path());
    const auto before = test_support::list_tree(dir.path());
    const auto old = read_file(dir / "Tweak.xml");
    const auto save = [&] {
#ifndef _WIN32
      const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
      const rlimit small{100, RLIM_INFINITY};
      ::signal(SIGXFSZ, SIG_IGN);  // as the programs do
      ::setrlimit(RLIMIT_FSIZE, c.full_disk ? &small : &unlimited);
#endif
      test_support::RecordingMessages messages;
      tintmere::generate_tweak_file({1, 2, 3}, messages, dir.path());
#ifndef _WIN32
      ::setrlimit(RLIMIT_FSIZE, &unlimited);
#endif
      return messages.shown.size() == 1 ? messages.shown.front() : "messages: " + std::to_string(messages.shown.size());
    };
    EXPECT_EQ(c.locked ? test_support::while_unreadable(dir / "twkdefaut.xml", save) : save(), c.message);
    EXPECT_EQ(read_file(dir / "Tweak.xml"), old);
    EXPECT_EQ(test_support::list_tree(dir.path()), before);
  }
}

}  // namespace
