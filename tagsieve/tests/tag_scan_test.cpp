#include "tagsieve/tag_scan.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <set>

#include "tagsieve/value_list.h"
#include "test_support/files.h"
#include "test_support/recording.h"
#include "test_support/scripted_io.h"

namespace {

using namespace std::literals;
using Lines = std::vector<std::string>;

// The pane as a list of byte strings, how often it was filled, and whether
// memory runs out as it is filled.
class RecordingLines final : public tagsieve::LineList {
 public:
  void clear() override { lines.clear(); }
  void append(std::span<const std::string_view> added) override {
    lines.insert(lines.end(), added.begin(), added.end());
    ++appends;
    if (out_of_memory) throw std::bad_alloc();
  }
  Lines lines;
  int appends = 0;
  bool out_of_memory = false;
};

const std::string k_file =
    "<Weapons>\r\n  <Damage>5</Damage>\r\n  <Damage>5</Damage>\r\n  <Damage>7</Damage>\r\n  <damage>9</damage>\r\n"
    "  <Range unit='m'>40</Range>\r\n  <Range>30</Range>\r\n"
    "  <Name>Bow</Name> <Name>Axe</Name>\r\nnote: <Name>Sling</Name>\r\n  <Name></Name>\r\n"
    "  <Lore>first line\r\n     of the lore</Lore>\r\n  <Lore>\r\n  <Lore>\r\n"
    "  < Flag >on</ Flag >\r\n  <Flag>True</Flag>\r\n  <Flag>true</Flag>\r\n  <Flag>True</Flag>\r\n"
    "no tag at all\r\n<>bare text\r\n  <Sound>" + std::string(90, 's') + "</Sound>\r\n"
    "<V>a\0b</V>\r\n<V>caf\xE9</V>\n<V>a\0b</V>\n"
    "<Port\xC3\xA9\x65>utf-8</Port\xC3\xA9\x65>\n<Port\xE9\x65>cp1252</Port\xE9\x65>\n"
    "<\x80>euro</\x80>\n<\xE6\xB0\xB4>water</\xE6\xB0\xB4>\n"s;

// The values the scan of text read in small blocks lists, then its messages,
// with a read error after fail_after bytes.
Lines scan(std::string text, const char* tag, bool suppress_repeats, std::optional<std::size_t> fail_after = {}) {
  test_support::ScriptedSource source(text, 5, fail_after);
  linescan::PieceReader file(source, 3);
  RecordingLines pane;
  test_support::RecordingMessages messages;
  tagsieve::scan_pieces(file, tag, suppress_repeats, pane, messages);
  EXPECT_EQ(pane.appends, 1);
  pane.lines.insert(pane.lines.end(), messages.shown.begin(), messages.shown.end());
  return pane.lines;
}

TEST(ScanTagValues, ListsTheValuesOfTheOneLineElementsNamedExactly) {
  const struct {
    const char* tag;
    bool suppress_repeats;
    Lines expected;
  } cases[] = {
      {"Damage", true, {"5", "7"}},   {"Damage", false, {"5", "5", "7"}},         {"damage", true, {"9"}},
      {"DAMAGE", true, {}},           {"/Damage", true, {}},                      {"Range", true, {"30"}},
      {"Range unit='m'", true, {"40"}}, {" Flag ", true, {"on"}},                 {"Flag", true, {"True", "true"}},
      {"", true, {"bare text"}},
      {"Name", true, {"Bow", "Sling"}},  // the first '<' of the line counts, wherever it stands
      {"Lore", true, {"first line", ""}},  // a continued element gives the rest of its first line
      {"Lore", false, {"first line", "", ""}},
      {"Sound", true, {std::string(70, 's')}},  // a long line: its first piece ends 79 bytes in
      {"V", true, {"a\0b"s, "caf\xE9"}},  // every byte is kept
      // A typed tag, UTF-8, finds its element spelt in UTF-8 or in Windows-1252.
      {"Port\xC3\xA9\x65", true, {"utf-8", "cp1252"}},
      {"\xE2\x82\xAC", true, {"euro"}},
      {"\xE6\xB0\xB4", true, {"water"}},  // only UTF-8 can spell it
      {"Port\xE9" "e", true, {"cp1252"}},    // bytes that are not UTF-8 match as they are
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "tag " << testing::PrintToString(std::string(c.tag)) << ", repeats "
                                    << (c.suppress_repeats ? "no" : "yes"));
    EXPECT_EQ(scan(k_file, c.tag, c.suppress_repeats), c.expected);
  }
  EXPECT_EQ(scan("<A>1</A>\n<A>2</A>\n<A>3</A>\n", "A", true, 20), (Lines{"1", "2", "Impossible de lire le fichier"}));
}

