#include "tagsieve/tag_scan.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tagsieve/display_text.h"
#include "test_support.h"

namespace {

using namespace std::literals;
using Lines = std::vector<std::string>;

const std::string k_file =
    "<Weapons>\r\n"
    "  <Damage>5</Damage>\r\n"
    "  <Damage>5</Damage>\r\n"
    "  <Damage>7</Damage>\r\n"
    "  <damage>9</damage>\r\n"
    "  <Range unit='m'>40</Range>\r\n"
    "  <Range>30</Range>\r\n"
    "  <Name>Bow</Name> <Name>Axe</Name>\r\n"
    "note: <Name>Sling</Name>\r\n"
    "  <Name></Name>\r\n"
    "  <Lore>first line\r\n"
    "     of the lore</Lore>\r\n"
    "  <Lore>\r\n"
    "  <Lore>\r\n"
    "  < Flag >on</ Flag >\r\n"
    "  <Flag>True</Flag>\r\n"
    "  <Flag>true</Flag>\r\n"
    "  <Flag>True</Flag>\r\n"
    "no tag at all\r\n"
    "<>bare text\r\n"
    "  <Sound>" + std::string(90, 's') + "</Sound>\r\n"
    "</Weapons>\r\n";

struct MatchCase {
  const char* tag;
  bool suppress_repeats;
  Lines expected;
};

const MatchCase k_match_cases[] = {
    {"Damage", true, {"5", "7"}},
    {"Damage", false, {"5", "5", "7"}},
    {"damage", true, {"9"}},
    {"DAMAGE", true, {}},
    {"<Damage>", true, {}},
    {"/Damage", true, {}},
    {"Range", true, {"30"}},
    {"Range unit='m'", true, {"40"}},
    {"Name", true, {"Bow", "Sling"}},  // the first '<' of the line counts, wherever it stands
    {"Lore", true, {"first line", ""}},  // a continued element gives the rest of its first line
    {"Lore", false, {"first line", "", ""}},
    {" Flag ", true, {"on"}},
    {"Flag", true, {"True", "true"}},
    {"", true, {"bare text"}},
    {"Sound", true, {std::string(70, 's')}},  // a long line: its first piece ends 79 bytes in
};

TEST(ScanTagValues, ListsTheValuesOfTheOneLineElementsNamedExactly) {
  test_support::TempDir dir;
  test_support::write_file(dir / "weaptwk.xml", k_file);
  for (const auto& c : k_match_cases) {
    SCOPED_TRACE(testing::Message() << "tag \"" << c.tag << "\" repeats " << (c.suppress_repeats ? "suppressed" : "shown"));
    test_support::RecordingLines pane;
    pane.lines = {"left from the last click"};
    test_support::RecordingMessages messages;
    tagsieve::scan_tag_values((dir / "weaptwk.xml").string(), c.tag, c.suppress_repeats, pane, messages);
    EXPECT_EQ(pane.lines, c.expected);
    EXPECT_EQ(pane.appends, 1);
    EXPECT_TRUE(messages.shown.empty());
  }
}

TEST(ScanTagValues, KeepsEveryByteOfAValue) {
  test_support::TempDir dir;
  test_support::write_file(dir / "t.xml", "<V>a\0b</V>\n<V>caf\xC3\xA9</V>\n<V>caf\xE9</V>\n<V>a\0b</V>\n"s);
  test_support::RecordingLines pane;
  test_support::RecordingMessages messages;
  tagsieve::scan_tag_values((dir / "t.xml").string(), "V", true, pane, messages);
  EXPECT_EQ(pane.lines, (Lines{"a\0b"s, "caf\xC3\xA9", "caf\xE9"}));
}

TEST(ScanTagValues, ManyValuesAreEachListedOnceInTheOrderFirstSeen) {
  // Enough values to grow the repeat table several times, with values that
  // differ only in their last bytes and every value seen again later.
  constexpr int k_count = 5000;
  std::string text;
  Lines expected;
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < k_count; ++i) {
      const int n = round == 0 ? i : (i * 7919) % k_count;
      text += "<V>value-" + std::to_string(n) + "</V>\n";
      if (round == 0) expected.push_back("value-" + std::to_string(n));
    }
  }
  test_support::TempDir dir;
  test_support::write_file(dir / "many.xml", text);
  test_support::RecordingLines pane;
  test_support::RecordingMessages messages;
  tagsieve::scan_tag_values((dir / "many.xml").string(), "V", true, pane, messages);
  EXPECT_EQ(pane.lines, expected);
  tagsieve::scan_tag_values((dir / "many.xml").string(), "V", false, pane, messages);
  EXPECT_EQ(pane.lines.size(), 2u * k_count);
}

TEST(ScanTagValues, APathThatIsNoRegularFileFindsNothing) {
  test_support::TempDir dir;
  std::filesystem::create_directory(dir / "folder");
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  for (const std::string& path : {(dir / "missing").string(), (dir / "folder").string(), (dir / "pipe").string(),
                                 "/dev/zero"s, ""s, " "s + (dir / "folder").string()}) {
    SCOPED_TRACE(path);
    test_support::RecordingLines pane;
    pane.lines = {"old"};
    test_support::RecordingMessages messages;
    tagsieve::scan_tag_values(path, "Damage", true, pane, messages);
    EXPECT_TRUE(pane.lines.empty());
    EXPECT_EQ(messages.shown, Lines{"Impossible de trouver le fichier"});
  }
}

TEST(ScanTagValues, AReadErrorKeepsTheValuesFoundAndSaysSo) {
  const std::string text = "<A>1</A>\n<A>2</A>\n<A>3</A>\n";
  test_support::ScriptedSource source(text, 4, text.find("3"));
  linescan::PieceReader file(source, 4);
  test_support::RecordingLines pane;
  test_support::RecordingMessages messages;
  tagsieve::scan_pieces(file, "A", true, pane, messages);
  EXPECT_EQ(pane.lines, (Lines{"1", "2"}));
  EXPECT_EQ(messages.shown, Lines{"Impossible de lire le fichier"});
}

TEST(ScanTagValues, AFileWhoseReadsFailEmptiesThePaneAndSaysSo) {
  // Reads of this regular file fail: the start of the process's memory is unmapped.
  test_support::RecordingLines pane;
  pane.lines = {"old"};
  test_support::RecordingMessages messages;
  tagsieve::scan_tag_values("/proc/self/mem", "Damage", true, pane, messages);
  EXPECT_TRUE(pane.lines.empty());
  EXPECT_EQ(messages.shown, Lines{"Impossible de lire le fichier"});
}

struct DisplayCase {
  std::string_view bytes;
  std::string_view shown;
};

constexpr DisplayCase k_display_cases[] = {
    {"plain", "plain"},
    {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\x8A", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8C\x8A"},  // valid UTF-8
    {"caf\xE9 \x80 \x9C", "caf\xC3\xA9 \xE2\x82\xAC \xC5\x93"},  // Windows-1252
    {"\xC3", "\xC3\x83"},  // a cut sequence is not UTF-8
    {"\xC0\xAF", "\xC3\x80\xC2\xAF"},  // nor an overlong one
    {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},  // nor a surrogate
    {"a\0b\rc\td"sv, "a\xE2\x90\x80" "b\xE2\x90\x8D" "c\td"},
};

TEST(DisplayText, ShowsEveryByteAsSomeCharacter) {
  for (const auto& c : k_display_cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.bytes)));
    EXPECT_EQ(tagsieve::display_text(c.bytes), c.shown);
  }
}

}  // namespace
