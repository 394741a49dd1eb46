#include <gtest/gtest.h>

#include <algorithm>

#include "savefile/file_replacement.h"
#include "test_support/memory_disk.h"

namespace {

namespace fs = std::filesystem;
using test_support::MemoryDisk;
using Fault = MemoryDisk::Fault;
using Kind = savefile::Outcome::Kind;

const std::string k_old = "old content";
const std::string k_new(128, 'n');
// Room for the copy, for the target to grow to it, and for its whole rewrite
// besides, with a 64th more and 64 KiB for the file system's own records.
const std::uintmax_t k_room = 3 * k_new.size() + k_new.size() / 64 + (64 << 10);

void one_name(MemoryDisk& disk) { disk.add("d/Tweak.xml", k_old); }
void two_names(MemoryDisk& disk) {
  one_name(disk);
  disk.link("d/other.xml", "d/Tweak.xml");
}

// A name past what a copy's name may hold, its cut falling inside a character.
const std::string k_long = "d/" + std::string(246, 'l') + "\xC3\xA9.xml";

// Each way Tweak.xml can stand (or not) on the disk, and how a clean save of
// it ends.
const struct Layout {
  const char* name;
  void (*arrange)(MemoryDisk&);
  Kind clean = Kind::saved;
  savefile::Existing existing = savefile::Existing::replace;
  int pauses = 0;  // for another's hold on the file
  std::string target = "d/Tweak.xml";
} k_layouts[] = {
    {"first save", [](MemoryDisk&) {}},
    {"one name", one_name},
    {"one name, kept", one_name, Kind::unchanged, savefile::Existing::keep},
    {"two names", two_names},
    {"two names, blocks shared", [](MemoryDisk& disk) { two_names(disk); disk.clones = true; }},
    {"another's", [](MemoryDisk& disk) { disk.add("d/Tweak.xml", k_old, "them"); }},
    {"a mount point", [](MemoryDisk& disk) { one_name(disk); disk.mount_point = "d/Tweak.xml"; }},
    {"a read-only folder", [](MemoryDisk& disk) { one_name(disk); disk.read_only_folder = "d"; }},
    {"locked a while", [](MemoryDisk& disk) { two_names(disk); disk.lock_refusals = 3; }, Kind::saved, {}, 3},
    {"locked for good", [](MemoryDisk& disk) { two_names(disk); disk.lock_refusals = 1000; }, Kind::unchanged, {}, 49},
    {"a long name", [](MemoryDisk& disk) { disk.add(k_long, k_old); disk.link("d/other.xml", k_long); }, Kind::saved, {}, 0, k_long},
    {"room to the byte", [](MemoryDisk& disk) { two_names(disk); disk.room = k_room; }},
    {"a byte short", [](MemoryDisk& disk) { two_names(disk); disk.room = k_room - 1; }, Kind::unchanged},
};

// What a save leaves, whatever befalls it: every name of Tweak.xml reads the
// old content or the whole new one, unless a copy with a durable name holds
// the whole new content (which only a power cut, or a write over the file
// cut short, leaves); and nothing else is left: no other name, no room
// reserved, but what a failing removal or give-back leaves. Where the save
// lived to tell, it says it saved exactly where every name reads the new
// content, durably, and that nothing changed exactly where every name reads
// the old.
void check(const MemoryDisk& disk, std::vector<fs::path> tweak, const std::string& target, const savefile::Outcome& outcome) {
  const std::optional<std::string> old = tweak.empty() ? std::nullopt : std::optional(k_old);
  if (tweak.empty()) tweak = {target};
  const auto all_read = [&](auto... contents) {
    return std::all_of(tweak.begin(), tweak.end(), [&](const fs::path& name) { return ((disk.read(name) == contents) || ...); });
  };
  std::vector<fs::path> others;
  for (const auto& [name, file] : disk.names()) {
    if (std::find(tweak.begin(), tweak.end(), name) == tweak.end()) others.push_back(name);
  }
  const bool failed_call = disk.fault == Fault::fails || disk.fault == Fault::fails_held;
  const bool told = failed_call || disk.calls_after_end == 0;
  const bool cut_short = told && (outcome.kind == Kind::rescued || outcome.kind == Kind::cut_short);
  if (told) {
    EXPECT_TRUE(outcome.kind != Kind::saved || all_read(k_new));
    EXPECT_TRUE(outcome.kind != Kind::unchanged || all_read(old));
    EXPECT_TRUE(!cut_short || disk.read(outcome.whole_copy) == k_new);
  }
  const bool copy_kept = others.size() == 1 && disk.read(others[0]) == k_new;
  EXPECT_TRUE(all_read(old, k_new) || copy_kept || cut_short);
  const bool cut = disk.fault == Fault::power_cut;
  const std::string failed = failed_call && disk.fault_at < disk.calls.size() ? disk.calls[disk.fault_at] : "";
  EXPECT_TRUE(others.empty() || ((cut || cut_short || failed == "remove") && others.size() == 1)) << others.size();
  EXPECT_TRUE(cut || failed == "set_size" || !disk.room_reserved());
  EXPECT_EQ(disk.strays, 0);
  EXPECT_FALSE(told && disk.held());
}

// Every call of every kind of save, made to fail, or followed by a power cut
// or a signal: the promise holds after each, on a system that makes files
// without a name and on one that does not.
TEST(CutDisk, EveryCallFailingOrCutKeepsThePromise) {
  for (const Layout& layout : k_layouts) {
    for (const bool unnamed : {true, false}) {
      const auto run = [&](Fault fault, std::size_t at) {
        MemoryDisk disk;
        layout.arrange(disk);
        disk.unnamed_files = unnamed;
        disk.fault = fault;
        disk.fault_at = at;
        std::vector<fs::path> names;
        for (const auto& [name, file] : disk.names()) names.push_back(name);
        auto replacement = savefile::FileReplacement::begin(layout.target, disk);
        const bool written = replacement && linescan::write_all(replacement->sink(), k_new);
        const savefile::Outcome outcome = written ? replacement->commit(layout.existing) : savefile::Outcome();
        replacement.reset();
        disk.finish();
        SCOPED_TRACE(std::string(layout.name) + (unnamed ? ", unnamed, " : ", named, ") + std::to_string(int(fault)) +
                     " at " + std::to_string(at) + " " + (at < disk.calls.size() ? disk.calls[at] : ""));
        check(disk, names, layout.target, outcome);
        return std::tuple(outcome.kind, disk.calls.size(), disk.pauses);
      };
      const auto [clean, calls, pauses] = run(Fault::none, 0);
      ASSERT_EQ(std::pair(clean, pauses), std::pair(layout.clean, layout.pauses)) << layout.name;
      for (std::size_t at = 0; at < calls; ++at) {
        for (const Fault fault : {Fault::fails, Fault::fails_held, Fault::power_cut, Fault::signal}) run(fault, at);
      }
    }
  }
}

}  // namespace
