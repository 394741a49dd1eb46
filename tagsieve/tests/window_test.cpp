#include <gtest/gtest.h>

#include "test_support/files.h"
#include "test_support/recording.h"
#include "tform1.h"
#include "window.h"

namespace {

// What the window adds to the core: the boxes' path, in a folder whose name
// no code page but Unicode spells, and tag, typed beyond ASCII too, and the
// check box reach the scan, and the pane shows what it lists, emptied first.
// A file given to the window is the one listed, whatever bytes its name
// holds, and its name shows readably. The window may be resized.
TEST(TagWindow, ScansWithWhatTheBoxesSayIntoThePane) {
  test_support::TempDir dir;
  const auto folder = dir.path() / std::filesystem::path(u8"Mods é œ 水");
  std::filesystem::create_directory(folder);
  test_support::write_file(folder / "weaptwk.xml", "<Damage>5</Damage>\n<Damage>5</Damage>\n<Damage>7</Damage>\n<Port\xE9" "e>\xC9" "cu</Port\xE9" "e>\n");
  test_support::RecordingMessages messages;
  tagsieve::TForm1 form(&messages);
  test_support::Window window(form);
  EXPECT_TRUE(window.resizable());
  const std::u8string path = (folder / "weaptwk.xml").u8string();
  window.type("Edit1", std::string(path.begin(), path.end()));
  const auto scan = [&](const char* tag) {
    window.type("Edit2", tag);
    window.click("Button1");
    return window.text("RichEdit1");
  };
  EXPECT_EQ(scan("Damage"), "5\n7");
  window.click("CheckBox1");
  EXPECT_EQ(scan("Damage"), "5\n5\n7");
  EXPECT_EQ(scan("Port\xC3\xA9" "e"), "\xC3\x89" "cu");
  const auto given = test_support::k_on_windows ? folder / "given.xml" : dir.path() / "caf\xE9\x81.xml";
  std::filesystem::copy_file(folder / "weaptwk.xml", given);
  form.take_file(given);
  EXPECT_EQ(scan("Damage"), "5\n5\n7");
  EXPECT_TRUE(window.text("Edit1").ends_with(test_support::k_on_windows ? "given.xml" : "caf\xC3\xA9\\u0081.xml"));
  EXPECT_EQ(messages.shown, std::vector<std::string>{});
}

}  // namespace
