#include "tagsieve/tag_scan.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <span>

#include "tagsieve/memory_left.h"
#include "tagsieve/typed_path.h"
#include "tagsieve/value_list.h"
#include "test_support/files.h"
#include "scan_reference.h"

namespace {

using Lines = std::vector<std::string>;

// Files of one-line elements named in every spelling of a typed tag (UTF-8, or
// Windows-1252 where the tag has one) and in near misses, with values from a
// small pool or mostly different (enough to grow the repeat table several
// times, each seen again after a growth), long lines, continued elements and
// text before the tag: listed as the plain reading of the rule lists them.
TEST(ScanPieces, ListsWhatThePlainReadingOfTheRuleLists) {
  const std::vector<std::pair<std::string, Lines>> tags = {
      {"Damage", {"Damage"}}, {"Port\xC3\xA9" "e", {"Port\xC3\xA9" "e", "Port\xE9" "e"}}, {"\xE2\x82\xAC", {"\xE2\x82\xAC", "\x80"}},
      {"\xE6\xB0\xB4", {"\xE6\xB0\xB4"}}, {"Port\xE9" "e", {"Port\xE9" "e"}}, {"", {""}}, {" Flag ", {" Flag "}}};
  const Lines others = {"damage", "/Damage", "Damage x='1'", "Flag", "Port\xC3\x89" "e"};
  test_support::Generator generate(4);
  for (int round = 0; round < 600; ++round) {
    const auto& [tag, spellings] = tags[generate.below(tags.size())];
    const bool many = round % 20 == 0;
    std::string file;
    for (std::size_t n = many ? 9000 : generate.below(60); n > 0; --n) {
      const std::string name = generate.below(3) == 0 ? generate.pick(others) : generate.pick(spellings);
      const std::string value = many ? std::to_string(generate.below(5000)) : generate.text({"ab\0\xE9 <>", 7}, generate.below(4));
      const std::string opened = (generate.below(4) == 0 ? "text <" : "<") + name + ">" + value;
      file += generate.below(5) == 0 ? opened + "\r\n   rest</" + name + ">\n" : opened + std::string(generate.below(2) * 70, 'v') + "</" + name + ">\r\n";
    }
    for (const bool suppress_repeats : {true, false}) {
      ASSERT_EQ(test_support::scanned(file, tag, suppress_repeats, generate.below(90) + 1),
                test_support::reference_scan(file, spellings, suppress_repeats))
          << testing::PrintToString(tag) << " in " << testing::PrintToString(file);
    }
  }
}

// The pane is emptied first; then only a regular file is read, a read error
// keeps what was found before it, and a pane that memory cannot fill is left
// empty. What the pane holds, then the message.
TEST(ScanTagValues, EmptiesThePaneThenSaysWhyNothingOrNotAllIsListed) {
  struct FullPane final : test_support::Lines {
    void append(std::span<const std::string_view> added) override {
      Lines::append(added);
      throw std::bad_alloc();  // with the pane half filled
    }
  };
  test_support::TempDir dir;
  const std::filesystem::path file = dir.path() / std::filesystem::path(u8"armes é œ 水.xml");
  test_support::write_file(file, "<A>1</A>\n<A>1</A>\n<A>2</A>\n");
  const struct {
    std::filesystem::path path;
    Lines lines;
    std::string shown;
    bool unreadable = false;
    bool full = false;
  } cases[] = {
      {file, {"1", "2"}, ""},
      {dir / "missing", {}, "Impossible de trouver le fichier"},
      {file, {}, "Impossible de lire le fichier", true},
      {file, {}, "Mémoire insuffisante : l'opération a été abandonnée.", false, true},
  };
  for (const auto& c : cases) {
    const auto scan = [&] {
      FullPane full;
      test_support::Lines plain;
      test_support::Lines& pane = c.full ? full : plain;
      pane.lines = {"left from the last scan"};
      tagsieve::scan_tag_values(c.path, "A", true, pane, pane);
      return testing::PrintToString(pane.lines) + pane.shown;
    };
    EXPECT_EQ(c.unreadable ? test_support::while_unreadable(c.path, scan) : scan(), testing::PrintToString(c.lines) + c.shown);
  }
  test_support::ScriptedSource source("<A>1</A>\n<A>2</A>\n<A>3</A>\n", 5, 20);
  linescan::PieceReader reader(source, 3);
  test_support::Lines pane;
  tagsieve::scan_pieces(reader, "A", true, pane, pane);
  EXPECT_EQ(pane.lines, (Lines{"1", "2"}));
  EXPECT_EQ(pane.shown, "Impossible de lire le fichier");
}

// Every value on the same slot: each lookup walks the collision path and must
// compare the values themselves.
struct SameHash {
  std::uint64_t operator()(std::string_view) const { return 0xABCDEF0000000000; }
};

// Values added in order, then again in another order, the longest among them
// and one that starts it and is 128 bytes shorter, which only its size tells
// apart: the first of each in order, past the table's growth and across
// collisions.
template <typename Hash>
void expect_first_of_each(int count) {
  tagsieve::ValueList<Hash> values(true);
  Lines added;
  for (int i = 0; i < 2 * count; ++i) {
    added.push_back(i >= count ? added[static_cast<std::size_t>(i * 7 % count)] : i < 2 ? std::string(255 - 128 * i, 'v') : std::to_string(i));
    values.add(added.back());
  }
  test_support::Lines pane;
  values.append_to(pane);
  added.resize(static_cast<std::size_t>(count));
  EXPECT_EQ(pane.lines, added);
}

TEST(ValueList, KeepsTheFirstOfEachValueInOrder) {
  expect_first_of_each<tagsieve::ValueHash>(1500);
  expect_first_of_each<SameHash>(600);
}

// A path as it is pasted names the file meant, but where a file has the name
// as typed, blanks and all; on Linux, a name in UTF-8 finds the file that
// has it in Windows-1252.
TEST(TypedPath, IsThePathMeant) {
  test_support::TempDir dir;
  test_support::write_file(dir / "w.xml ", "");
  test_support::write_file(test_support::k_on_windows ? dir / "w.xml" : dir / "caf\xE9.xml", "");
  const char* home = std::getenv("HOME");
  const std::pair<std::filesystem::path, std::filesystem::path> cases[] = {
      {u8"\"C:\\Mes jeux\\weaptwk.xml\"", u8"C:\\Mes jeux\\weaptwk.xml"},
      {u8" 'a b'\r\n", u8"a b"},
      {u8"\"file:///home/a%20b%2fc/%c3%a9t%C3%A9.xml\"", u8"/home/a b/c/été.xml"},
      {u8"FILE://localhost/tmp/w.xml", u8"/tmp/w.xml"},
      {u8"file:/z:", u8"z:"},
      {u8"file:///Z:/w.xml", u8"Z:/w.xml"},
      {u8"file:///A:", u8"A:"},
      {u8"file:///[:/w.xml", u8"/[:/w.xml"},
      {u8"file://serveur/partage/w.xml", u8"//serveur/partage/w.xml"},
      {u8"file:///tmp/100%/%zz%4", u8"/tmp/100%/%zz%4"},
      {u8"file:///tmp/weap%00.txt", u8""},
      {u8"\"/a.xml", u8"\"/a.xml"},
      {u8"\"", u8"\""},
      {u8"~/w.xml", test_support::k_on_windows || home == nullptr ? std::filesystem::path(u8"~/w.xml") : std::filesystem::path(home) / "w.xml"},
      {dir / "w.xml ", dir / "w.xml "},
      {dir.path() / u8"café.xml", test_support::k_on_windows ? dir.path() / u8"café.xml" : dir / "caf\xE9.xml"},
  };
  for (const auto& [typed, meant] : cases) EXPECT_EQ(tagsieve::typed_path(typed), meant) << typed;
}

// What the process may still take: the least of the memory available and of
// what each cgroup on its way up leaves below its limit, v2 or v1, the cache
// that the kernel takes back counted as free.
TEST(MemoryLeft, IsTheLeastThatTheSystemAndTheCgroupsLeave) {
  const struct {
    std::vector<std::pair<const char*, const char*>> files;
    std::optional<std::uint64_t> left;
  } cases[] = {
      {{}, std::nullopt},
      {{{"proc/meminfo", "MemTotal: 9 kB\nMemAvailable:   1000 kB\n"}}, 1'024'000},
      {{{"proc/self/cgroup", "0::/a/b\n"}, {"sys/fs/cgroup/a/b/memory.max", "5000\n"}, {"sys/fs/cgroup/a/b/memory.current", "1000"},
        {"sys/fs/cgroup/a/memory.max", "3000"}, {"sys/fs/cgroup/a/memory.current", "2500"}, {"sys/fs/cgroup/memory.max", "max"},
        {"sys/fs/cgroup/a/memory.stat", "active_file 9\ninactive_file 300\n"}, {"sys/fs/cgroup/a/b/memory.stat", "inactive_file 9000"}},
       800},
      {{{"proc/self/cgroup", "0::/a\n"}, {"sys/fs/cgroup/a/memory.max", "max"}, {"proc/meminfo", "MemAvailable: 2 kB"}}, 2048},
      {{{"proc/self/cgroup", "4:cpu,memory:/g\n1:name=x:/\n"}, {"sys/fs/cgroup/memory/g/memory.limit_in_bytes", "9000"},
        {"sys/fs/cgroup/memory/g/memory.usage_in_bytes", "9500"}}, 0},
      {{{"proc/self/cgroup", "4:memory:/g\n"}, {"sys/fs/cgroup/memory/g/memory.limit_in_bytes", "9000"},
        {"sys/fs/cgroup/memory/g/memory.usage_in_bytes", "9500"}, {"sys/fs/cgroup/memory/g/memory.stat", "inactive_file 1\ntotal_inactive_file 2000"}},
       1500},
  };
  for (const auto& c : cases) {
    test_support::TempDir root;
    for (const auto& [name, content] : c.files) {
      std::filesystem::create_directories((root / name).parent_path());
      test_support::write_file(root / name, content);
    }
    EXPECT_EQ(tagsieve::memory_left(root.path()), c.left) << (c.files.empty() ? "" : c.files[0].second);
  }
}

}  // namespace
