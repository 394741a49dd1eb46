#include "tintmere/tweak_file.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>

#include "test_support.h"
#include "tintmere/colour.h"

namespace {

namespace fs = std::filesystem;
using test_support::read_file;
using test_support::write_file;

std::string repeat(std::string_view line, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += line;
  return text;
}

const std::string k_colour_line = "    <Wave r='1' g='2' b='3' a='4'/>\n";
const std::string k_recoloured = "      <Wave r='255' g='0' b='16' a='4'/>\r\n";

struct Saved {
  std::optional<std::string> output;
  std::vector<std::string> messages;
};

Saved save(const std::string& template_text, tintmere::Colour colour = {255, 0, 16}) {
  test_support::TempDir dir;
  write_file(dir / "twkdefaut.xml", template_text);
  test_support::RecordingMessages messages;
  tintmere::generate_tweak_file(colour.red, colour.green, colour.blue, messages, dir.path());
  EXPECT_EQ(test_support::list_dir(dir.path()), (std::vector<std::string>{"Tweak.xml", "twkdefaut.xml"}));
  return {read_file(dir / "Tweak.xml"), messages.shown};
}

struct GenerationCase {
  const char* name;
  std::string template_text;
  std::string expected;
};

std::vector<GenerationCase> generation_cases() {
  const std::string open = "  <WaterPlaneTweaks name='FE.Water' lod='2'>\n";
  const std::string open_crlf = "  <WaterPlaneTweaks name='FE.Water' lod='2'>\r\n";
  const std::string close = "  </WaterPlaneTweaks>\n";
  const std::string close_crlf = "  </WaterPlaneTweaks>\r\n";
  return {
      {"no water entry: copied, LF becoming CRLF", "<Tweaks>\n  <A v='100%' s='%s%n'/>\n</Tweaks>",
       "<Tweaks>\r\n  <A v='100%' s='%s%n'/>\r\n</Tweaks>"},
      {"a listed entry", open + repeat(k_colour_line, 25) + close,
       open_crlf + repeat(k_recoloured, 25) + close_crlf},
      {"CRLF template", "<W>\r\n" + open_crlf + repeat("  <Wave r='1' g='2' b='3' a='4'/>\r\n", 25) + close_crlf,
       "<W>\r\n" + open_crlf + repeat(k_recoloured, 25) + close_crlf},
      {"entry names ignore case", "<WaterPlaneTweaks name='water.camelot.day'>\n" + k_colour_line,
       "<WaterPlaneTweaks name='water.camelot.day'>\r\n" + k_recoloured},
      {"an unlisted entry", "<WaterPlaneTweaks name='Water.MARS.DAY'>\n" + k_colour_line,
       "<WaterPlaneTweaks name='Water.MARS.DAY'>\r\n" + k_colour_line.substr(0, k_colour_line.size() - 1) + "\r\n"},
      {"no quoted value", "<WaterPlaneTweaks name=FE.Water>\n<X a='1'/>\n",
       "<WaterPlaneTweaks name=FE.Water>\r\n<X a='1'/>\r\n"},
      {"element name in another case", "<waterplanetweaks name='FE.Water'>\n<X a='1'/>\n",
       "<waterplanetweaks name='FE.Water'>\r\n<X a='1'/>\r\n"},
      {"no blank after the element name", "<WaterPlaneTweaks>'FE.Water'\n<X a='1'/>\n",
       "<WaterPlaneTweaks>'FE.Water'\r\n<X a='1'/>\r\n"},
      {"a template ending within the countdown", open + k_colour_line + "<Last a='1'/>",
       open_crlf + k_recoloured + "      <Last r='255' g='0' b='16' a='1'/>"},
      {"a piece without an a keeps its line end", open + "<Deep r='1'/>\n<Ooh>\n",
       open_crlf + "      <Deep r='255' g='0' b='16' \r\n      <Ooh>\r\n r='255' g='0' b='16' \r\n"},
      // Its first piece has no 'a' and no newline; its second has no '<'.
      {"a long line counts as two pieces",
       open + "<Long v='" + std::string(90, '7') + "' a='5'/>\n" + repeat(k_colour_line, 24) + close,
       open_crlf + "      <Long r='255' g='0' b='16' " + "      < r='255' g='0' b='16' a='5'/>\r\n" +
           repeat(k_recoloured, 23) + "    <Wave r='1' g='2' b='3' a='4'/>\r\n" + close_crlf},
      // The second opening piece falls inside the first countdown: it is
      // recoloured itself (its tail starts at the 'a' of "Water") and starts 25 more.
      {"two entries fewer than 25 pieces apart",
       open + repeat(k_colour_line, 3) + "<WaterPlaneTweaks name='FE.Water'>\n" + repeat(k_colour_line, 25) + close,
       open_crlf + repeat(k_recoloured, 3) + "      <WaterPlaneTweaks r='255' g='0' b='16' ater'>\r\n" +
           repeat(k_recoloured, 25) + close_crlf},
  };
}

TEST(GenerateTweakFile, RecoloursThe25PiecesAfterEveryListedEntry) {
  for (const auto& c : generation_cases()) {
    SCOPED_TRACE(c.name);
    const Saved saved = save(c.template_text);
    EXPECT_EQ(saved.output, c.expected);
    EXPECT_TRUE(saved.messages.empty());
  }
}

TEST(GenerateTweakFile, RecoloursEveryEntryOfTheShippedTemplate) {
  const auto shipped = read_file(test_support::data_dir() / "twkdefaut.xml");
  ASSERT_TRUE(shipped);
  const Saved saved = save(*shipped, {7, 8, 9});
  ASSERT_TRUE(saved.output);
  EXPECT_TRUE(saved.messages.empty());
  ASSERT_EQ(std::count(saved.output->begin(), saved.output->end(), '\n'),
            std::count(shipped->begin(), shipped->end(), '\n'));
  std::istringstream in(*shipped);
  std::istringstream out(*saved.output);
  int recoloured = 0;
  for (std::string before, after; std::getline(in, before) && std::getline(out, after);) {
    if (after.find(" r='7' g='8' b='9' a='") == std::string::npos) {
      EXPECT_EQ(after, before);
    } else {
      ++recoloured;
      EXPECT_TRUE(after.starts_with("      <")) << after;
    }
  }
  EXPECT_EQ(recoloured, 17 * 25);
}

TEST(GenerateTweakFile, SavingTwiceGivesTheSameBytes) {
  test_support::TempDir dir;
  write_file(dir / "twkdefaut.xml", *read_file(test_support::data_dir() / "twkdefaut.xml"));
  test_support::RecordingMessages messages;
  tintmere::generate_tweak_file(40, 50, 60, messages, dir.path());
  const auto first = read_file(dir / "Tweak.xml");
  tintmere::generate_tweak_file(40, 50, 60, messages, dir.path());
  EXPECT_EQ(read_file(dir / "Tweak.xml"), first);
  EXPECT_TRUE(messages.shown.empty());
}

TEST(GenerateTweakFile, ReplacesTheFileALinkLeadsToAndKeepsItsMode) {
  test_support::TempDir dir;
  write_file(dir / "twkdefaut.xml", "<a/>\n");
  fs::create_directory(dir / "game");
  write_file(dir / "game" / "real.xml", "old");
  ::chmod((dir / "game" / "real.xml").c_str(), 0640);
  fs::create_symlink("game/real.xml", dir / "Tweak.xml");
  test_support::RecordingMessages messages;
  tintmere::generate_tweak_file(1, 2, 3, messages, dir.path());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(fs::is_symlink(dir / "Tweak.xml"));
  EXPECT_EQ(read_file(dir / "game" / "real.xml"), "<a/>\r\n");
  EXPECT_EQ(fs::status(dir / "game" / "real.xml").permissions(), fs::perms(0640));
  EXPECT_EQ(test_support::list_dir(dir / "game"), std::vector<std::string>{"real.xml"});

  // A new file gets the mode any new file would.
  fs::remove(dir / "game" / "real.xml");
  const mode_t mask = ::umask(022);
  tintmere::generate_tweak_file(1, 2, 3, messages, dir.path());
  ::umask(mask);
  EXPECT_EQ(read_file(dir / "game" / "real.xml"), "<a/>\r\n");
  EXPECT_EQ(fs::status(dir / "game" / "real.xml").permissions(), fs::perms(0644));
}

// Makes writes past a few bytes fail as on a full disk, for the life of the object.
class FullDisk {
 public:
  FullDisk() {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved_;
    small.rlim_cur = 16;
    ::setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FullDisk() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::signal(SIGXFSZ, previous_);
  }
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;