// The pane is emptied first; then only a regular file is read, and a pane
// that memory cannot fill is left empty. The pane's lines, then the messages.
TEST(ScanTagValues, EmptiesThePaneThenReadsOnlyARegularFile) {
  test_support::TempDir dir;
  const std::filesystem::path accented = dir.path() / std::filesystem::path(u8"armes é œ 水.xml");
  test_support::write_file(accented, "<A>1</A>\n");
  test_support::write_file(dir / "locked.xml", "<A>1</A>\n");
  const struct {
    std::filesystem::path path;
    bool unreadable;
    bool out_of_memory;
    std::string seen;
  } cases[] = {
      {accented, false, false, "1|"},
      {dir / "missing", false, false, "Impossible de trouver le fichier|"},
      {dir / "locked.xml", true, false, "Impossible de lire le fichier|"},
      {accented, false, true, std::string(messaging::k_out_of_memory) + "|"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const auto scan = [&] {
      RecordingLines pane;
      pane.lines = {"left from the last scan"};
      pane.out_of_memory = c.out_of_memory;
      test_support::RecordingMessages messages;
      tagsieve::scan_tag_values(c.path, "A", true, pane, messages);
      std::string seen;
      for (const auto* lines : {&pane.lines, &messages.shown}) {
        for (const auto& line : *lines) seen += line + "|";
      }
      return seen;
    };
    EXPECT_EQ(c.unreadable ? test_support::while_unreadable(c.path, scan) : scan(), c.seen);
  }
}

// Every value lands on the same slot, so every lookup walks the collision
// path and must compare the values themselves.
struct SameHash {
  std::uint64_t operator()(std::string_view) const { return 0xABCDEF0000000000; }
};

template <typename Hash>
Lines listed(bool suppress_repeats, int count) {
  tagsieve::ValueList<Hash> values(suppress_repeats);
  // Seen twice: first in order, then in another order.
  for (int i = 0; i < 2 * count; ++i) values.add(std::to_string(i < count ? i : (i * 7) % count));
  RecordingLines pane;
  values.append_to(pane);
  return pane.lines;
}

// The table's slot comes from a hash's low bits and its tag from the high
// ones: both must tell apart values that differ anywhere, or every lookup
// walks long runs. A random hash gives about 63 % distinct slots, and tags
// all but distinct.
TEST(ValueHash, SpreadsValuesThatDifferAnywhere) {
  const struct {
    const char* name;
    std::function<std::string(int)> value;
    int count;
  } cases[] = {
      {"short", [](int i) { return std::to_string(i); }, 4096},
      {"differing in the first word", [](int i) { return std::to_string(10'000'000 + i) + "-tail"; }, 4096},
      {"differing past it", [](int i) { return "tailtail" + std::string(1, static_cast<char>(i)); }, 256},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::set<std::uint64_t> slots;
    std::set<std::uint64_t> tags;
    for (int i = 0; i < c.count; ++i) {
      const std::uint64_t hash = tagsieve::ValueHash()(c.value(i));
      slots.insert(hash % c.count);
      tags.insert(hash >> 48);
    }
    EXPECT_GT(slots.size(), c.count * 55u / 100);
    EXPECT_GT(tags.size(), c.count * 9u / 10);
  }
}

TEST(ValueList, KeepsTheFirstOfEachValueInOrderAcrossCollisionsAndGrowth) {
  // 1500 values outgrow the first table, and 600 colliding ones fill a run
  // longer than it once was.
  for (const auto& [lines, count] : {std::pair{listed<tagsieve::ValueHash>(true, 1500), 1500},
                                     std::pair{listed<SameHash>(true, 600), 600}}) {
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) EXPECT_EQ(lines[i], std::to_string(i));
  }
  EXPECT_EQ(listed<SameHash>(false, 50).size(), 100u);
  // The longest value a list takes.
  tagsieve::ValueList<> longest(true);
  for (int i = 0; i < 2; ++i) longest.add(std::string(255, 'v'));
  RecordingLines pane;
  longest.append_to(pane);
  EXPECT_EQ(pane.lines, Lines{std::string(255, 'v')});
}

}  // namespace