 private:
  rlimit saved_{};
  sighandler_t previous_{};
};

struct FailureCase {
  const char* name;
  std::function<void(const fs::path&)> arrange;  // the folder already holds Tweak.xml
  std::string_view message;
  bool unprivileged = false;
  bool full_disk = false;
};

std::vector<FailureCase> failure_cases() {
  const auto template_file = [](const fs::path& dir) { write_file(dir / "twkdefaut.xml", repeat("<a/>\n", 100)); };
  return {
      {"no template", [](const fs::path&) {}, tintmere::k_template_missing},
      {"template is a folder", [](const fs::path& dir) { fs::create_directory(dir / "twkdefaut.xml"); },
       tintmere::k_template_missing},
      {"template is a pipe", [](const fs::path& dir) { ::mkfifo((dir / "twkdefaut.xml").c_str(), 0600); },
       tintmere::k_template_missing},
      {"template is a device", [](const fs::path& dir) { fs::create_symlink("/dev/zero", dir / "twkdefaut.xml"); },
       tintmere::k_template_missing},
      // A regular file whose reads fail: the start of this process's memory is unmapped.
      {"template read error", [](const fs::path& dir) { fs::create_symlink("/proc/self/mem", dir / "twkdefaut.xml"); },
       tintmere::k_template_unreadable},
      {"disk full", template_file, tintmere::k_output_unwritable, false, true},
      {"Tweak.xml read-only",
       [&](const fs::path& dir) {
         template_file(dir);
         ::chmod((dir / "Tweak.xml").c_str(), 0444);
       },
       tintmere::k_output_unwritable, true},
      {"folder read-only",
       [&](const fs::path& dir) {
         template_file(dir);
         ::chmod(dir.c_str(), 0555);
       },
       tintmere::k_output_unwritable, true},
  };
}

TEST(GenerateTweakFile, AFailureSaysWhyAndLeavesTweakXmlAsItWas) {
  const std::string old = "the user's own Tweak.xml\r\n";
  for (const auto& c : failure_cases()) {
    SCOPED_TRACE(c.name);
    test_support::TempDir dir;
    write_file(dir / "Tweak.xml", old);
    c.arrange(dir.path());
    const auto before = test_support::list_dir(dir.path());
    const auto generate = [&] {
      test_support::RecordingMessages messages;
      std::optional<FullDisk> full;
      if (c.full_disk) full.emplace();
      tintmere::generate_tweak_file(1, 2, 3, messages, dir.path());
      std::string shown;
      for (const auto& m : messages.shown) shown += m + "|";
      return shown;
    };
    const std::string shown = c.unprivileged ? test_support::run_unprivileged(dir.path(), generate) : generate();
    EXPECT_EQ(shown, std::string(c.message) + "|");
    EXPECT_EQ(read_file(dir / "Tweak.xml"), old);
    EXPECT_EQ(test_support::list_dir(dir.path()), before);
  }
}

TEST(GenerateTweakFile, AFolderNamedTweakXmlIsNotReplaced) {
  test_support::TempDir dir;
  write_file(dir / "twkdefaut.xml", "<a/>\n");
  fs::create_directory(dir / "Tweak.xml");
  test_support::RecordingMessages messages;
  tintmere::generate_tweak_file(1, 2, 3, messages, dir.path());
  EXPECT_EQ(messages.shown, std::vector<std::string>{std::string(tintmere::k_output_unwritable)});
  EXPECT_TRUE(fs::is_directory(dir / "Tweak.xml"));
  EXPECT_EQ(test_support::list_dir(dir.path()), (std::vector<std::string>{"Tweak.xml", "twkdefaut.xml"}));
}

}  // namespace
